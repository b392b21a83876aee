#pragma once

#include "catalogue_list.h"
#include "dialogs.h"
#include "progress_bar_feedback.h"

#include "catalogue/catalogue_editor.h"
#include "catalogue/data_module.h"
#include "import/grade_data_set.h"
#include "reports/export_frame.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace about {
class TAboutForm;
}

namespace app {

class DigitsOnlyFilter;
class SentenceRadioButton;

// The main window: four linked catalogue lists (schools, grades of the selected school, classes of
// the selected grade, subjects of the selected class), the entry panel whose meaning follows the
// list that last received the focus, the catalogue editing buttons, the participation group, the
// import and export buttons, a progress bar and the About and Exit buttons. Every control carries
// its name as object name ("ListView1", "Edit21", "AddBtn").
//
// Start-up: the window is created first and touches no database; setDataModule() and
// setAboutForm() follow; showing the window fills the school list. Closing it closes the database
// connection.
class TMainForm : public QWidget, private catalogue::EditorView {
    Q_OBJECT
public:
    explicit TMainForm(Dialogs& dialogs, QWidget* parent = nullptr);
    ~TMainForm() override;
    TMainForm(const TMainForm&) = delete;
    TMainForm& operator=(const TMainForm&) = delete;

    void setDataModule(catalogue::TDM& dm);
    void setAboutForm(about::TAboutForm* form);

    // The list whose table the entry panel and the editing buttons work on.
    catalogue::Level entryMode() const { return m_mode; }

    // Runs one handler to its end: a common::Warning it throws is shown in the warning box, any other
    // error in the general error box. Every handler of the window runs inside it.
    void guard(const std::function<void()>& handler);

    // The sub-items of the selected item of a list (code and name; for classes also the
    // participation count, for subjects name, teacher and full marks), if an item is selected.
    std::optional<std::vector<std::string>> selectedSubItems(catalogue::Level list) const;
    // An edit box's text with leading and trailing blanks and control characters removed.
    static std::string trimmedText(const QLineEdit* edit);
    // The progress bar as the feedback of a long operation.
    common::Progress& progress() { return *m_progress; }

    // The imported grade: null until the first successful import (DataImported false), then the
    // data set of the last successful import, as the reports have left it.
    const scores::GradeDataSet* gradeData() const { return m_gradeData ? &*m_gradeData : nullptr; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void connectHandlers();

    // Handlers, one per control event.
    void FormCreate();
    void FormShow();
    void FormCloseQuery();
    void ListViewEnter(catalogue::Level list);
    void ListViewSelectItem(catalogue::Level list);
    bool EditKeyDown(QLineEdit* edit, int key);
    void AddBtnClick();
    void ModiBtnClick();
    void SaveBtnClick();
    void DeleBtnClick();
    void AboutBtnClick();
    void CloseBtnClick();
    // Score import and the three exports (main_window_reports.cpp).
    void IDataBtnClick();
    void EXSBtnClick();
    void EBJBtnClick();
    void EJSBtnClick();
    void exportReport(reports::ReportKind kind);
    reports::ParticipationInput participationInput() const;
    std::optional<reports::SelectedClass> selectedClass();

    catalogue::CatalogueEditor& editor();
    CatalogueList* list(catalogue::Level level) const;
    QLineEdit* entry(int box) const;

    // How the catalogue editing sees the window.
    std::string entryText(int box) const override;
    void setEntryText(int box, std::string_view text) override;
    std::optional<int> selectedItem(catalogue::Level list) const override;
    int itemCount(catalogue::Level list) const override;
    void clearList(catalogue::Level list) override;
    void appendItem(catalogue::Level list, const catalogue::ListItem& item) override;
    void replaceItem(catalogue::Level list, int position, const catalogue::ListItem& item) override;
    void setItemCaption(catalogue::Level list, int position, std::string_view caption) override;
    void removeItem(catalogue::Level list, int position) override;
    void selectItem(catalogue::Level list, int position) override;
    void clearSelection(catalogue::Level list) override;
    void focusList(catalogue::Level list) override;
    void focusFirstEntry() override;
    void warning(const std::string& text) override;
    void selectionRequest(const std::string& text) override;
    bool askYesNo(const std::string& text) override;

    Dialogs& m_dialogs;
    catalogue::TDM* m_dm = nullptr;
    std::unique_ptr<catalogue::CatalogueEditor> m_editor;
    about::TAboutForm* m_aboutForm = nullptr;
    catalogue::Level m_mode = catalogue::Level::School;

    QFrame* m_panel1 = nullptr;
    QLabel* m_image1 = nullptr;
    QFrame* m_bevel1 = nullptr;
    QGroupBox* m_groupBox01 = nullptr;
    CatalogueList* m_listView1 = nullptr;
    QGroupBox* m_groupBox02 = nullptr;
    CatalogueList* m_listView2 = nullptr;
    QGroupBox* m_groupBox03 = nullptr;
    CatalogueList* m_listView3 = nullptr;
    QGroupBox* m_groupBox04 = nullptr;
    CatalogueList* m_listView4 = nullptr;
    QGroupBox* m_groupBox11 = nullptr;
    QLabel* m_label11 = nullptr;
    QLineEdit* m_edit11 = nullptr;
    QLabel* m_label12 = nullptr;
    QLineEdit* m_edit12 = nullptr;
    QLabel* m_label13 = nullptr;
    QLineEdit* m_edit13 = nullptr;
    QGroupBox* m_groupBox21 = nullptr;
    QPushButton* m_addBtn = nullptr;
    QPushButton* m_modiBtn = nullptr;
    QPushButton* m_saveBtn = nullptr;
    QPushButton* m_deleBtn = nullptr;
    // Participation group: RadioButton1 "参考人数*Edit21%", RadioButton2 "参评人数指定到班",
    // RadioButton3 "参考人数>=Edit31，参评人数=Edit32；参考人数<Edit33，参评人数=参考人数*Edit34%".
    QGroupBox* m_groupBox31 = nullptr;
    SentenceRadioButton* m_radioButton1 = nullptr;
    QLineEdit* m_edit21 = nullptr;
    QRadioButton* m_radioButton2 = nullptr;
    SentenceRadioButton* m_radioButton3 = nullptr;
    QLineEdit* m_edit31 = nullptr;
    QLineEdit* m_edit32 = nullptr;
    QLineEdit* m_edit33 = nullptr;
    QLineEdit* m_edit34 = nullptr;
    // Import and exports ("导入年级数据", "导出学生成绩表", "导出班级评估表", "导出教师评估表").
    QGroupBox* m_groupBox41 = nullptr;
    QPushButton* m_iDataBtn = nullptr;
    QPushButton* m_exsBtn = nullptr;
    QPushButton* m_ebjBtn = nullptr;
    QPushButton* m_ejsBtn = nullptr;
    QProgressBar* m_progressBar1 = nullptr;
    QPushButton* m_aboutBtn = nullptr;
    QPushButton* m_closeBtn = nullptr;

    std::unique_ptr<ProgressBarFeedback> m_progress;
    DigitsOnlyFilter* m_digitsFilter = nullptr;

    // The grade data set; replaced as a whole by a successful import only.
    std::optional<scores::GradeDataSet> m_gradeData;
};

} // namespace app
