#pragma once

#include "sheet.h"

#include <cstdint>
#include <string>

// The BIFF8 form of a Sheet.
namespace spreadsheet::detail {

// The rows and columns the sheet reaches with its values, merges, settings and column widths;
// saving refuses a sheet beyond kMaxRows or kMaxColumns.
struct Extent {
    int rows = 0;
    int columns = 0;
};
Extent sheetExtent(const Sheet& sheet);

// The workbook stream (globals and the one worksheet) of a sheet within the limits.
std::string workbookStream(const Sheet& sheet);

// COLINFO's width, in 1/256 of a character, for a width of `characters`: as Excel stores it, the
// characters of the default font's digit width (8 pixels for 宋体 12) plus 5 pixels of padding.
std::uint16_t columnWidthUnits(int characters);

// Row height in twips for text of `points` in a row of automatic height.
std::uint16_t rowHeightTwips(int points);

} // namespace spreadsheet::detail
