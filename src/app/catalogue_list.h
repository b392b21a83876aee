#pragma once

#include "catalogue/catalogue_editor.h"

#include <QIcon>
#include <QTableWidget>

#include <optional>
#include <vector>

namespace app {

// One of the four catalogue lists: a report of rows with grid lines, whole-row selection of one
// item at most, no editing in place, the selection shown also without the focus, and the item's
// picture in the first column. Column 0 holds the running number; the sub-items follow.
class CatalogueList : public QTableWidget {
    Q_OBJECT
public:
    struct Column {
        const char* caption;
        int width;
    };
    CatalogueList(const std::vector<Column>& columns, QIcon picture, QWidget* parent);

    std::optional<int> selectedRow() const;
    void appendItem(const catalogue::ListItem& item);
    void replaceItem(int row, const catalogue::ListItem& item);
    void setCaption(int row, const QString& caption);
    // Sub-item `index` (0: the first after the running number) of a row.
    QString subItem(int row, int index) const;

signals:
    // The focus came to the list from another control of the window (not back from another window).
    void entered();
    // A double click anywhere on the list, after the click has given it the focus.
    void doubleClickedAnywhere();
    // Enter was pressed in the list.
    void enterPressed();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void setRow(int row, const catalogue::ListItem& item);
    QIcon m_picture;
};

} // namespace app
