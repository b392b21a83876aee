// libFuzzer target for the workbook reader: any bytes must give a worksheet or a refusal, never a
// crash, a hang, an unbounded allocation or a read outside the input.
#include "common/errors.h"
#include "worksheet_reader.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        spreadsheet::Worksheet sheet =
            spreadsheet::Worksheet::openBytes(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.xls");
        // Read cells back as the import does: along row 1 and column 1 up to the first empty cell,
        // then the block they span (bounded, so that one run stays short), and the last cell.
        std::size_t total = sheet.name().size();
        int columns = 0;
        while (columns < 256 && !sheet.text(1, columns + 1).empty()) {
            ++columns;
        }
        int rows = 0;
        while (rows < 2000 && !sheet.text(rows + 1, 1).empty()) {
            ++rows;
        }
        for (int row = 1; row <= rows; ++row) {
            for (int column = 1; column <= columns; ++column) {
                total += sheet.text(row, column).size();
            }
        }
        total += sheet.text(sheet.lastRow(), sheet.lastColumn()).size();
        if (total == static_cast<std::size_t>(-1)) {
            return 1;
        }
    } catch (const common::Refusal&) {
    }
    return 0;
}
