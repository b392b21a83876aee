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
        // Read every cell back, as the import does.
        std::size_t total = sheet.name().size();
        for (int row = 1; row <= sheet.lastRow() + 1; ++row) {
            for (int column = 1; column <= sheet.lastColumn() + 1; ++column) {
                total += sheet.text(row, column).size();
            }
        }
        if (total == static_cast<std::size_t>(-1)) {
            return 1;
        }
    } catch (const common::Refusal&) {
    }
    return 0;
}
