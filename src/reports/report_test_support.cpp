#include "report_test_support.h"

#include "common/number_format.h"

#include <algorithm>

namespace reports::testing {

std::string shown(const spreadsheet::Sheet& sheet, int row, int column) {
    const spreadsheet::CellValue value = sheet.value(row, column);
    switch (value.kind) {
    case spreadsheet::CellKind::Empty:
        return {};
    case spreadsheet::CellKind::Text:
        return value.text;
    case spreadsheet::CellKind::Number:
        break;
    }
    switch (value.format) {
    case spreadsheet::NumberFormat::Whole:
        return common::formatFixed(value.number, 0);
    case spreadsheet::NumberFormat::OneDecimal:
        return common::formatFixed(value.number, 1);
    case spreadsheet::NumberFormat::General:
        break;
    }
    return common::formatGeneral(value.number);
}

std::vector<std::string> shownRow(const spreadsheet::Sheet& sheet, int row, int lastColumn) {
    std::vector<std::string> texts;
    for (int column = 1; column <= lastColumn; ++column) {
        texts.push_back(shown(sheet, row, column));
    }
    return texts;
}

bool hasMerge(const spreadsheet::Sheet& sheet, const spreadsheet::Range& range) {
    const auto& merges = sheet.merges();
    return std::find(merges.begin(), merges.end(), range) != merges.end();
}

} // namespace reports::testing
