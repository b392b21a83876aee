#include "report_layout.h"

namespace reports {

using spreadsheet::HorizontalAlignment;
using spreadsheet::Range;
using spreadsheet::VerticalAlignment;

namespace {

constexpr const char* kTitleFont = "黑体";
constexpr int kTitleFontSize = 12;
constexpr int kGridFontSize = 9;
constexpr int kEvaluationColumnWidth = 6;

} // namespace

void putTitleRow(spreadsheet::Sheet& sheet, int lastColumn, const std::string& title) {
    sheet.setHorizontalAlignment(Range::row(1), HorizontalAlignment::Center);
    const Range titleCells = Range::cells(1, 1, 1, lastColumn);
    sheet.setFontName(titleCells, kTitleFont);
    sheet.setFontSize(titleCells, kTitleFontSize);
    sheet.merge(titleCells);
    sheet.putText(1, 1, title);
}

void putMergedBlock(spreadsheet::Sheet& sheet, const Range& block, std::optional<std::string> text) {
    if (block.firstRow != block.lastRow || block.firstColumn != block.lastColumn) {
        sheet.merge(block);
    }
    if (text) {
        sheet.putText(block.firstRow, block.firstColumn, std::move(*text));
    }
}

void setUpEvaluationColumns(spreadsheet::Sheet& sheet, int lastColumn) {
    sheet.setHorizontalAlignment(Range::row(2), HorizontalAlignment::Center);
    for (int column = 1; column <= lastColumn; ++column) {
        sheet.setColumnWidth(column, kEvaluationColumnWidth);
        sheet.setVerticalAlignment(Range::column(column), VerticalAlignment::Center);
        sheet.setHorizontalAlignment(Range::column(column), HorizontalAlignment::Center);
    }
}

void drawGrid(spreadsheet::Sheet& sheet, int lastRow, int lastColumn) {
    const Range grid = Range::cells(2, 1, lastRow, lastColumn);
    sheet.setBorders(grid);
    sheet.setFontSize(grid, kGridFontSize);
}

} // namespace reports
