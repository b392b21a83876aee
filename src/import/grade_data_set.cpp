#include "grade_data_set.h"

#include "common/text.h"

#include <numeric>
#include <stdexcept>

namespace scores {

Table::Table(int lastRow, int firstColumn, int lastColumn)
    : m_created(true), m_lastRow(lastRow), m_firstColumn(firstColumn), m_lastColumn(lastColumn),
      m_cells(static_cast<std::size_t>(lastRow + 1) * static_cast<std::size_t>(lastColumn - firstColumn + 1)),
      m_rowStart(static_cast<std::size_t>(lastRow + 1)) {
    std::iota(m_rowStart.begin(), m_rowStart.end(), std::size_t{0});
}

void Table::outOfBounds(int row, int column) const {
    throw std::out_of_range("table cell [" + std::to_string(row) + ", " + std::to_string(column) +
                            "] outside the bounds");
}

void Table::reorderDataRows(const std::vector<std::size_t>& order) {
    if (order.size() != static_cast<std::size_t>(m_lastRow)) {
        throw std::invalid_argument("row order does not cover the table");
    }
    std::vector<std::size_t> rowStart(m_rowStart.size());
    rowStart[0] = m_rowStart[0];
    for (std::size_t row = 0; row < order.size(); ++row) {
        if (order[row] >= order.size()) {
            throw std::invalid_argument("row order names a row outside the table");
        }
        rowStart[row + 1] = m_rowStart[order[row] + 1];
    }
    m_rowStart = std::move(rowStart);
}

ExamCodes examCodes(std::string_view examNumber) {
    // Exam numbers are nearly always ASCII digits: then characters are bytes.
    if (examNumber.size() >= 6 && static_cast<unsigned char>(examNumber[0] | examNumber[1] | examNumber[2] |
                                                             examNumber[3] | examNumber[4] | examNumber[5]) < 0x80) {
        return {examNumber.substr(0, 2), examNumber.substr(2, 2), examNumber.substr(4, 2)};
    }
    return {common::characters(examNumber, 1, 2), common::characters(examNumber, 3, 2),
            common::characters(examNumber, 5, 2)};
}

bool belongsTo(const GradeDataSet& data, int student, int classRow) {
    const ExamCodes codes = examCodes(data.StudentArray.text(student, 1));
    return codes.school == data.ClassSumArray.text(classRow, -1) && codes.grade == data.ClassSumArray.text(classRow, 0) &&
           codes.schoolClass == data.ClassSumArray.text(classRow, 1);
}

} // namespace scores
