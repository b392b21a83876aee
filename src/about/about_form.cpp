#include "about_form.h"

#include "appearance.h"

#include "common/messages.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

namespace about {

namespace {

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}
QString text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

QLabel* label(QWidget* parent, const char* name, int left, int top, int width, int height) {
    auto* widget = new QLabel(parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(left, top, width, height);
    return widget;
}

// Labels size themselves to their text from their top-left corner, so the team's texts are never
// clipped; the given size is the least they take.
void setAutoSizedText(QLabel* widget, const QString& value) {
    widget->setText(value);
    const QSize hint = widget->sizeHint();
    widget->resize(std::max(widget->width(), hint.width()), std::max(widget->height(), hint.height()));
}

QIcon okPicture() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x2e, 0x9a, 0x3a), 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(QPolygonF({QPointF(3, 8.5), QPointF(6.5, 12), QPointF(13, 4)}));
    return QIcon(pixmap);
}

void centreOnScreen(QWidget* window) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->geometry();
    const QSize size = window->frameGeometry().size();
    window->move(area.left() + (area.width() - size.width()) / 2, area.top() + (area.height() - size.height()) / 2);
}

} // namespace

QUrl readmeUrl() {
    const QFileInfo besideProgram(QCoreApplication::applicationDirPath() + QStringLiteral("/README.md"));
#if defined(SCORE_README_PATH)
    const QFileInfo source(QString::fromUtf8(SCORE_README_PATH));
    // The source tree's copy is the one kept up to date; the program's folder holds one only where
    // the program was copied elsewhere.
    if (source.isFile() || !besideProgram.isFile()) {
        return QUrl::fromLocalFile(source.absoluteFilePath());
    }
#endif
    return QUrl::fromLocalFile(besideProgram.absoluteFilePath());
}

TAboutForm::TAboutForm(QWidget* parent, MemorySource memory, UrlOpener openUrl)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      m_memory(std::move(memory)), m_openUrl(std::move(openUrl)) {
    if (!m_openUrl) {
        m_openUrl = [](const QUrl& url) { QDesktopServices::openUrl(url); };
    }
    setObjectName(QStringLiteral("AboutForm"));
    setFont(windowFont());
    setFixedSize(330, 225);
    QPalette black = palette();
    black.setColor(QPalette::WindowText, Qt::black);
    setPalette(black);

    m_programIcon = label(this, "ProgramIcon", 24, 20, 52, 44);
    m_programIcon->setCursor(Qt::PointingHandCursor);
    m_productName = label(this, "ProductName", 88, 7, 225, 16);
    QFont title = font();
    title.setPixelSize(14);
    m_productName->setFont(title);
    m_version = label(this, "Version", 88, 28, 65, 15);
    m_labelZZ = label(this, "LabelZZ", 88, 51, 97, 13);
    m_labelDH = label(this, "LabelDH", 88, 69, 137, 13);
    m_labelDW = label(this, "LabelDW", 88, 88, 161, 13);
    m_labelEMail = label(this, "LabelE_mail", 88, 107, 49, 13);
    m_labelEmail = label(this, "LabelEmail", 135, 105, 113, 17);
    m_labelHttpCaption = label(this, "Label_http", 88, 126, 49, 13);
    m_labelHttp = label(this, "Labelhttp", 135, 126, 138, 13);
    QPalette blue = m_labelHttp->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    m_labelHttp->setPalette(blue);
    m_labelHttp->setCursor(Qt::PointingHandCursor);
    m_labelHttp->installEventFilter(this);
    auto* bevel = new QFrame(this);
    bevel->setObjectName(QStringLiteral("Bevel1"));
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);
    bevel->setGeometry(11, 151, 309, 2);
    m_label1 = label(this, "Label1", 25, 160, 160, 13);
    m_physMem = label(this, "PhysMem", 186, 160, 0, 13);
    m_label2 = label(this, "Label2", 25, 180, 60, 12);
    m_freeRes = label(this, "FreeRes", 100, 180, 0, 12);
    m_bitBtn1 = new QPushButton(okPicture(), text(messages::kOkButton), this);
    m_bitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    m_bitBtn1->setGeometry(235, 191, 73, 25);
    m_bitBtn1->setDefault(true);
    connect(m_bitBtn1, &QPushButton::clicked, this, &QDialog::accept);

    FormCreate();
}

void TAboutForm::FormCreate() {
    setWindowTitle(text(messages::kAboutCaption));
    const QString application = QCoreApplication::applicationName();
    setAutoSizedText(m_productName, application.isEmpty() ? text(messages::kAppTitle) : application);
    setAutoSizedText(m_version, text(messages::kVersionLine));
    setAutoSizedText(m_labelZZ, text(messages::kAuthorPrefix) + text(messages::kAboutAuthor));
    setAutoSizedText(m_labelDH, text(messages::kTelephonePrefix) + text(messages::kNoContact));
    setAutoSizedText(m_labelDW, text(messages::kUnitPrefix) + text(messages::kAboutUnit));
    setAutoSizedText(m_labelEMail, text(messages::kEmailPrefix));
    setAutoSizedText(m_labelEmail, text(messages::kNoContact));
    setAutoSizedText(m_labelHttpCaption, text(messages::kWebPrefix));
    m_webAddress = readmeUrl();
    // The address can be long; it is shortened in the middle to the dialog's width, whole in the hint.
    const QString address = m_webAddress.toString();
    const int room = width() - m_labelHttp->x() - 8;
    m_labelHttp->setText(m_labelHttp->fontMetrics().elidedText(address, Qt::ElideMiddle, room));
    m_labelHttp->resize(room, std::max(m_labelHttp->height(), m_labelHttp->sizeHint().height()));
    m_labelHttp->setToolTip(address);
    setAutoSizedText(m_label1, text(messages::physicalMemoryLabel()));
    setAutoSizedText(m_label2, text(messages::kMemoryLoadLabel));
}

void TAboutForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        FormShow();
    }
}

void TAboutForm::FormShow() {
    centreOnScreen(this);
    const QPixmap icon = programIcon(32);
    m_programIcon->setPixmap(icon);
    m_programIcon->resize(icon.size());
    const std::optional<MemoryStatus> status = m_memory ? m_memory() : std::nullopt;
    m_physMem->setText(status ? text(formatPhysicalMemory(status->totalBytes)) : text(messages::kNoContact));
    m_freeRes->setText(status ? text(formatMemoryLoad(status->loadPercent)) : text(messages::kNoContact));
    m_physMem->adjustSize();
    m_freeRes->adjustSize();
}

bool TAboutForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_labelHttp && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
        m_labelHttp->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
        LabelhttpClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TAboutForm::LabelhttpClick() {
    m_openUrl(m_webAddress);
}

} // namespace about
