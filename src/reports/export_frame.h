#pragma once

#include "participation.h"
#include "student_report.h"

#include "common/progress.h"
#include "import/grade_data_set.h"

#include <optional>
#include <string>

namespace reports {

enum class ReportKind { Student, Class, Teacher };

// What an export needs of whoever starts it: the window or the batch command.
class ExportHost {
public:
    virtual ~ExportHost() = default;
    // The participation mode in force and the texts of its boxes.
    virtual ParticipationInput participationInput() const = 0;
    // The class the student score report is for; std::nullopt when no class is selected. Asked only
    // for that report, after the participation check.
    virtual std::optional<SelectedClass> selectedClass() = 0;
    // Asks for the report's file name, offering `suggested`; std::nullopt when the user cancels.
    virtual std::optional<std::string> chooseFileName(const std::string& suggested) = 0;
    virtual common::Progress& progress() = 0;
    // Tells the user that the report was written.
    virtual void reportSaved(const std::string& message) = 0;
};

// One export from the checks to the saved workbook:
// 1. no imported grade (`data` null): common::Warning "对不起，请先导入年级成绩数据！";
// 2. the participation parameters (CheckParticipationParameters: common::Warning or common::Refusal);
// 3. the student report only: no selected class gives common::Warning
//    "对不起，请先在班级列表中选择相应的班级！";
// 4. the file name, offered as school + grade + class name + "学生成绩表", or GradeName + "班级评估表" /
//    "教师评估表"; a cancelled choice ends the export without a word;
// 5. the progress bar reset to 6 (student report) or ClassCount + 4, the sheet named "学生成绩表" or
//    GradeName + the report name, one step, the report body, the grid over rows 2 to the last row
//    and columns 1 to the last column in font size 9, one step, A1 selected;
// 6. the workbook saved atomically under the chosen name (spreadsheet::saveWorkbook) and the success
//    message passed to host.reportSaved.
// Any failure after the file name is chosen is thrown (common::Error); no file is then left
// behind and an older file of that name stays as it was. The data set is changed as the report
// bodies say (totals, student order, ranks, statistics).
void exportReport(ReportKind kind, scores::GradeDataSet* data, ExportHost& host);

} // namespace reports
