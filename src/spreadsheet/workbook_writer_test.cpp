#include "sheet.h"

#include "atomic_file.h"
#include "common/errors.h"
#include "common/messages.h"
#include "common/number_format.h"
#include "support/temp_dir.h"
#include "worksheet_reader.h"

#include <freexl.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace spreadsheet {
namespace {

using testing_support::readFile;
using testing_support::TempDir;
using testing_support::writeFile;

// --- Sheets to write ---

// Texts and numbers of every kind the writer stores differently: 8-bit and 16-bit strings, strings
// long enough to cross CONTINUE boundaries (more than 8,224 bytes in all, one string alone longer),
// RK and NUMBER numbers, the two fixed formats, and empty cells between them.
Sheet valuesSheet() {
    Sheet sheet;
    sheet.setName("成绩往返");
    sheet.putText(1, 1, "考号");
    sheet.putText(1, 2, "姓名");
    sheet.putText(1, 3, "plain ASCII");
    sheet.putEntry(1, 5, "'010201001");
    for (int row = 2; row <= 400; ++row) {
        std::string name = "学生" + std::to_string(row) + "号，姓名较长以便跨越记录边界";
        sheet.putText(row, 1, std::to_string(10201000 + row));
        sheet.putText(row, 2, name);
        sheet.putNumber(row, 3, row * 0.5);
        sheet.putNumber(row, 4, row / 7.0, NumberFormat::OneDecimal);
        if (row % 3 == 0) {
            sheet.putNumber(row, 6, row * 1.01, NumberFormat::Whole);
        }
        sheet.putNumber(row, 7, 0.1 * row + 1e-9); // no RK form: a NUMBER record
    }
    std::string longText;
    for (int i = 0; i < 5000; ++i) {
        longText += i % 2 ? "长" : "x"; // 16-bit throughout, 10,000 bytes: crosses a boundary
    }
    sheet.putText(401, 2, longText);
    sheet.putText(402, 2, std::string(9000, 'a')); // 8-bit, crosses a boundary
    sheet.putNumber(403, 3, -123456789.125);
    sheet.putNumber(403, 4, 1e300);
    sheet.putNumber(403, 5, 536870911);
    sheet.putNumber(403, 6, -536870912);
    sheet.putNumber(403, 7, 14, NumberFormat::OneDecimal);
    return sheet;
}

// A class evaluation report as the reports build it, in their order of calls.
Sheet reportSheet(int classes) {
    const int last = 14;
    const int bottom = classes + 3;
    Sheet sheet;
    sheet.setName("高二班级评估表");
    sheet.setHorizontalAlignment(Range::row(1), HorizontalAlignment::Center);
    Range title = Range::cells(1, 1, 1, last);
    sheet.select(title);
    sheet.setFontName(title, "黑体");
    sheet.setFontSize(title, 12);
    sheet.merge(title);
    sheet.putText(1, 1, "高二班级评估表");
    const char* headers[] = {"学校", "班级", "参评人数", "总分"};
    for (int c = 1; c <= 4; ++c) {
        sheet.merge(Range::cells(2, c, 3, c));
        sheet.putText(2, c, headers[c - 1]);
    }
    sheet.merge(Range::cells(2, 5, 2, 6));
    sheet.putText(2, 5, "平均");
    sheet.putText(3, 5, "成绩");
    sheet.putText(3, 6, "评估得分");
    sheet.merge(Range::cells(2, 7, 2, 9));
    sheet.putText(2, 7, "合格");
    sheet.merge(Range::cells(2, 13, 2, 14));
    sheet.putText(2, 13, "评估");
    sheet.setHorizontalAlignment(Range::row(2), HorizontalAlignment::Center);
    for (int c = 1; c <= last; ++c) {
        sheet.setColumnWidth(c, 6);
        sheet.setVerticalAlignment(Range::column(c), VerticalAlignment::Center);
        sheet.setHorizontalAlignment(Range::column(c), HorizontalAlignment::Center);
    }
    sheet.merge(Range::cells(4, 1, 3 + classes / 2, 1));
    sheet.merge(Range::cells(4 + classes / 2, 1, bottom, 1));
    for (int k = 1; k <= classes; ++k) {
        int r = k + 3;
        sheet.putText(r, 1, k <= classes / 2 ? "第一中学" : "第二中学");
        sheet.putCode(r, 2, k < 10 ? "0" + std::to_string(k) : std::to_string(k));
        sheet.putNumber(r, 3, 40, NumberFormat::Whole);
        sheet.putNumber(r, 4, 3000 + k * 10.25, NumberFormat::OneDecimal);
        sheet.putNumber(r, 5, 85.25, NumberFormat::OneDecimal);
        sheet.putNumber(r, 7, 30 + k);
        sheet.putNumber(r, 13, 14, NumberFormat::OneDecimal);
        sheet.putNumber(r, 14, k);
    }
    Range grid = Range::cells(2, 1, bottom, last);
    sheet.select(grid);
    sheet.setBorders(grid);
    sheet.setFontSize(grid, 9);
    sheet.select(Range::cell(1, 1));
    return sheet;
}

// --- The model's content, for the independent readers ---

std::string json(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
            out += buffer;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string json(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return buffer;
}

// Every cell up to two rows and columns beyond the used area, the merges and the widths.
std::string expectedContent(const Sheet& sheet) {
    std::ostringstream out;
    out << "{\"name\": " << json(sheet.name()) << ", \"cells\": [";
    bool first = true;
    for (int r = 1; r <= sheet.lastRow() + 2; ++r) {
        for (int c = 1; c <= sheet.lastColumn() + 2; ++c) {
            CellValue v = sheet.value(r, c);
            CellFormat f = sheet.format(r, c);
            out << (first ? "" : ",") << "\n[" << r << ", " << c << ", ";
            first = false;
            if (v.kind == CellKind::Number) {
                out << "\"number\", " << json(v.number);
            } else if (v.kind == CellKind::Text) {
                out << "\"text\", " << json(v.text);
            } else {
                out << "\"empty\", null";
            }
            const char* format = v.kind != CellKind::Number             ? "General"
                                 : v.format == NumberFormat::Whole      ? "0"
                                 : v.format == NumberFormat::OneDecimal ? "0.0"
                                                                        : "General";
            out << ", " << json(format) << ", " << json(f.fontName) << ", " << f.fontSize << ", "
                << (f.borders ? "true" : "false") << ", "
                << (f.horizontal == HorizontalAlignment::Center ? "\"center\"" : "\"general\"") << ", "
                << (f.vertical == VerticalAlignment::Center ? "\"center\"" : "\"bottom\"") << "]";
        }
    }
    out << "], \"merges\": [";
    for (std::size_t i = 0; i < sheet.merges().size(); ++i) {
        const Range& m = sheet.merges()[i];
        out << (i ? ", " : "") << "[" << m.firstRow << ", " << m.firstColumn << ", " << m.lastRow << ", "
            << m.lastColumn << "]";
    }
    out << "], \"widths\": [";
    bool firstWidth = true;
    for (int c = 1; c <= kMaxColumns; ++c) {
        if (std::optional<int> width = sheet.columnWidth(c)) {
            out << (firstWidth ? "" : ", ") << "[" << c << ", " << *width << "]";
            firstWidth = false;
        }
    }
    out << "]}\n";
    return out.str();
}

// The text a spreadsheet shows for a cell of the model.
std::string shownText(const CellValue& value) {
    if (value.kind == CellKind::Text) {
        return value.text;
    }
    if (value.kind != CellKind::Number) {
        return "";
    }
    switch (value.format) {
    case NumberFormat::Whole:
        return common::formatFixed(value.number, 0);
    case NumberFormat::OneDecimal:
        return common::formatFixed(value.number, 1);
    case NumberFormat::General:
        break;
    }
    return common::formatGeneral(value.number);
}

int run(const std::string& command) {
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string shellQuoted(const std::string& text) {
    return "'" + text + "'";
}

// --- Round trips ---

void expectSameValues(const Sheet& sheet, const Worksheet& read) {
    for (int r = 1; r <= sheet.lastRow() + 1; ++r) {
        for (int c = 1; c <= sheet.lastColumn() + 1; ++c) {
            CellValue v = sheet.value(r, c);
            ReadCell cell = read.cell(r, c);
            SCOPED_TRACE(::testing::Message() << "(" << r << "," << c << ")");
            switch (v.kind) {
            case CellKind::Empty:
                EXPECT_EQ(cell.kind, ReadKind::Empty);
                break;
            case CellKind::Number:
                EXPECT_EQ(cell.kind, ReadKind::Number);
                EXPECT_EQ(cell.number, v.number);
                break;
            case CellKind::Text:
                EXPECT_EQ(cell.kind, ReadKind::Text);
                EXPECT_EQ(cell.text, v.text);
                break;
            }
        }
    }
}

TEST(RoundTrip, ThroughOurReader) {
    TempDir dir;
    Sheet sheet = valuesSheet();
    std::string path = saveWorkbook(sheet, dir.file("round.xls"));
    Worksheet read = Worksheet::open(path);
    EXPECT_EQ(read.name(), sheet.name());
    EXPECT_EQ(read.lastRow(), sheet.lastRow());
    EXPECT_EQ(read.lastColumn(), sheet.lastColumn());
    expectSameValues(sheet, read);
}

TEST(RoundTrip, ReportSheetThroughOurReader) {
    TempDir dir;
    Sheet sheet = reportSheet(30);
    Worksheet read = Worksheet::open(saveWorkbook(sheet, dir.file("report.xls")));
    expectSameValues(sheet, read);
}

// A sheet so small that its workbook stream is padded to the size of a regular stream.
Sheet tinySheet() {
    Sheet sheet;
    sheet.putText(1, 1, "小");
    sheet.putNumber(2, 2, 3.5);
    return sheet;
}

void expectFreeXlReads(const Sheet& sheet, const std::string& path) {
    const void* handle = nullptr;
    ASSERT_EQ(freexl_open(path.c_str(), &handle), FREEXL_OK);
    ASSERT_EQ(freexl_select_active_worksheet(handle, 0), FREEXL_OK);
    const char* name = nullptr;
    ASSERT_EQ(freexl_get_worksheet_name(handle, 0, &name), FREEXL_OK);
    EXPECT_EQ(std::string(name), sheet.name());
    unsigned int rows = 0;
    unsigned short columns = 0;
    ASSERT_EQ(freexl_worksheet_dimensions(handle, &rows, &columns), FREEXL_OK);
    EXPECT_EQ(static_cast<int>(rows), sheet.lastRow());
    EXPECT_EQ(static_cast<int>(columns), sheet.lastColumn());
    for (int r = 1; r <= sheet.lastRow(); ++r) {
        for (int c = 1; c <= sheet.lastColumn(); ++c) {
            FreeXL_CellValue cell;
            ASSERT_EQ(
                freexl_get_cell_value(handle, static_cast<unsigned>(r - 1), static_cast<unsigned short>(c - 1), &cell),
                FREEXL_OK);
            CellValue v = sheet.value(r, c);
            SCOPED_TRACE(::testing::Message() << "(" << r << "," << c << ")");
            if (v.kind == CellKind::Empty) {
                EXPECT_EQ(cell.type, FREEXL_CELL_NULL);
            } else if (v.kind == CellKind::Text) {
                ASSERT_TRUE(cell.type == FREEXL_CELL_SST_TEXT || cell.type == FREEXL_CELL_TEXT);
                EXPECT_EQ(std::string(cell.value.text_value), v.text);
            } else if (cell.type == FREEXL_CELL_INT) {
                EXPECT_EQ(cell.value.int_value, v.number);
            } else {
                ASSERT_EQ(cell.type, FREEXL_CELL_DOUBLE);
                EXPECT_EQ(cell.value.double_value, v.number);
            }
        }
    }
    freexl_close(handle);
}

TEST(RoundTrip, ThroughFreeXl) {
    TempDir dir;
    Sheet values = valuesSheet();
    expectFreeXlReads(values, saveWorkbook(values, dir.file("values.xls")));
    Sheet tiny = tinySheet();
    expectFreeXlReads(tiny, saveWorkbook(tiny, dir.file("tiny.xls")));
}

// --- Independent readers: what we write is a real workbook ---

struct ReaderCase {
    const char* name;
    Sheet (*build)();
};
void PrintTo(const ReaderCase& c, std::ostream* out) {
    *out << c.name;
}

Sheet smallReport() {
    return reportSheet(7);
}
Sheet tallReport() {
    return reportSheet(200);
}
// Settings in an unusual order: a column set after a row, a whole row after cells of it, a range
// setting before the cells are put, and a property changed twice.
Sheet layeredSheet() {
    Sheet sheet;
    sheet.setFontName(Range::row(3), "黑体");
    sheet.setVerticalAlignment(Range::column(2), VerticalAlignment::Center);
    sheet.setBorders(Range::cells(5, 1, 6, 3));
    sheet.putNumber(5, 2, 7.25, NumberFormat::Whole);
    sheet.putText(3, 2, "三行二列");
    sheet.setHorizontalAlignment(Range::column(3), HorizontalAlignment::Center);
    sheet.setFontSize(Range::cells(3, 1, 3, 4), 9);
    sheet.setFontSize(Range::cell(3, 2), 14);
    sheet.setHorizontalAlignment(Range::row(6), HorizontalAlignment::Center);
    sheet.putText(8, 6, "右下");
    sheet.merge(Range::cells(7, 1, 8, 2));
    sheet.merge(Range::cells(7, 1, 9, 3)); // replaces the merge above
    sheet.setColumnWidth(3, 12);
    sheet.setColumnWidth(9, 0);
    return sheet;
}

class IndependentReader : public ::testing::TestWithParam<ReaderCase> {};

TEST_P(IndependentReader, XlrdReadsBackTheModel) {
    TempDir dir;
    Sheet sheet = GetParam().build();
    std::string path = saveWorkbook(sheet, dir.file("xlrd.xls"));
    std::string expected = dir.file("expected.json");
    writeFile(expected, expectedContent(sheet));
    std::string script = std::string(SCORE_SOURCE_DIR) + "/src/spreadsheet/tests/check_with_xlrd.py";
    EXPECT_EQ(run("/usr/bin/python3 " + shellQuoted(script) + " " + shellQuoted(path) + " " + shellQuoted(expected)),
              0);
}

INSTANTIATE_TEST_SUITE_P(Sheets, IndependentReader,
                         ::testing::Values(ReaderCase{"Values", valuesSheet}, ReaderCase{"SmallReport", smallReport},
                                           ReaderCase{"TallReport", tallReport}, ReaderCase{"Layered", layeredSheet}),
                         [](const ::testing::TestParamInfo<ReaderCase>& info) { return info.param.name; });

// One CSV line split into its fields (RFC 4180 quoting).
std::vector<std::string> csvFields(const std::string& line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                fields.back() += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                fields.back() += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

TEST(IndependentReader, LibreOfficeOpensTheFileAndShowsTheValues) {
    TempDir dir;
    Sheet sheet = reportSheet(12);
    sheet.putText(20, 3, "逗号,与\"引号\"");
    std::string path = saveWorkbook(sheet, dir.file("lo.xls"));
    std::string profile = "file://" + dir.file("profile");
    std::string command = "HOME=" + shellQuoted(dir.path().string()) + " soffice --headless --norestore " +
                          shellQuoted("-env:UserInstallation=" + profile) +
                          " --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76,1' --outdir " +
                          shellQuoted(dir.file("out")) + " " + shellQuoted(path) + " > " +
                          shellQuoted(dir.file("soffice.log")) + " 2>&1";
    ASSERT_EQ(run(command), 0) << readFile(dir.file("soffice.log"));
    std::ifstream csv(dir.file("out/lo.csv"));
    ASSERT_TRUE(csv.good()) << readFile(dir.file("soffice.log"));
    std::string line;
    int row = 0;
    while (std::getline(csv, line)) {
        ++row;
        std::vector<std::string> fields = csvFields(line);
        for (int c = 1; c <= std::max<int>(static_cast<int>(fields.size()), sheet.lastColumn()); ++c) {
            std::string shown = c <= static_cast<int>(fields.size()) ? fields[static_cast<std::size_t>(c - 1)] : "";
            EXPECT_EQ(shown, shownText(sheet.value(row, c))) << "(" << row << "," << c << ")";
        }
    }
    EXPECT_EQ(row, sheet.lastRow());
}

// --- Saving ---

TEST(Save, RefusesSheetsBeyondTheLimitsBeforeWriting) {
    TempDir dir;
    Sheet rows;
    rows.putText(kMaxRows + 1, 1, "x");
    Sheet columns;
    columns.putNumber(1, kMaxColumns + 1, 1);
    Sheet wideSetting;
    wideSetting.setBorders(Range::cells(1, 3, 2, kMaxColumns + 5));
    std::string path = dir.file("limits.xls");
    try {
        saveWorkbook(rows, path);
        FAIL();
    } catch (const common::Refusal& refusal) {
        EXPECT_EQ(refusal.what(), messages::workbookTooManyRows(path));
    }
    for (const Sheet* sheet : {&columns, &wideSetting}) {
        try {
            saveWorkbook(*sheet, path);
            FAIL();
        } catch (const common::Refusal& refusal) {
            EXPECT_EQ(refusal.what(), messages::workbookTooManyColumns(path));
        }
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    Sheet full;
    full.putText(kMaxRows, kMaxColumns, "最后一格");
    Worksheet read = Worksheet::open(saveWorkbook(full, path));
    EXPECT_EQ(read.text(kMaxRows, kMaxColumns), "最后一格");
}

TEST(Save, AddsTheExtensionOnlyToANameWithout) {
    TempDir dir;
    Sheet sheet;
    sheet.putText(1, 1, "a");
    EXPECT_EQ(saveWorkbook(sheet, dir.file("报表")), dir.file("报表.xls"));
    EXPECT_EQ(saveWorkbook(sheet, dir.file("报表.xls")), dir.file("报表.xls"));
    EXPECT_EQ(saveWorkbook(sheet, dir.file("a.b")), dir.file("a.b"));
    EXPECT_TRUE(std::filesystem::exists(dir.file("a.b")));
}

TEST(Save, ReplacesAnOlderFile) {
    TempDir dir;
    std::string path = dir.file("old.xls");
    writeFile(path, "older content");
    Sheet sheet;
    sheet.putText(1, 1, "新");
    saveWorkbook(sheet, path);
    EXPECT_EQ(Worksheet::open(path).text(1, 1), "新");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

// Failing file operations: each fails its step with a given error after an allowance.
int g_error = 0;
std::size_t g_allowance = 0;
ssize_t writeUntilFull(int fd, const void* data, std::size_t size) {
    if (g_allowance == 0) {
        errno = g_error;
        return -1;
    }
    std::size_t part = std::min(size, g_allowance);
    g_allowance -= part;
    return ::write(fd, data, part);
}
int openFailing(const char*, int, mode_t) {
    errno = g_error;
    return -1;
}
int renameFailing(const char*, const char*) {
    errno = g_error;
    return -1;
}
int syncFailing(int) {
    errno = g_error;
    return -1;
}

struct FailureCase {
    const char* name;
    detail::FileOperations operations;
    int error;
    const char* reason;
};
void PrintTo(const FailureCase& c, std::ostream* out) {
    *out << c.name;
}

class FailedSave : public ::testing::TestWithParam<FailureCase> {};

TEST_P(FailedSave, LeavesTheOldFileAndNoTemporaryFile) {
    const FailureCase& c = GetParam();
    TempDir dir;
    std::string path = dir.file("年级报表.xls");
    writeFile(path, "the older report");
    g_error = c.error;
    g_allowance = 5000;
    try {
        detail::writeFileAtomically(path, std::string(100000, 'n'), c.operations);
        FAIL() << "no failure";
    } catch (const common::Failure& failure) {
        EXPECT_EQ(failure.what(), messages::workbookSaveFailed(path, c.reason));
    }
    EXPECT_EQ(readFile(path), "the older report");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "a temporary file is left";
}

detail::FileOperations with(ssize_t (*write)(int, const void*, std::size_t)) {
    detail::FileOperations operations = detail::FileOperations::system();
    operations.write = write;
    return operations;
}
detail::FileOperations withOpen(int (*open)(const char*, int, mode_t)) {
    detail::FileOperations operations = detail::FileOperations::system();
    operations.open = open;
    return operations;
}
detail::FileOperations withRename(int (*rename)(const char*, const char*)) {
    detail::FileOperations operations = detail::FileOperations::system();
    operations.rename = rename;
    return operations;
}
detail::FileOperations withSync(int (*sync)(int)) {
    detail::FileOperations operations = detail::FileOperations::system();
    operations.sync = sync;
    return operations;
}

INSTANTIATE_TEST_SUITE_P(
    Steps, FailedSave,
    ::testing::Values(FailureCase{"DiskFullWhileWriting", with(writeUntilFull), ENOSPC, messages::kDiskFull},
                      FailureCase{"QuotaWhileWriting", with(writeUntilFull), EDQUOT, messages::kDiskFull},
                      FailureCase{"FolderNotWritable", withOpen(openFailing), EACCES, messages::kNoWritePermission},
                      FailureCase{"ReadOnlyDisk", withOpen(openFailing), EROFS, messages::kNoWritePermission},
                      FailureCase{"DiskFullWhileFlushing", withSync(syncFailing), ENOSPC, messages::kDiskFull},
                      FailureCase{"TargetLocked", withRename(renameFailing), EBUSY, messages::kFileInUse},
                      FailureCase{"OtherError", withRename(renameFailing), EIO, messages::kWriteError}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return info.param.name; });

TEST(Save, TargetIsAFolderOrInAMissingFolder) {
    TempDir dir;
    Sheet sheet;
    sheet.putText(1, 1, "a");
    std::filesystem::create_directory(dir.file("报表.xls"));
    try {
        saveWorkbook(sheet, dir.file("报表.xls"));
        FAIL();
    } catch (const common::Failure& failure) {
        EXPECT_EQ(failure.what(), messages::workbookSaveFailed(dir.file("报表.xls"), messages::kTargetIsFolder));
    }
    std::string missing = dir.file("没有这个文件夹/报表.xls");
    try {
        saveWorkbook(sheet, missing);
        FAIL();
    } catch (const common::Failure& failure) {
        EXPECT_EQ(failure.what(), messages::workbookSaveFailed(missing, messages::kFolderMissing));
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

} // namespace
} // namespace spreadsheet
