// The score import and the three report exports of the main window: the window side of the import
// and of the export frame, which hold the rules.
#include "main_window.h"

#include "qt_text.h"
#include "sentence_radio_button.h"

#include "common/errors.h"
#include "common/messages.h"
#include "import/score_import.h"

#include <QLineEdit>
#include <QRadioButton>

namespace app {

using catalogue::Level;

namespace {

// The export frame's view of the window.
class WindowExportHost final : public reports::ExportHost {
public:
    WindowExportHost(reports::ParticipationInput input, std::function<std::optional<reports::SelectedClass>()> selected,
                     Dialogs& dialogs, common::Progress& progress)
        : m_input(std::move(input)), m_selected(std::move(selected)), m_dialogs(dialogs), m_progress(progress) {}

    reports::ParticipationInput participationInput() const override { return m_input; }
    std::optional<reports::SelectedClass> selectedClass() override { return m_selected(); }
    std::optional<std::string> chooseFileName(const std::string& suggested) override {
        return m_dialogs.saveFileName(messages::kSaveReportFilter, suggested);
    }
    common::Progress& progress() override { return m_progress; }
    void reportSaved(const std::string& message) override { m_dialogs.information(message); }

private:
    reports::ParticipationInput m_input;
    std::function<std::optional<reports::SelectedClass>()> m_selected;
    Dialogs& m_dialogs;
    common::Progress& m_progress;
};

} // namespace

void TMainForm::IDataBtnClick() {
    guard([this] {
        const std::optional<std::string> path = m_dialogs.openFileName(messages::kOpenScoresFilter);
        if (!path || m_dm == nullptr) {
            return;
        }
        // The data set in use is replaced only once the new one is complete.
        scores::GradeDataSet imported = scores::importScores(*path, *m_dm, progress());
        m_gradeData = std::move(imported);
        m_dialogs.information(messages::kImportSucceeded);
    });
}

void TMainForm::EXSBtnClick() {
    exportReport(reports::ReportKind::Student);
}

void TMainForm::EBJBtnClick() {
    exportReport(reports::ReportKind::Class);
}

void TMainForm::EJSBtnClick() {
    exportReport(reports::ReportKind::Teacher);
}

void TMainForm::exportReport(reports::ReportKind kind) {
    guard([this, kind] {
        WindowExportHost host(participationInput(), [this] { return selectedClass(); }, m_dialogs, progress());
        reports::exportReport(kind, m_gradeData ? &*m_gradeData : nullptr, host);
    });
}

reports::ParticipationInput TMainForm::participationInput() const {
    reports::ParticipationInput input;
    input.mode = m_radioButton2->isChecked()   ? reports::ParticipationMode::CatalogueCount
                 : m_radioButton3->isChecked() ? reports::ParticipationMode::Rule
                                               : reports::ParticipationMode::Percentage;
    input.percentage = toStdString(m_edit21->text());
    input.threshold = toStdString(m_edit31->text());
    input.fixedCount = toStdString(m_edit32->text());
    input.smallBelow = toStdString(m_edit33->text());
    input.smallPercentage = toStdString(m_edit34->text());
    return input;
}

// The class selected in the class list, with the codes and names of the items selected in the
// lists. Where the school or grade list has lost its selection (a click on its empty area leaves the
// lists to the right as they were), they come from the class's own catalogue rows instead.
std::optional<reports::SelectedClass> TMainForm::selectedClass() {
    const std::optional<int> classRow = list(Level::Class)->selectedRow();
    const auto classItems = selectedSubItems(Level::Class);
    if (!classRow || !classItems || m_dm == nullptr) {
        return std::nullopt;
    }
    reports::SelectedClass selected;
    selected.classCode = (*classItems)[0];
    selected.className = (*classItems)[1];
    const auto schoolItems = selectedSubItems(Level::School);
    const auto gradeItems = selectedSubItems(Level::Grade);
    if (schoolItems && gradeItems) {
        selected.schoolCode = (*schoolItems)[0];
        selected.schoolName = (*schoolItems)[1];
        selected.gradeCode = (*gradeItems)[0];
        selected.gradeName = (*gradeItems)[1];
        return selected;
    }
    catalogue::Table& classes = m_dm->BJTable();
    classes.first();
    classes.moveBy(*classRow);
    const std::int64_t schoolId = classes.fieldByName("XXID").asInteger();
    const std::int64_t gradeId = classes.fieldByName("NJID").asInteger();
    catalogue::Table& schools = m_dm->XXTable();
    catalogue::Table& grades = m_dm->NJTable();
    if (!schools.locate("XXID", {schoolId}) || !grades.locate("NJID", {gradeId})) {
        throw common::Warning(messages::kSelectClassFirst);
    }
    selected.schoolCode = schools.fieldByName("XXBH").asString();
    selected.schoolName = schools.fieldByName("XXMC").asString();
    selected.gradeCode = grades.fieldByName("NJBH").asString();
    selected.gradeName = grades.fieldByName("NJMC").asString();
    return selected;
}

} // namespace app
