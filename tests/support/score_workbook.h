#pragma once

#include <string>
#include <variant>
#include <vector>

namespace testing_support {

// A cell of a test workbook: nothing, a text or a number.
using WorkbookCell = std::variant<std::monostate, std::string, double>;
using WorkbookRows = std::vector<std::vector<WorkbookCell>>;

// Writes rows (row 1 first, column 1 first) as the first sheet of an .xls workbook, with the
// project's own writer.
void writeWorkbook(const std::string& path, const WorkbookRows& rows);

} // namespace testing_support
