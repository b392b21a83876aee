#include "grade_data_set.h"

#include "common/text.h"

#include <stdexcept>

namespace scores {

Table::Table(int lastRow, int firstColumn, int lastColumn)
    : m_created(true), m_lastRow(lastRow), m_firstColumn(firstColumn), m_lastColumn(lastColumn),
      m_cells(static_cast<std::size_t>(lastRow + 1) * static_cast<std::size_t>(lastColumn - firstColumn + 1)) {}

std::size_t Table::index(int row, int column) const {
    if (row < 0 || row > m_lastRow || column < m_firstColumn || column > m_lastColumn) {
        throw std::out_of_range("table cell [" + std::to_string(row) + ", " + std::to_string(column) +
                                "] outside the bounds");
    }
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(m_lastColumn - m_firstColumn + 1) +
           static_cast<std::size_t>(column - m_firstColumn);
}

Cell& Table::at(int row, int column) { return m_cells[index(row, column)]; }

const Cell& Table::at(int row, int column) const { return m_cells[index(row, column)]; }

const std::string& Table::text(int row, int column) const { return std::get<std::string>(at(row, column)); }

std::int64_t Table::integer(int row, int column) const { return std::get<std::int64_t>(at(row, column)); }

double Table::number(int row, int column) const {
    const Cell& cell = at(row, column);
    if (const auto* whole = std::get_if<std::int64_t>(&cell)) {
        return static_cast<double>(*whole);
    }
    return std::get<double>(cell);
}

void Table::reorderDataRows(const std::vector<std::size_t>& order) {
    const auto width = static_cast<std::size_t>(m_lastColumn - m_firstColumn + 1);
    if (order.size() != static_cast<std::size_t>(m_lastRow)) {
        throw std::invalid_argument("row order does not cover the table");
    }
    std::vector<Cell> cells(m_cells.size());
    for (std::size_t column = 0; column < width; ++column) {
        cells[column] = std::move(m_cells[column]);
    }
    for (std::size_t row = 0; row < order.size(); ++row) {
        for (std::size_t column = 0; column < width; ++column) {
            cells[(row + 1) * width + column] = std::move(m_cells[(order[row] + 1) * width + column]);
        }
    }
    m_cells = std::move(cells);
}

ExamCodes examCodes(std::string_view examNumber) {
    return {common::characters(examNumber, 1, 2), common::characters(examNumber, 3, 2),
            common::characters(examNumber, 5, 2)};
}

bool belongsTo(const GradeDataSet& data, int student, int classRow) {
    const ExamCodes codes = examCodes(data.StudentArray.text(student, 1));
    return codes.school == data.ClassSumArray.text(classRow, -1) && codes.grade == data.ClassSumArray.text(classRow, 0) &&
           codes.schoolClass == data.ClassSumArray.text(classRow, 1);
}

} // namespace scores
