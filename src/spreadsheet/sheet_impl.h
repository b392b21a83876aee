#pragma once

#include "sheet.h"

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

// The storage behind Sheet, shared by the model (sheet.cpp) and the BIFF8 writer.
namespace spreadsheet::detail {

enum class Property : std::uint8_t { FontName, FontSize, Borders, Horizontal, Vertical };
inline constexpr int kPropertyCount = 5;

// One formatting call: `value` is an index into SheetData::fontNames (FontName), points
// (FontSize), 0/1 (Borders) or the alignment enum's value.
struct Setting {
    Range range;
    Property property;
    int value;
};

// The value of each property when no setting covers a cell.
inline constexpr int kDefaultValues[kPropertyCount] = {0, kDefaultFontSize, 0,
                                                       static_cast<int>(HorizontalAlignment::General),
                                                       static_cast<int>(VerticalAlignment::Bottom)};

// A setting on every row covers the whole of its columns; one on every column the whole of its rows.
inline bool coversWholeColumns(const Range& range) {
    return range.firstRow <= 1 && range.lastRow >= kMaxRows;
}
inline bool coversWholeRows(const Range& range) {
    return !coversWholeColumns(range) && range.firstColumn <= 1 && range.lastColumn >= kMaxColumns;
}
inline bool isCellLevel(const Range& range) {
    return !coversWholeColumns(range) && !coversWholeRows(range);
}

struct StoredCell {
    double number = 0;
    std::uint32_t text = 0; // index into SheetData::texts
    CellKind kind = CellKind::Empty;
    NumberFormat format = NumberFormat::General;
};

struct SheetData {
    std::string name = "Sheet1";
    // Cells within kMaxRows x kMaxColumns: rows[row - 1][column - 1]; each row as long as its last
    // cell put.
    std::vector<std::vector<StoredCell>> rows;
    // Cells beyond the limits of the format, kept so that saving can refuse them.
    std::map<std::pair<int, int>, CellValue> outside;
    // Every text put, once (a deque keeps the strings in place for the index's views).
    std::deque<std::string> texts;
    std::unordered_map<std::string_view, std::uint32_t> textIndex;
    std::vector<std::string> fontNames{kDefaultFontName};
    std::vector<Setting> settings; // in the order of the calls
    std::vector<Range> merges;     // never overlapping
    std::map<int, int> widths;     // column -> characters
    Range selection = Range::cell(1, 1);
    int settingLastRow = 0; // of cell-level settings and merges
    int settingLastColumn = 0;

    const StoredCell* cell(int row, int column) const {
        if (row > static_cast<int>(rows.size())) {
            return nullptr;
        }
        const std::vector<StoredCell>& cells = rows[static_cast<std::size_t>(row - 1)];
        return column <= static_cast<int>(cells.size()) ? &cells[static_cast<std::size_t>(column - 1)] : nullptr;
    }
};

} // namespace spreadsheet::detail

namespace spreadsheet {

struct Sheet::Impl : detail::SheetData {};

// The writer's view of the storage.
class SheetAccess {
public:
    static const detail::SheetData& data(const Sheet& sheet) { return *sheet.m_impl; }
};

} // namespace spreadsheet
