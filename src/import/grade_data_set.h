#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace scores {

// A cell of the grade data set's tables: empty, a text, a whole number or a real number. Empty is
// distinct from the empty text and from the number 0.
using Cell = std::variant<std::monostate, std::string, std::int64_t, double>;

// A two-dimensional table of cells indexed [row, column] with inclusive bounds: rows 0 (the column
// titles) to lastRow, columns firstColumn (1, or -1 for the tables that start there) to lastColumn.
// A default-constructed table is "not created" and has no cells.
class Table {
public:
    Table() = default;
    Table(int lastRow, int firstColumn, int lastColumn);

    bool created() const { return m_created; }
    int lastRow() const { return m_lastRow; }
    int firstColumn() const { return m_firstColumn; }
    int lastColumn() const { return m_lastColumn; }

    // Throws std::out_of_range outside the bounds.
    Cell& at(int row, int column);
    const Cell& at(int row, int column) const;

    // Typed reads; throw std::bad_variant_access when the cell holds another kind. number() reads
    // whole and real numbers alike.
    const std::string& text(int row, int column) const;
    std::int64_t integer(int row, int column) const;
    double number(int row, int column) const;

    // The cells of one row, column firstColumn at index 0, for loops over whole rows.
    std::span<const Cell> row(int row) const;

    // Puts the data rows (1 to lastRow) in the order `order`: new row i+1 is old row order[i]+1.
    // Only the table's row index changes, so this costs time in the number of rows, not of cells.
    void reorderDataRows(const std::vector<std::size_t>& order);

private:
    std::size_t index(int row, int column) const;
    [[noreturn]] void outOfBounds(int row, int column) const;
    bool m_created = false;
    int m_lastRow = -1;
    int m_firstColumn = 1;
    int m_lastColumn = 0;
    std::vector<Cell> m_cells;
    // Where row r is stored: m_cells from m_rowStart[r] * width on.
    std::vector<std::size_t> m_rowStart;
};

// The cell accessors are defined here so that the reports' loops over every student inline them.
inline std::size_t Table::index(int row, int column) const {
    if (row < 0 || row > m_lastRow || column < m_firstColumn || column > m_lastColumn) {
        outOfBounds(row, column);
    }
    return m_rowStart[static_cast<std::size_t>(row)] * static_cast<std::size_t>(m_lastColumn - m_firstColumn + 1) +
           static_cast<std::size_t>(column - m_firstColumn);
}

inline std::span<const Cell> Table::row(int row) const {
    const auto width = static_cast<std::size_t>(m_lastColumn - m_firstColumn + 1);
    return std::span<const Cell>(m_cells).subspan(index(row, m_firstColumn), width);
}

// The number a cell holds, whole or real.
inline double numberOf(const Cell& cell) {
    if (const auto* real = std::get_if<double>(&cell)) {
        return *real;
    }
    return static_cast<double>(std::get<std::int64_t>(cell));
}

inline Cell& Table::at(int row, int column) { return m_cells[index(row, column)]; }

inline const Cell& Table::at(int row, int column) const { return m_cells[index(row, column)]; }

inline const std::string& Table::text(int row, int column) const { return std::get<std::string>(at(row, column)); }

inline std::int64_t Table::integer(int row, int column) const { return std::get<std::int64_t>(at(row, column)); }

inline double Table::number(int row, int column) const { return numberOf(at(row, column)); }

// The catalogue keys behind one row of the class summary: the school row under which the grade
// was found, the grade and the class. They tell classes apart that share all three codes.
struct ClassKeys {
    std::int64_t schoolId = 0;
    std::int64_t gradeId = 0;
    std::int64_t classId = 0;
};

// The in-memory model of one imported grade that every report reads and that the reports change
// in place (totals, row order, ranks, statistics). Built as a whole by buildGradeDataSet; the
// tables and counts always belong together: StudentArray has StudentCount data rows and
// SubjectCount + 6 columns, ClassSumArray and ClassEvalArray ClassCount rows, SubjectStatArray
// ClassCount x SubjectCount rows.
struct GradeDataSet {
    // Snapshots of the four catalogue tables, row 0 the field names.
    Table SchoolArray;  // [0..N, 1..3]  XXID, XXBH, XXMC
    Table GradeArray;   // [0..N, 1..4]  NJID, XXID, NJBH, NJMC
    Table ClassArray;   // [0..N, 1..6]  BJID, XXID, NJID, BJBH, BJMC, CPRS
    Table SubjectArray; // [0..N, 1..7]  BKID, XXID, NJID, BJID, KMMC, RKJS, KMZF

    // [0..CC, -1..4] 学校, 年级, 班数, 人数 (examinees), 参评人数 (CPRS), 总分 (full marks of the class).
    Table ClassSumArray;
    // [0..ST, 1..SC+6] 考号, 姓名, the subjects, 总分, 班次, 级次, 班数.
    Table StudentArray;
    // [0..CC*SC, -1..8] 学校, 年级, 班数, 科目, 最高分, 合格率, 优生率, 平均分, 得分, 位次.
    Table SubjectStatArray;
    // [0..CC, -1..13] 学校, 年级, 班数, 参评人数, 总分, 平均成绩, 平均评估得分, 合格人数, 合格合格率,
    // 合格评估得分, 优生人数, 优生优生率, 优生评估得分, 评估综合得分, 评估综合位次.
    Table ClassEvalArray;

    std::string GradeCode;
    std::string GradeName;
    std::int32_t ClassCount = 0;
    std::int32_t SubjectCount = 0;
    std::int32_t StudentCount = 0;

    // ClassKeys of ClassSumArray row k at index k - 1.
    std::vector<ClassKeys> classKeys;

    // Column numbers of StudentArray.
    int totalColumn() const { return SubjectCount + 3; }
    int classRankColumn() const { return SubjectCount + 4; }
    int gradeRankColumn() const { return SubjectCount + 5; }
    int classCodeColumn() const { return SubjectCount + 6; }
};

// The school, grade and class codes carried by characters 1-2, 3-4 and 5-6 of an exam number
// (a part beyond the end of the number is empty).
struct ExamCodes {
    std::string_view school;
    std::string_view grade;
    std::string_view schoolClass;
};
ExamCodes examCodes(std::string_view examNumber);

// True when row `student` of StudentArray belongs to class row `classRow` of ClassSumArray: the
// three codes of its exam number equal the class's codes as exact texts.
bool belongsTo(const GradeDataSet& data, int student, int classRow);

} // namespace scores
