#pragma once

#include "memory_status.h"

#include <QDialog>
#include <QUrl>

#include <functional>
#include <optional>

class QLabel;
class QPushButton;

namespace about {

// The local copy of the program's documentation: README.md of the source tree the program was
// built from, or README.md beside the executable where only that one exists.
QUrl readmeUrl();

// The About dialog "关于系统": title, version, the team's contact lines, a link to the bundled
// documentation and the computer's memory, read afresh at each showing. It is created once at start
// and shown modally by the main window's "关于(&A)".
class TAboutForm : public QDialog {
    Q_OBJECT
public:
    using MemorySource = std::function<std::optional<MemoryStatus>()>;
    using UrlOpener = std::function<void(const QUrl&)>;

    // `memory` is asked at each showing; `openUrl` opens the web address when it is clicked (the
    // desktop's default handler by default).
    explicit TAboutForm(QWidget* parent = nullptr, MemorySource memory = readSystemMemory, UrlOpener openUrl = {});

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void LabelhttpClick();

    MemorySource m_memory;
    UrlOpener m_openUrl;
    QUrl m_webAddress;
    QLabel* m_programIcon;
    QLabel* m_productName;
    QLabel* m_version;
    QLabel* m_labelZZ;
    QLabel* m_labelDH;
    QLabel* m_labelDW;
    QLabel* m_labelEMail;
    QLabel* m_labelEmail;
    QLabel* m_labelHttpCaption;
    QLabel* m_labelHttp;
    QLabel* m_label1;
    QLabel* m_physMem;
    QLabel* m_label2;
    QLabel* m_freeRes;
    QPushButton* m_bitBtn1;
};

} // namespace about
