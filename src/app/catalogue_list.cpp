#include "catalogue_list.h"

#include "qt_text.h"

#include "common/messages.h"

#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

namespace app {

CatalogueList::CatalogueList(const std::vector<Column>& columns, QIcon picture, QWidget* parent)
    : QTableWidget(0, static_cast<int>(columns.size()), parent), m_picture(std::move(picture)) {
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setWordWrap(false);
    setTabKeyNavigation(false); // Tab leaves the list, as in every other control
    setIconSize(QSize(16, 16));
    setCornerButtonEnabled(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(std::max(18, fontMetrics().height() + 4));
    QHeaderView* header = horizontalHeader();
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setStretchLastSection(false);
    header->setMinimumSectionSize(8);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        auto* title = new QTableWidgetItem(toQString(columns[i].caption));
        setHorizontalHeaderItem(static_cast<int>(i), title);
        setColumnWidth(static_cast<int>(i), columns[i].width);
    }
    // The selection stays as visible when the focus is elsewhere.
    QPalette colours = palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
        colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
    }
    colours.setColor(QPalette::Text, Qt::black);
    setPalette(colours);
    const QString hint = toQString(messages::kListHint);
    setToolTip(hint);
    viewport()->setToolTip(hint);
}

std::optional<int> CatalogueList::selectedRow() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.isEmpty()) {
        return std::nullopt;
    }
    return rows.front().row();
}

void CatalogueList::setRow(int row, const catalogue::ListItem& item) {
    auto* caption = new QTableWidgetItem(m_picture, toQString(item.caption));
    caption->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    setItem(row, 0, caption);
    for (std::size_t i = 0; i < item.subItems.size() && static_cast<int>(i) + 1 < columnCount(); ++i) {
        auto* cell = new QTableWidgetItem(toQString(item.subItems[i]));
        cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        setItem(row, static_cast<int>(i) + 1, cell);
    }
}

void CatalogueList::appendItem(const catalogue::ListItem& item) {
    const int row = rowCount();
    insertRow(row);
    setRow(row, item);
}

void CatalogueList::replaceItem(int row, const catalogue::ListItem& item) {
    setRow(row, item);
}

void CatalogueList::setCaption(int row, const QString& caption) {
    if (QTableWidgetItem* cell = item(row, 0)) {
        cell->setText(caption);
    }
}

QString CatalogueList::subItem(int row, int index) const {
    const QTableWidgetItem* cell = item(row, index + 1);
    return cell != nullptr ? cell->text() : QString();
}

void CatalogueList::focusInEvent(QFocusEvent* event) {
    QTableWidget::focusInEvent(event);
    // Coming back from a message box or another window is no change of control.
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason) {
        emit entered();
    }
}

void CatalogueList::mousePressEvent(QMouseEvent* event) {
    // A click below the items (or beside them) removes the selection, as a report list does.
    if (!indexAt(event->position().toPoint()).isValid()) {
        clearSelection();
    }
    QTableWidget::mousePressEvent(event);
}

void CatalogueList::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableWidget::mouseDoubleClickEvent(event);
    emit doubleClickedAnywhere();
}

void CatalogueList::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit enterPressed();
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

} // namespace app
