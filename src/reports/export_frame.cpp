#include "export_frame.h"

#include "class_report.h"
#include "report_layout.h"
#include "teacher_report.h"

#include "common/errors.h"
#include "common/messages.h"
#include "spreadsheet/sheet.h"

namespace reports {

namespace {

struct FrameValues {
    const char* reportName;
    const char* savedMessage;
};

FrameValues frameValues(ReportKind kind) {
    switch (kind) {
    case ReportKind::Student:
        return {messages::kStudentReportName, messages::kStudentReportSaved};
    case ReportKind::Class:
        return {messages::kClassReportName, messages::kClassReportSaved};
    case ReportKind::Teacher:
        break;
    }
    return {messages::kTeacherReportName, messages::kTeacherReportSaved};
}

} // namespace

void exportReport(ReportKind kind, scores::GradeDataSet* data, ExportHost& host) {
    if (data == nullptr) {
        throw common::Warning(messages::kImportFirst);
    }
    const ParticipationRule rule = CheckParticipationParameters(host.participationInput());
    std::optional<SelectedClass> selected;
    if (kind == ReportKind::Student) {
        selected = host.selectedClass();
        if (!selected) {
            throw common::Warning(messages::kSelectClassFirst);
        }
    }
    const FrameValues values = frameValues(kind);
    const std::string title =
        kind == ReportKind::Student
            ? selected->schoolName + selected->gradeName + selected->className + values.reportName
            : data->GradeName + values.reportName;
    const std::optional<std::string> path = host.chooseFileName(title);
    if (!path) {
        return;
    }

    common::Progress& progress = host.progress();
    progress.reset(kind == ReportKind::Student ? 6 : data->ClassCount + 4);
    spreadsheet::Sheet sheet;
    sheet.setName(kind == ReportKind::Student ? std::string(values.reportName) : title);
    progress.advance();

    int lastRow = data->ClassCount + 3;
    int lastColumn = 14;
    switch (kind) {
    case ReportKind::Student:
        lastRow = writeStudentReport(*data, *selected, title, sheet, progress);
        lastColumn = data->SubjectCount + 5;
        break;
    case ReportKind::Class:
        writeClassReport(*data, rule, title, sheet, progress);
        break;
    case ReportKind::Teacher:
        writeTeacherReport(*data, rule, title, sheet, progress);
        lastColumn = data->SubjectCount * 6 + 3;
        break;
    }
    drawGrid(sheet, lastRow, lastColumn);
    progress.advance();
    sheet.select(spreadsheet::Range::cell(1, 1));
    spreadsheet::saveWorkbook(sheet, *path);
    host.reportSaved(values.savedMessage);
}

} // namespace reports
