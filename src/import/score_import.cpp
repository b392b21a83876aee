#include "score_import.h"

#include "exchange_order.h"

#include "catalogue/schema.h"
#include "catalogue/statements.h"
#include "common/errors.h"
#include "common/messages.h"
#include "common/number_format.h"
#include "common/text.h"
#include "spreadsheet/worksheet_reader.h"

#include <cmath>
#include <unordered_map>

namespace scores {

namespace {

constexpr double kLowestScore = 0.0;
constexpr double kHighestScore = 150.0;

// The number a score cell's text converts to. A number cell's text is its value at 15 significant
// digits; for whole numbers and short binary fractions (85.5, 92.25) that text reads back as the
// value itself, so the text need not be made.
double scoreOf(const spreadsheet::ReadCell& cell) {
    if (cell.kind == spreadsheet::ReadKind::Number) {
        const double value = cell.number;
        if (value == 0) {
            return 0.0;
        }
        const double magnitude = std::fabs(value);
        if (magnitude < 1e15 && value == static_cast<double>(static_cast<std::int64_t>(value))) {
            return value;
        }
        if (magnitude < 1024 && value * 1024 == static_cast<double>(static_cast<std::int64_t>(value * 1024))) {
            return value;
        }
        return common::roundGeneral(value);
    }
    return common::toDouble(common::trimmedView(cell.text));
}

// The trimmed text of a cell; text cells are taken as they are read, without a copy of the whole text.
std::string trimmedText(const spreadsheet::Worksheet& sheet, int row, int column) {
    const spreadsheet::ReadCell cell = sheet.cell(row, column);
    if (cell.kind == spreadsheet::ReadKind::Text) {
        return common::trimmed(cell.text);
    }
    return common::trimmed(sheet.text(row, column));
}

Table snapshot(catalogue::Query& query, const char* statement, const catalogue::TableDef& def) {
    query.close();
    query.clearSql();
    query.addSql(statement);
    query.open();
    const int fields = static_cast<int>(def.fields.size());
    Table table(query.recordCount(), 1, fields);
    for (int column = 1; column <= fields; ++column) {
        table.at(0, column) = std::string(def.fields[static_cast<std::size_t>(column - 1)].name);
    }
    int row = 0;
    for (query.first(); !query.eof(); query.next()) {
        ++row;
        for (int column = 1; column <= fields; ++column) {
            const catalogue::FieldDef& field = def.fields[static_cast<std::size_t>(column - 1)];
            const catalogue::FieldValue value = query.fieldByName(field.name);
            if (field.type == catalogue::FieldType::Integer) {
                table.at(row, column) = value.asInteger();
            } else {
                table.at(row, column) = value.asString();
            }
        }
    }
    query.close();
    return table;
}

void setTitles(Table& table, std::initializer_list<const char*> titles) {
    int column = table.firstColumn();
    for (const char* title : titles) {
        table.at(0, column++) = std::string(title);
    }
}

// The three codes of a class joined into one key of the examinee count.
std::string codesKey(std::string_view school, std::string_view grade, std::string_view schoolClass) {
    std::string key;
    key.reserve(school.size() + grade.size() + schoolClass.size() + 2);
    key.append(school).append(1, '\x1f').append(grade).append(1, '\x1f').append(schoolClass);
    return key;
}

} // namespace

ScoreSheet readScoreSheet(const spreadsheet::Worksheet& sheet) {
    ScoreSheet result;
    for (int column = 3; !common::isBlank(sheet.text(1, column)); ++column) {
        result.subjects.push_back(common::trimmed(sheet.text(1, column)));
    }
    if (result.subjects.empty()) {
        throw common::Warning(messages::kNoSubjects);
    }
    int students = 0;
    while (!common::isBlank(sheet.text(students + 2, 1))) {
        ++students;
    }
    if (students == 0) {
        throw common::Warning(messages::kNoStudents);
    }
    const int subjects = result.subjectCount();
    result.scores.reserve(static_cast<std::size_t>(students) * static_cast<std::size_t>(subjects));
    for (int row = 2; row <= students + 1; ++row) {
        for (int column = 3; column <= subjects + 2; ++column) {
            const double score = scoreOf(sheet.cell(row, column));
            if (score < kLowestScore || score > kHighestScore) {
                throw common::Warning(messages::badScore(row, column));
            }
            result.scores.push_back(score);
        }
    }
    result.examNumbers.reserve(static_cast<std::size_t>(students));
    result.names.reserve(static_cast<std::size_t>(students));
    for (int row = 2; row <= students + 1; ++row) {
        result.examNumbers.push_back(trimmedText(sheet, row, 1));
        result.names.push_back(trimmedText(sheet, row, 2));
    }
    return result;
}

GradeDataSet BuildGradeDataSet(catalogue::TDM& dm, const ScoreSheet& sheet, common::Progress& progress) {
    GradeDataSet data;
    catalogue::Query& query = dm.Query();
    data.SchoolArray = snapshot(query, catalogue::statements::kAllSchools, catalogue::schoolTableDef());
    data.GradeArray = snapshot(query, catalogue::statements::kAllGrades, catalogue::gradeTableDef());
    data.ClassArray = snapshot(query, catalogue::statements::kAllClasses, catalogue::classTableDef());
    data.SubjectArray = snapshot(query, catalogue::statements::kAllSubjects, catalogue::subjectTableDef());
    data.SubjectCount = sheet.subjectCount();
    data.StudentCount = sheet.studentCount();
    const int sc = data.SubjectCount;
    const int st = data.StudentCount;

    data.GradeCode = std::string(common::characters(sheet.examNumbers.front(), 3, 2));

    // The classes of the imported grade, in school, grade and class order of the snapshots.
    struct SummaryRow {
        int school;
        int grade;
        int schoolClass;
    };
    std::vector<SummaryRow> summary;
    const Table& schools = data.SchoolArray;
    const Table& grades = data.GradeArray;
    const Table& classes = data.ClassArray;
    const Table& subjects = data.SubjectArray;
    for (int s = 1; s <= schools.lastRow(); ++s) {
        for (int g = 1; g <= grades.lastRow(); ++g) {
            if (grades.integer(g, 2) != schools.integer(s, 1) || grades.text(g, 3) != data.GradeCode) {
                continue;
            }
            if (data.GradeName.empty()) {
                data.GradeName = grades.text(g, 4);
            }
            for (int c = 1; c <= classes.lastRow(); ++c) {
                if (classes.integer(c, 3) == grades.integer(g, 1)) {
                    summary.push_back({s, g, c});
                }
            }
        }
    }
    data.ClassCount = static_cast<std::int32_t>(summary.size());
    const int cc = data.ClassCount;

    std::unordered_map<std::int64_t, std::int64_t> fullMarksOfClass;
    for (int k = 1; k <= subjects.lastRow(); ++k) {
        fullMarksOfClass[subjects.integer(k, 4)] += subjects.integer(k, 7);
    }
    data.ClassSumArray = Table(cc, -1, 4);
    setTitles(data.ClassSumArray, {"学校", "年级", "班数", "人数", "参评人数", "总分"});
    std::unordered_map<std::string, std::vector<int>> classRowsByCodes;
    for (int k = 1; k <= cc; ++k) {
        const SummaryRow& row = summary[static_cast<std::size_t>(k - 1)];
        Table& sums = data.ClassSumArray;
        sums.at(k, -1) = schools.text(row.school, 2);
        sums.at(k, 0) = grades.text(row.grade, 3);
        sums.at(k, 1) = classes.text(row.schoolClass, 4);
        sums.at(k, 2) = std::int64_t{0};
        sums.at(k, 3) = classes.integer(row.schoolClass, 6);
        const auto marks = fullMarksOfClass.find(classes.integer(row.schoolClass, 1));
        sums.at(k, 4) = marks == fullMarksOfClass.end() ? std::int64_t{0} : marks->second;
        data.classKeys.push_back(
            {schools.integer(row.school, 1), grades.integer(row.grade, 1), classes.integer(row.schoolClass, 1)});
        classRowsByCodes[codesKey(sums.text(k, -1), sums.text(k, 0), sums.text(k, 1))].push_back(k);
    }

    data.StudentArray = Table(st, 1, sc + 6);
    Table& students = data.StudentArray;
    students.at(0, 1) = std::string("考号");
    students.at(0, 2) = std::string("姓名");
    for (int j = 1; j <= sc; ++j) {
        students.at(0, 2 + j) = sheet.subjects[static_cast<std::size_t>(j - 1)];
    }
    students.at(0, sc + 3) = std::string("总分");
    students.at(0, sc + 4) = std::string("班次");
    students.at(0, sc + 5) = std::string("级次");
    students.at(0, sc + 6) = std::string("班数");

    data.SubjectStatArray = Table(cc * sc, -1, 8);
    setTitles(data.SubjectStatArray, {"学校", "年级", "班数", "科目", "最高分", "合格率", "优生率", "平均分", "得分", "位次"});
    for (int row = 1; row <= cc * sc; ++row) {
        for (int column = -1; column <= 2; ++column) {
            data.SubjectStatArray.at(row, column) = std::string();
        }
        for (int column = 3; column <= 8; ++column) {
            data.SubjectStatArray.at(row, column) = std::int64_t{0};
        }
    }
    data.ClassEvalArray = Table(cc, -1, 13);
    setTitles(data.ClassEvalArray, {"学校", "年级", "班数", "参评人数", "总分", "平均成绩", "平均评估得分", "合格人数",
                                    "合格合格率", "合格评估得分", "优生人数", "优生优生率", "优生评估得分",
                                    "评估综合得分", "评估综合位次"});
    for (int row = 1; row <= cc; ++row) {
        for (int column = -1; column <= 1; ++column) {
            data.ClassEvalArray.at(row, column) = std::string();
        }
        for (int column = 2; column <= 13; ++column) {
            data.ClassEvalArray.at(row, column) = std::int64_t{0};
        }
    }

    progress.reset(st);
    for (int i = 1; i <= st; ++i) {
        const std::string& examNumber = sheet.examNumbers[static_cast<std::size_t>(i - 1)];
        students.at(i, 1) = examNumber;
        students.at(i, 2) = sheet.names[static_cast<std::size_t>(i - 1)];
        for (int j = 1; j <= sc; ++j) {
            students.at(i, 2 + j) = sheet.score(i - 1, j - 1);
        }
        students.at(i, sc + 3) = 0.0;
        students.at(i, sc + 4) = std::int64_t{0};
        students.at(i, sc + 5) = std::int64_t{0};
        const ExamCodes codes = examCodes(examNumber);
        students.at(i, sc + 6) = std::string(codes.schoolClass);
        // Every class row with these codes counts the student, as a test of all rows would.
        const auto rows = classRowsByCodes.find(codesKey(codes.school, codes.grade, codes.schoolClass));
        if (rows != classRowsByCodes.end()) {
            for (int k : rows->second) {
                std::get<std::int64_t>(data.ClassSumArray.at(k, 2)) += 1;
            }
        }
        progress.advance();
    }
    return data;
}

GradeDataSet importScores(const std::string& path, catalogue::TDM& dm, common::Progress& progress) {
    const ScoreSheet sheet = readScoreSheet(spreadsheet::Worksheet::open(path));
    return BuildGradeDataSet(dm, sheet, progress);
}

void SortStudentsByTotal(GradeDataSet& data, common::Progress& progress) {
    Table& students = data.StudentArray;
    const int sc = data.SubjectCount;
    std::vector<double> totals(static_cast<std::size_t>(data.StudentCount));
    for (int i = 1; i <= data.StudentCount; ++i) {
        // Columns 3 to SC + 2 are cells 2 to SC + 1 of the row, added in column order.
        const std::span<const Cell> cells = students.row(i);
        double total = 0;
        for (int j = 1; j <= sc; ++j) {
            total += numberOf(cells[static_cast<std::size_t>(j + 1)]);
        }
        students.at(i, sc + 3) = total;
        totals[static_cast<std::size_t>(i - 1)] = total;
    }
    progress.advance();
    students.reorderDataRows(exchangeOrder(totals));
    progress.advance();
}

} // namespace scores
