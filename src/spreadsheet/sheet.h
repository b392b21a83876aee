#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The in-memory workbook of one sheet that the reports write and saveWorkbook stores. Its
// formatting follows the spreadsheet's own rules, so that a sequence of calls gives the look it
// would give in a spreadsheet program:
// - a setting on a range applies to every cell of the range, including cells put later; a setting
//   on a whole row or column also covers the cells put there later;
// - a later setting of one property leaves the other properties of the cells alone (a cell of row 1
//   keeps 黑体 12 when its column is centred afterwards);
// - for one property, the latest setting covering a cell wins.
// Rows and columns are 1-based; an index below 1 throws std::out_of_range. Ranges may name their
// corners in either order. Cells and settings beyond kMaxRows x kMaxColumns are kept, and
// saveWorkbook refuses them.
namespace spreadsheet {

inline constexpr int kMaxRows = 65536;
inline constexpr int kMaxColumns = 256;

// A rectangle of cells, both corners included. Whole rows span columns 1 to kMaxColumns, whole
// columns rows 1 to kMaxRows.
struct Range {
    int firstRow = 1;
    int firstColumn = 1;
    int lastRow = 1;
    int lastColumn = 1;

    static Range cell(int row, int column) { return {row, column, row, column}; }
    static Range cells(int firstRow, int firstColumn, int lastRow, int lastColumn) {
        return {firstRow, firstColumn, lastRow, lastColumn};
    }
    static Range row(int row) { return {row, 1, row, kMaxColumns}; }
    static Range column(int column) { return {1, column, kMaxRows, column}; }

    bool contains(int row, int column) const {
        return row >= firstRow && row <= lastRow && column >= firstColumn && column <= lastColumn;
    }
    bool operator==(const Range&) const = default;
};

enum class HorizontalAlignment { General, Center };
enum class VerticalAlignment { Bottom, Center };
// "General", "0" (a whole number) and "0.0" (one decimal place).
enum class NumberFormat { General, Whole, OneDecimal };

enum class CellKind { Empty, Number, Text };

struct CellValue {
    CellKind kind = CellKind::Empty;
    double number = 0;
    std::string text;
    NumberFormat format = NumberFormat::General;
};

// The resolved look of one cell.
struct CellFormat {
    std::string fontName; // the default face is 宋体
    int fontSize = 12;    // points
    bool borders = false; // continuous thin line on all four edges
    HorizontalAlignment horizontal = HorizontalAlignment::General;
    VerticalAlignment vertical = VerticalAlignment::Bottom;
    bool operator==(const CellFormat&) const = default;
};

inline constexpr const char* kDefaultFontName = "宋体";
inline constexpr int kDefaultFontSize = 12;

class Sheet {
public:
    Sheet();
    Sheet(Sheet&&) noexcept;
    Sheet& operator=(Sheet&&) noexcept;
    ~Sheet();

    // The tab's name. Names longer than 31 characters are shortened to 31 and the characters a
    // sheet name may not hold ( : \ / ? * [ ], and an apostrophe at its start or end) are replaced
    // by "_"; an empty name becomes "Sheet1".
    void setName(std::string_view name);
    const std::string& name() const;

    // Cell puts, one cell each; a put replaces the cell's value and keeps its formatting.
    // Text exactly as given; the empty text empties the cell, as in a spreadsheet.
    void putText(int row, int column, std::string text);
    // Text entered as into a spreadsheet cell: a leading apostrophe marks it as text and is not
    // stored ("'010201001" stores the text 010201001); other text is stored as given.
    void putEntry(int row, int column, std::string_view text);
    // A number with its number format. Under "0" and "0.0" the stored value is the rounded one
    // (common::roundFixed: 74.15 is stored as 74.2), so that the cell shows exactly the formatted
    // text; under General it is the value at 15 significant digits (common::roundGeneral). A
    // value that is no finite number is stored as the text "#NUM!".
    void putNumber(int row, int column, double value, NumberFormat format = NumberFormat::General);
    // A code read as a number: a number in General format when it is all ASCII digits ("05" is the
    // number 5), otherwise the text as given.
    void putCode(int row, int column, std::string_view code);

    // Merges the range into one cell. Earlier merged ranges that overlap it are replaced by it, and
    // merging the same range again changes nothing, so the merges never overlap. A range of a
    // single cell is no merge and changes nothing. The cells keep their values.
    void merge(const Range& range);
    void setFontName(const Range& range, std::string_view name);
    // Sizes are kept within 1 to 409 points, the range of the format.
    void setFontSize(const Range& range, int points);
    // Continuous thin borders on every edge of every cell of the range.
    void setBorders(const Range& range);
    void setHorizontalAlignment(const Range& range, HorizontalAlignment alignment);
    void setVerticalAlignment(const Range& range, VerticalAlignment alignment);
    // Width of a column in characters of the default font (0 to 255).
    void setColumnWidth(int column, int characters);
    // The selection the workbook is saved with (A1 unless set).
    void select(const Range& range);

    // Reading the model back.
    CellValue value(int row, int column) const;
    CellFormat format(int row, int column) const;
    const std::vector<Range>& merges() const;
    std::optional<int> columnWidth(int column) const;
    const Range& selection() const;
    // The last row and column holding a value, a merge or a setting on a range that is not whole
    // rows or whole columns; 0 when there is none.
    int lastRow() const;
    int lastColumn() const;

private:
    friend class SheetAccess; // the writer's view of the storage
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

// Saves the sheet as an Excel 97-2003 workbook (BIFF8 in an OLE2 compound file). A path without
// any extension gets ".xls". The file is written beside the target under a temporary name and
// renamed over it, so a failure leaves an older file of that name intact and no partial file.
// Throws common::Refusal when the sheet exceeds kMaxRows or kMaxColumns (before anything is
// written) and common::Failure when the file cannot be written; both texts name the file.
// Returns the path written.
std::string saveWorkbook(const Sheet& sheet, const std::string& path);

} // namespace spreadsheet
