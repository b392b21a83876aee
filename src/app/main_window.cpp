#include "main_window.h"

#include "digits_filter.h"
#include "pictures.h"
#include "qt_text.h"
#include "sentence_radio_button.h"

#include "about/about_form.h"
#include "about/appearance.h"
#include "common/errors.h"
#include "common/messages.h"
#include "common/text.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>

namespace app {

using catalogue::Level;

namespace {

// What the entry panel shows in each entry mode.
struct ModeLook {
    const char* caption; // GroupBox11
    const char* label11;
    const char* label12;
    const char* label13;
    bool numberBox; // Label13 and Edit13 shown
};

const ModeLook& modeLook(Level mode) {
    static const ModeLook looks[] = {
        {messages::kSchoolEntry, messages::kCodeLabel, messages::kSchoolNameLabel, messages::kParticipationLabel,
         false},
        {messages::kGradeEntry, messages::kCodeLabel, messages::kGradeNameLabel, messages::kParticipationLabel, false},
        {messages::kClassEntry, messages::kCodeLabel, messages::kClassNameLabel, messages::kParticipationLabel, true},
        {messages::kSubjectEntry, messages::kSubjectNameLabel, messages::kTeacherLabel, messages::kFullMarksLabel,
         true},
    };
    return looks[static_cast<int>(mode)];
}

template <typename Widget> Widget* place(Widget* widget, const char* name, int left, int top, int width, int height) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(left, top, width, height);
    return widget;
}

QGroupBox* groupBox(QWidget* parent, const char* name, const char* caption, int left, int top, int width, int height) {
    return place(new QGroupBox(caption != nullptr ? toQString(caption) : QString(), parent), name, left, top, width,
                 height);
}

QLabel* label(QWidget* parent, const char* name, const char* caption, int left, int top, int width, int height) {
    return place(new QLabel(toQString(caption), parent), name, left, top, width, height);
}

QLineEdit* edit(QWidget* parent, const char* name, const char* text, int left, int top, int width, int height) {
    return place(new QLineEdit(toQString(text), parent), name, left, top, width, height);
}

QPushButton* button(QWidget* parent, const char* name, const char* caption, const QIcon& picture, int left, int top,
                    int width, int height) {
    auto* widget = place(new QPushButton(picture, toQString(caption), parent), name, left, top, width, height);
    // Enter on a focused button presses it, as Space does.
    widget->setAutoDefault(true);
    return widget;
}

} // namespace

TMainForm::TMainForm(Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_dialogs(dialogs) {
    setObjectName(QStringLiteral("MainForm"));
    setFont(about::windowFont());
    setFixedSize(783, 504);
    setWindowIcon(QIcon(about::programIcon(32)));
    // Group boxes carry their caption in the frame's top line, half a text line down, which is where
    // the positions of their controls expect the frame.
    setStyleSheet(QStringLiteral("QGroupBox { border: 1px solid #a0a0a0; border-radius: 2px; margin-top: 6px; }"
                                 "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;"
                                 " left: 7px; padding: 0px 1px; }"));
    buildControls();
    m_progress = std::make_unique<ProgressBarFeedback>(*m_progressBar1);
    m_digitsFilter = new DigitsOnlyFilter([this] { m_dialogs.beep(); }, this);
    for (QLineEdit* numeric : {m_edit13, m_edit21, m_edit31, m_edit32, m_edit33, m_edit34}) {
        m_digitsFilter->watch(numeric);
    }
    for (QLineEdit* box : {m_edit11, m_edit12, m_edit13}) {
        box->installEventFilter(this);
    }
    connectHandlers();
    FormCreate();
}

TMainForm::~TMainForm() = default;

// The controls are made in tab order: the focus moves through them in the order they are created.
void TMainForm::buildControls() {
    m_panel1 = place(new QFrame(this), "Panel1", 0, 0, 783, 469);
    m_panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_image1 = place(new QLabel(m_panel1), "Image1", 7, 9, 101, 452);
    m_image1->setScaledContents(true);
    m_image1->setPixmap(sidePicture(QSize(101, 452)));
    m_bevel1 = place(new QFrame(m_panel1), "Bevel1", 7, 8, 101, 453);
    m_bevel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    m_groupBox01 = groupBox(m_panel1, "GroupBox01", messages::kSchoolList, 114, 3, 147, 215);
    m_listView1 =
        place(new CatalogueList(
                  {{messages::kNumberColumn, 36}, {messages::kCodeColumn, 36}, {messages::kSchoolNameColumn, 60}},
                  listPicture(Level::School), m_groupBox01),
              "ListView1", 6, 14, 136, 193);
    m_groupBox02 = groupBox(m_panel1, "GroupBox02", messages::kGradeList, 259, 3, 147, 215);
    m_listView2 =
        place(new CatalogueList(
                  {{messages::kNumberColumn, 36}, {messages::kCodeColumn, 36}, {messages::kGradeNameColumn, 60}},
                  listPicture(Level::Grade), m_groupBox02),
              "ListView2", 6, 14, 136, 193);
    m_groupBox03 = groupBox(m_panel1, "GroupBox03", messages::kClassList, 404, 3, 189, 215);
    m_listView3 = place(new CatalogueList({{messages::kNumberColumn, 36},
                                           {messages::kCodeColumn, 36},
                                           {messages::kClassNameColumn, 60},
                                           {messages::kParticipationColumn, 60}},
                                          listPicture(Level::Class), m_groupBox03),
                        "ListView3", 6, 14, 178, 193);
    m_groupBox04 = groupBox(m_panel1, "GroupBox04", messages::kSubjectList, 591, 3, 186, 215);
    m_listView4 = place(new CatalogueList({{messages::kNumberColumn, 36},
                                           {messages::kSubjectNameColumn, 60},
                                           {messages::kTeacherColumn, 60},
                                           {messages::kFullMarksColumn, 40}},
                                          listPicture(Level::Subject), m_groupBox04),
                        "ListView4", 6, 14, 175, 193);

    m_groupBox11 = groupBox(m_panel1, "GroupBox11", messages::kSchoolEntry, 114, 219, 663, 40);
    m_label11 = label(m_groupBox11, "Label11", messages::kCodeLabel, 20, 16, 60, 12);
    m_edit11 = edit(m_groupBox11, "Edit11", "", 78, 12, 123, 20);
    m_label12 = label(m_groupBox11, "Label12", messages::kSchoolNameLabel, 212, 16, 60, 12);
    m_edit12 = edit(m_groupBox11, "Edit12", "", 270, 12, 91, 20);
    m_label13 = label(m_groupBox11, "Label13", messages::kParticipationLabel, 372, 16, 60, 12);
    m_edit13 = edit(m_groupBox11, "Edit13", "", 430, 12, 91, 20);
    m_label13->hide();
    m_edit13->hide();

    m_groupBox21 = groupBox(m_panel1, "GroupBox21", nullptr, 114, 259, 663, 46);
    m_addBtn = button(m_groupBox21, "AddBtn", messages::kAddButton, addPicture(), 133, 13, 84, 25);
    m_modiBtn = button(m_groupBox21, "ModiBtn", messages::kModifyButton, modifyPicture(), 237, 13, 84, 25);
    m_saveBtn = button(m_groupBox21, "SaveBtn", messages::kSaveButton, savePicture(), 341, 13, 84, 25);
    m_deleBtn = button(m_groupBox21, "DeleBtn", messages::kDeleteButton, deletePicture(), 446, 13, 84, 25);

    m_groupBox31 = groupBox(m_panel1, "GroupBox31", messages::kParticipationGroup, 114, 307, 663, 87);
    m_radioButton1 = place(new SentenceRadioButton(toQString(messages::kShareOfExamineesRadio), m_groupBox31),
                           "RadioButton1", 19, 21, 126, 17);
    m_radioButton1->setChecked(true);
    m_edit21 = edit(m_groupBox31, "Edit21", "100", 98, 19, 33, 20);
    m_radioButton2 = place(new QRadioButton(toQString(messages::kCountPerClassRadio), m_groupBox31), "RadioButton2",
                           171, 21, 126, 17);
    m_radioButton3 = place(new SentenceRadioButton(toQString(messages::kThresholdRadio), m_groupBox31), "RadioButton3",
                           19, 53, 494, 17);
    m_edit31 = edit(m_groupBox31, "Edit31", "60", 98, 51, 33, 20);
    m_edit32 = edit(m_groupBox31, "Edit32", "60", 200, 51, 33, 20);
    m_edit33 = edit(m_groupBox31, "Edit33", "60", 303, 51, 33, 20);
    m_edit34 = edit(m_groupBox31, "Edit34", "90", 459, 51, 33, 20);
    m_radioButton1->setBlanks({m_edit21});
    m_radioButton3->setBlanks({m_edit31, m_edit32, m_edit33, m_edit34});

    m_groupBox41 = groupBox(m_panel1, "GroupBox41", nullptr, 114, 395, 663, 46);
    m_iDataBtn = button(m_groupBox41, "IDataBtn", messages::kImportButton, QIcon(), 113, 13, 94, 25);
    m_exsBtn = button(m_groupBox41, "EXSBtn", messages::kStudentReportButton, QIcon(), 227, 13, 94, 25);
    m_ebjBtn = button(m_groupBox41, "EBJBtn", messages::kClassReportButton, QIcon(), 341, 13, 94, 25);
    m_ejsBtn = button(m_groupBox41, "EJSBtn", messages::kTeacherReportButton, QIcon(), 456, 13, 94, 25);
    m_progressBar1 = place(new QProgressBar(m_panel1), "ProgressBar1", 114, 445, 663, 16);
    m_progressBar1->setRange(0, 100);
    m_progressBar1->setTextVisible(false);

    m_aboutBtn = button(this, "AboutBtn", messages::kAboutButton, aboutPicture(), 306, 475, 75, 25);
    m_closeBtn = button(this, "CloseBtn", messages::kCloseButton, style()->standardIcon(QStyle::SP_DialogCloseButton),
                        402, 475, 75, 25);
}

void TMainForm::connectHandlers() {
    for (Level level : {Level::School, Level::Grade, Level::Class, Level::Subject}) {
        CatalogueList* view = list(level);
        connect(view, &CatalogueList::entered, this, [this, level] { guard([&] { ListViewEnter(level); }); });
        connect(view, &CatalogueList::doubleClickedAnywhere, this, &TMainForm::ModiBtnClick);
        // Enter in a list starts the entry chain in the list's mode: without it the keyboard could
        // reach the entry panel only through the other lists, which would change the mode.
        connect(view, &CatalogueList::enterPressed, this, [this] { m_edit11->setFocus(Qt::OtherFocusReason); });
        if (level != Level::Subject) {
            connect(view, &QTableWidget::itemSelectionChanged, this,
                    [this, level] { guard([&] { ListViewSelectItem(level); }); });
        }
    }
    connect(m_addBtn, &QPushButton::clicked, this, &TMainForm::AddBtnClick);
    connect(m_modiBtn, &QPushButton::clicked, this, &TMainForm::ModiBtnClick);
    connect(m_saveBtn, &QPushButton::clicked, this, &TMainForm::SaveBtnClick);
    connect(m_deleBtn, &QPushButton::clicked, this, &TMainForm::DeleBtnClick);
    connect(m_aboutBtn, &QPushButton::clicked, this, &TMainForm::AboutBtnClick);
    connect(m_closeBtn, &QPushButton::clicked, this, &TMainForm::CloseBtnClick);
    connect(m_iDataBtn, &QPushButton::clicked, this, &TMainForm::IDataBtnClick);
    connect(m_exsBtn, &QPushButton::clicked, this, &TMainForm::EXSBtnClick);
    connect(m_ebjBtn, &QPushButton::clicked, this, &TMainForm::EBJBtnClick);
    connect(m_ejsBtn, &QPushButton::clicked, this, &TMainForm::EJSBtnClick);
}

void TMainForm::setDataModule(catalogue::TDM& dm) {
    m_dm = &dm;
    catalogue::EditorView& view = *this;
    m_editor = std::make_unique<catalogue::CatalogueEditor>(dm, view);
}

void TMainForm::setAboutForm(about::TAboutForm* form) {
    m_aboutForm = form;
}

void TMainForm::guard(const std::function<void()>& handler) {
    // An exception must not leave a Qt event handler, so this is the one place that stops them.
    try {
        handler();
    } catch (const common::Warning& refusal) {
        m_dialogs.warning(refusal.what());
    } catch (const std::exception& error) {
        m_dialogs.generalError(error.what());
    } catch (...) {
        m_dialogs.generalError(messages::kUnexpectedError);
    }
}

catalogue::CatalogueEditor& TMainForm::editor() {
    if (!m_editor) {
        throw std::logic_error("TMainForm: the data module is not set");
    }
    return *m_editor;
}

CatalogueList* TMainForm::list(Level level) const {
    switch (level) {
    case Level::School:
        return m_listView1;
    case Level::Grade:
        return m_listView2;
    case Level::Class:
        return m_listView3;
    case Level::Subject:
        break;
    }
    return m_listView4;
}

QLineEdit* TMainForm::entry(int box) const {
    switch (box) {
    case 0:
        return m_edit11;
    case 1:
        return m_edit12;
    default:
        return m_edit13;
    }
}

std::optional<std::vector<std::string>> TMainForm::selectedSubItems(Level level) const {
    const CatalogueList* view = list(level);
    const std::optional<int> row = view->selectedRow();
    if (!row) {
        return std::nullopt;
    }
    std::vector<std::string> subItems;
    for (int column = 1; column < view->columnCount(); ++column) {
        subItems.push_back(toStdString(view->subItem(*row, column - 1)));
    }
    return subItems;
}

std::string TMainForm::trimmedText(const QLineEdit* edit) {
    return common::trimmed(toStdString(edit->text()));
}

void TMainForm::FormCreate() {
    setWindowTitle(toQString(messages::mainWindowCaption()));
    m_progressBar1->setValue(0);
}

void TMainForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // A window coming back from the task bar is shown by the system; that is no new showing.
    if (!event->spontaneous()) {
        guard([this] { FormShow(); });
    }
}

void TMainForm::FormShow() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        const QSize size = frameGeometry().size();
        move(area.left() + (area.width() - size.width()) / 2, area.top() + (area.height() - size.height()) / 2);
    }
    m_edit11->clear();
    m_edit12->clear();
    m_edit13->clear();
    editor().fillList(Level::School);
    focusList(Level::School);
}

void TMainForm::closeEvent(QCloseEvent* event) {
    guard([this] { FormCloseQuery(); });
    event->accept();
}

void TMainForm::FormCloseQuery() {
    if (m_dm != nullptr) {
        m_dm->closeConnection();
    }
}

void TMainForm::ListViewEnter(Level level) {
    m_mode = level;
    const ModeLook& look = modeLook(level);
    m_groupBox11->setTitle(toQString(look.caption));
    m_label11->setText(toQString(look.label11));
    m_label12->setText(toQString(look.label12));
    m_label13->setText(toQString(look.label13));
    m_label13->setVisible(look.numberBox);
    m_edit11->clear();
    m_edit12->clear();
    m_edit13->clear();
    m_edit13->setVisible(look.numberBox);
}

void TMainForm::ListViewSelectItem(Level level) {
    editor().selectionChanged(level);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* box = qobject_cast<QLineEdit*>(watched);
        if (box != nullptr && (box == m_edit11 || box == m_edit12 || box == m_edit13) &&
            EditKeyDown(box, static_cast<QKeyEvent*>(event)->key())) {
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool TMainForm::EditKeyDown(QLineEdit* box, int key) {
    if (key != Qt::Key_Return && key != Qt::Key_Enter) {
        return false;
    }
    if (box == m_edit11) {
        m_edit12->setFocus(Qt::OtherFocusReason);
    } else if (box == m_edit12 && m_edit13->isVisibleTo(this)) {
        m_edit13->setFocus(Qt::OtherFocusReason);
    } else {
        m_addBtn->setFocus(Qt::OtherFocusReason);
    }
    return true;
}

void TMainForm::AboutBtnClick() {
    guard([this] {
        if (m_aboutForm != nullptr) {
            m_aboutForm->exec();
        }
    });
}

void TMainForm::CloseBtnClick() {
    close();
}

} // namespace app
