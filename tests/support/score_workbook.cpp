#include "score_workbook.h"

#include "spreadsheet/sheet.h"

namespace testing_support {

void writeWorkbook(const std::string& path, const WorkbookRows& rows) {
    spreadsheet::Sheet sheet;
    sheet.setName("成绩");
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            const int row = static_cast<int>(r) + 1;
            const int column = static_cast<int>(c) + 1;
            if (const auto* text = std::get_if<std::string>(&rows[r][c])) {
                sheet.putText(row, column, *text);
            } else if (const auto* number = std::get_if<double>(&rows[r][c])) {
                sheet.putNumber(row, column, *number);
            }
        }
    }
    spreadsheet::saveWorkbook(sheet, path);
}

} // namespace testing_support
