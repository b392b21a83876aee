#pragma once

#include "spreadsheet/sheet.h"

#include <optional>
#include <string>

// The formatting steps that the three report workbooks share, in the order a report makes them.
namespace reports {

// Row 1 centred, cells (1,1) to (1,lastColumn) in 黑体 12 and merged, then the title put into (1,1).
void putTitleRow(spreadsheet::Sheet& sheet, int lastColumn, const std::string& title);

// Merges (r1,c1)-(r2,c2) into one block, then puts `text` (if any) into its first cell. A block of
// one cell is left a single cell.
void putMergedBlock(spreadsheet::Sheet& sheet, const spreadsheet::Range& block, std::optional<std::string> text);

// The evaluation reports' column setup: row 2 centred, then for every column 1 to lastColumn
// width 6, vertical and then horizontal centring.
void setUpEvaluationColumns(spreadsheet::Sheet& sheet, int lastColumn);

// The grid over rows 2 to lastRow and columns 1 to lastColumn: continuous thin borders and font
// size 9 (the title row keeps its size 12).
void drawGrid(spreadsheet::Sheet& sheet, int lastRow, int lastColumn);

} // namespace reports
