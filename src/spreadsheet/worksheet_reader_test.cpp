#include "worksheet_reader.h"

#include "common/errors.h"
#include "common/messages.h"
#include "compound_file.h"
#include "support/temp_dir.h"
#include "tests/biff_builder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <vector>

namespace spreadsheet {
namespace {

using namespace spreadsheet::testing;
using testing_support::fixture;
using testing_support::readFile;

constexpr unsigned kBiff8 = 0x0600;
constexpr unsigned kBiff5 = 0x0500;

// --- The real workbooks of the shared fixtures (facts from their README) ---

struct FixtureCase {
    const char* file;
    std::vector<std::string> subjects;
    std::vector<double> sums;
    const char* firstExamNumber;
    const char* firstName;
    std::vector<std::string> firstScores;
    int students;
};

void PrintTo(const FixtureCase& c, std::ostream* out) {
    *out << c.file;
}

const std::vector<std::string> kFiveSubjects{"语文", "数学", "英语", "物理", "化学"};
const std::vector<double> kFiveSums{12052, 12664.5, 12212.5, 8106, 8214.5};

class RealWorkbook : public ::testing::TestWithParam<FixtureCase> {};

TEST_P(RealWorkbook, GivesTheKnownContent) {
    const FixtureCase& c = GetParam();
    Worksheet sheet = Worksheet::open(fixture(std::string("workbooks/") + c.file).string());
    for (std::size_t i = 0; i < c.subjects.size(); ++i) {
        EXPECT_EQ(sheet.text(1, static_cast<int>(i) + 3), c.subjects[i]);
    }
    EXPECT_EQ(sheet.text(1, static_cast<int>(c.subjects.size()) + 3), "") << "the subject columns end here";
    int students = 0;
    std::vector<double> sums(c.subjects.size(), 0.0);
    for (int row = 2; !sheet.text(row, 1).empty(); ++row) {
        ++students;
        for (std::size_t i = 0; i < c.subjects.size(); ++i) {
            ReadCell score = sheet.cell(row, static_cast<int>(i) + 3);
            ASSERT_EQ(score.kind, ReadKind::Number) << "row " << row;
            sums[i] += score.number;
        }
    }
    EXPECT_EQ(students, c.students);
    for (std::size_t i = 0; i < sums.size(); ++i) {
        EXPECT_DOUBLE_EQ(sums[i], c.sums[i]) << c.subjects[i];
    }
    EXPECT_EQ(sheet.text(2, 1), c.firstExamNumber);
    EXPECT_EQ(sheet.text(2, 2), c.firstName);
    for (std::size_t i = 0; i < c.firstScores.size(); ++i) {
        EXPECT_EQ(sheet.text(2, static_cast<int>(i) + 3), c.firstScores[i]);
    }
    EXPECT_EQ(sheet.lastRow(), students + 1);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, RealWorkbook,
    ::testing::Values(
        FixtureCase{"lo-biff8-normal.xls", kFiveSubjects, kFiveSums, "010201001", "魏玉芬", {}, 120},
        FixtureCase{"gnumeric-biff8-normal.xls", kFiveSubjects, kFiveSums, "010201001", "魏玉芬", {}, 120},
        FixtureCase{"gnumeric-biff5-gbk-normal.xls", kFiveSubjects, kFiveSums, "010201001", "魏玉芬", {}, 120},
        FixtureCase{"lo-biff8-formula.xls",
                    {"语文", "数学", "英语"},
                    {3072.5, 2554.5, 3064.5},
                    "010201001",
                    "梁华",
                    {"113", "58.5", "69.5"},
                    30},
        FixtureCase{"gnumeric-biff5-gbk-formula.xls",
                    {"语文", "数学", "英语"},
                    {3072.5, 2554.5, 3064.5},
                    "010201001",
                    "梁华",
                    {"113", "58.5", "69.5"},
                    30}),
    [](const ::testing::TestParamInfo<FixtureCase>& info) {
        std::string name = info.param.file;
        for (char& ch : name) {
            if (!std::isalnum(static_cast<unsigned char>(ch))) {
                ch = '_';
            }
        }
        return name;
    });

TEST(RealWorkbook, ExamNumbersInNumberCellsReadAsTheirDecimalText) {
    Worksheet sheet = Worksheet::open(fixture("workbooks/lo-biff8-examno-number.xls").string());
    EXPECT_EQ(sheet.cell(2, 1).kind, ReadKind::Number);
    EXPECT_EQ(sheet.text(2, 1), "10201001");
    int students = 0;
    for (int row = 2; !sheet.text(row, 1).empty(); ++row) {
        ++students;
        EXPECT_EQ(sheet.text(row, 1).substr(2, 2), "20") << "row " << row;
    }
    EXPECT_EQ(students, 90);
}

TEST(RealWorkbook, BrokenCodePageStillGivesNumbersAndExamNumbers) {
    // BIFF5 declaring code page 1200 with UTF-16 bytes in its 8-bit strings: 40 students.
    Worksheet sheet = Worksheet::open(fixture("workbooks/gnumeric-biff5-broken-codepage.xls").string());
    ASSERT_EQ(sheet.lastRow(), 41);
    for (int row = 2; row <= sheet.lastRow(); ++row) {
        std::string examNumber = sheet.text(row, 1);
        EXPECT_EQ(examNumber.size(), 9u) << "row " << row;
        EXPECT_EQ(examNumber.substr(0, 4), "0102") << "row " << row;
        EXPECT_FALSE(sheet.text(row, 2).empty());
        for (int column = 3; column <= 7; ++column) {
            ReadCell score = sheet.cell(row, column);
            EXPECT_EQ(score.kind, ReadKind::Number) << row << "," << column;
            EXPECT_TRUE(score.number >= 0 && score.number <= 150) << row << "," << column;
        }
    }
    // The headers may come out garbled (an even number of UTF-16 bytes that are all ASCII cannot be
    // told from ASCII text), but there are five of them and then the end of the subjects.
    for (int column = 3; column <= 7; ++column) {
        EXPECT_FALSE(sheet.text(1, column).empty()) << column;
    }
    EXPECT_EQ(sheet.text(1, 8), "");
    EXPECT_EQ(sheet.text(1, 3), "语文") << "non-ASCII UTF-16 bytes are read as UTF-16";
}

TEST(RealWorkbook, SheetNameOfTheFirstWorksheet) {
    Worksheet lo = Worksheet::open(fixture("workbooks/lo-biff8-normal.xls").string());
    Worksheet gbk = Worksheet::open(fixture("workbooks/gnumeric-biff5-gbk-normal.xls").string());
    EXPECT_FALSE(lo.name().empty());
    EXPECT_EQ(gbk.name(), lo.name());
}

// --- Refusals ---

struct RefusalCase {
    const char* name;
    std::string bytes;
    std::string (*message)(std::string_view path);
};

void PrintTo(const RefusalCase& c, std::ostream* out) {
    *out << c.name;
}

std::string corruptMessage(std::string_view) {
    return "";
} // any workbookCorrupt text

// A compound file holding a stream that is no workbook stream.
std::string compoundFileWithout() {
    std::string file = ole::writeWorkbookFile(bof(kBiff8, 5) + eof());
    const std::string name = std::string("W\0o\0r\0k\0b\0o\0o\0k\0", 16);
    std::size_t at = file.find(name);
    file[at] = 'X';
    return file;
}

std::vector<RefusalCase> refusalCases() {
    std::string normal = readFile(fixture("workbooks/lo-biff8-normal.xls"));
    std::mt19937 random(42);
    std::string noise(4096, '\0');
    for (char& c : noise) {
        c = static_cast<char>(random());
    }
    std::string cells = number(0, 0, 1);
    return {
        {"Empty", "", messages::workbookNotExcel97},
        {"Csv", "考号,姓名,语文\n010201001,魏玉芬,90\n", messages::workbookNotExcel97},
        {"RandomBytes", noise, messages::workbookNotExcel97},
        {"Xlsx", readFile(fixture("workbooks/lo-normal.xlsx")), messages::workbookNotExcel97},
        {"CompoundFileWithoutWorkbook", compoundFileWithout(), messages::workbookNotExcel97},
        {"Biff2", record(0x0009, le16(2) + le16(0x10)) + eof(), messages::workbookOldFormat},
        {"Biff4", record(0x0409, le16(0) + le16(0x10) + le16(0)) + eof(), messages::workbookOldFormat},
        {"Biff4InCompoundFile", ole::writeWorkbookFile(record(0x0409, le16(0) + le16(0x10) + le16(0)) + eof()),
         messages::workbookOldFormat},
        {"PasswordProtected",
         ole::writeWorkbookFile(workbook(kBiff8, record(0x002F, le16(1) + std::string(52, '\x11')), cells)),
         messages::workbookEncrypted},
        {"OnlyAChartSheet", bof(kBiff8, 5) + boundSheet(kBiff8, 0, 2, "Chart1") + eof(),
         messages::workbookWithoutWorksheet},
        {"TruncatedCompoundFile", normal.substr(0, normal.size() / 2), corruptMessage},
        {"TruncatedStream", workbook(kBiff8, "", cells).substr(0, 60), corruptMessage},
        {"RecordLongerThanTheStream", bof(kBiff8, 5) + le16(0x0042) + le16(200) + le16(1200), corruptMessage},
        {"NoEndOfGlobals", bof(kBiff8, 5) + record(0x0042, le16(1200)), corruptMessage},
        {"SheetPositionBeyondTheStream", bof(kBiff8, 5) + boundSheet(kBiff8, 100000, 0, "S") + eof(), corruptMessage},
        {"SheetPositionNotAtABof", bof(kBiff8, 5) + boundSheet(kBiff8, 4, 0, "S") + eof(), corruptMessage},
        {"SharedStringIndexBeyondTheTable",
         workbook(kBiff8, record(0x00FC, le32(1) + le32(1) + le16(1) + bytes({0}) + "a"), labelSst(0, 0, 5)),
         corruptMessage},
        {"StringTableShorterThanItsStrings",
         workbook(kBiff8, record(0x00FC, le32(1) + le32(1) + le16(500) + bytes({0}) + "abc"), labelSst(0, 0, 0)),
         corruptMessage},
        {"NumberRecordTooShort", workbook(kBiff8, "", record(0x0203, cellHeader(0, 0) + "12")), corruptMessage},
        {"LabelLongerThanItsRecord",
         workbook(kBiff8, "", record(0x0204, cellHeader(0, 0) + le16(40) + bytes({0}) + "ab")), corruptMessage},
        {"UnknownVersion", workbook(0x0700, "", cells), corruptMessage},
    };
}

class Refused : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(Refused, WithTheReasonNamingTheFile) {
    const RefusalCase& c = GetParam();
    const std::string name = "/scores/年级成绩.xls";
    try {
        Worksheet::openBytes(c.bytes, name);
        FAIL() << "no refusal";
    } catch (const common::Refusal& refusal) {
        std::string expected = c.message(name);
        if (expected.empty()) {
            std::string prefix = messages::workbookCorrupt(name, "");
            prefix = prefix.substr(0, prefix.find("（") + std::string("（").size());
            EXPECT_EQ(std::string(refusal.what()).substr(0, prefix.size()), prefix) << refusal.what();
        } else {
            EXPECT_EQ(refusal.what(), expected);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Inputs, Refused, ::testing::ValuesIn(refusalCases()),
                         [](const ::testing::TestParamInfo<RefusalCase>& info) { return info.param.name; });

TEST(Refused, MissingFileAndFolder) {
    testing_support::TempDir dir;
    std::string missing = dir.file("无此文件.xls");
    try {
        Worksheet::open(missing);
        FAIL() << "no refusal";
    } catch (const common::Refusal& refusal) {
        EXPECT_EQ(refusal.what(), messages::workbookUnreadable(missing));
    }
    try {
        Worksheet::open(dir.path().string());
        FAIL() << "no refusal";
    } catch (const common::Refusal& refusal) {
        EXPECT_EQ(refusal.what(), messages::workbookUnreadable(dir.path().string()));
    }
}

TEST(Refused, EveryTruncationOfARealWorkbookIsRefusedOrReadWithoutCrashing) {
    std::string normal = readFile(fixture("workbooks/gnumeric-biff5-gbk-formula.xls"));
    for (std::size_t length = 0; length < normal.size(); length += 97) {
        SCOPED_TRACE(length);
        EXPECT_THROW(Worksheet::openBytes(normal.substr(0, length), "x.xls"), common::Refusal);
    }
}

// --- Records built by hand ---

std::string sst(const std::vector<std::string>& segments) {
    std::string out = record(0x00FC, segments[0]);
    for (std::size_t i = 1; i < segments.size(); ++i) {
        out += record(0x003C, segments[i]);
    }
    return out;
}

TEST(Records, SharedStringsAcrossContinueRecordsWithTheRepeatedFlagsByte) {
    std::string utf16;
    for (char16_t unit : std::u16string(u"成绩表")) {
        utf16 += le16(unit);
    }
    std::vector<std::string> segments{
        // cstTotal, cstUnique; "abcdef" 8-bit, cut after "abc"
        le32(3) + le32(3) + le16(6) + bytes({0}) + "abc",
        // the flags byte again, now 16-bit: "def" goes on as UTF-16
        bytes({1}) + le16('d') + le16('e') + le16('f') +
            // "成绩表" 16-bit, rich text with one run and 4 bytes of phonetic data; cut after "成"
            le16(3) + bytes({0x0D}) + le16(1) + le32(4) + utf16.substr(0, 2),
        bytes({1}) + utf16.substr(2) + le32(0) + le32(0xAABBCCDD),
        // the third string starts in a record of its own
        le16(2) + bytes({0}) + "xy",
    };
    std::string stream = workbook(kBiff8, sst(segments), labelSst(0, 0, 0) + labelSst(0, 1, 1) + labelSst(1, 0, 2));
    Worksheet sheet = Worksheet::openBytes(stream, "t.xls");
    EXPECT_EQ(sheet.text(1, 1), "abcdef");
    EXPECT_EQ(sheet.text(1, 2), "成绩表");
    EXPECT_EQ(sheet.text(2, 1), "xy");
    EXPECT_EQ(sheet.lastRow(), 2);
    EXPECT_EQ(sheet.lastColumn(), 2);
}

TEST(Records, NumbersOfEveryKind) {
    std::string cells = number(0, 0, 85.5) + record(0x027E, cellHeader(0, 1) + le32((90u << 2) | 2)) + // RK integer
                        record(0x027E, cellHeader(0, 2) + le32((7415u << 2) | 3)) + // RK integer / 100
                        // MULRK: columns 3 and 4 of row 0
                        record(0x00BD, le16(0) + le16(3) + le16(15) + le32((10203001u << 2) | 2) + le16(15) +
                                           le32((1u << 2) | 2) + le16(4)) +
                        record(0x0205, cellHeader(1, 0) + bytes({1, 0})) +    // TRUE
                        record(0x0205, cellHeader(1, 1) + bytes({0x07, 1})) + // #DIV/0!
                        number(1, 2, -0.0) + number(1, 3, 1e20) + number(1, 4, 0.1 + 0.2);
    Worksheet sheet = Worksheet::openBytes(workbook(kBiff8, "", cells), "t.xls");
    std::vector<std::pair<std::pair<int, int>, std::string>> expected{
        {{1, 1}, "85.5"},     {{1, 2}, "90"}, {{1, 3}, "74.15"},
        {{1, 4}, "10203001"}, {{1, 5}, "1"},  {{2, 1}, "TRUE"},
        {{2, 2}, "#DIV/0!"},  {{2, 3}, "0"},  {{2, 4}, "100000000000000000000"},
        {{2, 5}, "0.3"}};
    for (const auto& [at, text] : expected) {
        EXPECT_EQ(sheet.text(at.first, at.second), text) << at.first << "," << at.second;
    }
    EXPECT_EQ(sheet.cell(2, 1).kind, ReadKind::Boolean);
    EXPECT_EQ(sheet.cell(2, 2).kind, ReadKind::Error);
    EXPECT_EQ(sheet.cell(3, 1).kind, ReadKind::Empty);
    EXPECT_EQ(sheet.text(100, 200), "");
    EXPECT_EQ(sheet.text(0, 0), "");
}

TEST(Records, FormulaResults) {
    auto formula = [](unsigned row, unsigned column, const std::string& result) {
        return record(0x0006, cellHeader(row, column) + result + le16(0) + le32(0) + le16(0));
    };
    auto special = [](unsigned type, unsigned value) { return bytes({type, 0, value, 0, 0, 0, 0xFF, 0xFF}); };
    std::string longText(9000, 'q');
    std::string cells = formula(0, 0, f64(58.5)) + formula(0, 1, special(0, 0)) +
                        record(0x04BC, std::string(10, '\0')) + // SHRFMLA between FORMULA and STRING
                        record(0x0207, le16(2) + bytes({0}) + "ok") + formula(0, 2, special(1, 1)) +
                        formula(0, 3, special(2, 0x2A)) + formula(0, 4, special(3, 0)) +
                        // a string result of 9000 characters, continued with a repeated flags byte
                        formula(1, 0, special(0, 0)) +
                        record(0x0207, le16(9000) + bytes({0}) + longText.substr(0, 8000)) +
                        record(0x003C, bytes({0}) + longText.substr(8000));
    Worksheet sheet = Worksheet::openBytes(workbook(kBiff8, "", cells), "t.xls");
    EXPECT_EQ(sheet.text(1, 1), "58.5");
    EXPECT_EQ(sheet.text(1, 2), "ok");
    EXPECT_EQ(sheet.text(1, 3), "TRUE");
    EXPECT_EQ(sheet.text(1, 4), "#N/A");
    EXPECT_EQ(sheet.cell(1, 5).kind, ReadKind::Empty);
    EXPECT_EQ(sheet.text(2, 1), longText);
}

TEST(Records, Biff5TextInTheCodePage) {
    // "语文" in GBK, and the sheet name "成绩" in GBK.
    std::string gbk = bytes({0xD3, 0xEF, 0xCE, 0xC4});
    std::string name = bytes({0xB3, 0xC9, 0xBC, 0xA8});
    std::string cells = record(0x0204, cellHeader(0, 0) + le16(4) + gbk) +
                        record(0x0204, cellHeader(0, 1) + le16(3) + "abc") +
                        record(0x0204, cellHeader(0, 2) + le16(2) + bytes({0xFF, 0x41}));
    Worksheet sheet = Worksheet::openBytes(workbook(kBiff5, record(0x0042, le16(936)), cells, name), "t.xls");
    EXPECT_EQ(sheet.name(), "成绩");
    EXPECT_EQ(sheet.text(1, 1), "语文");
    EXPECT_EQ(sheet.text(1, 2), "abc");
    EXPECT_EQ(sheet.text(1, 3), "\xEF\xBF\xBD"
                                "A")
        << "an undefined byte becomes U+FFFD";
}

TEST(Records, FirstWorksheetAfterAChartSheetAndWithAnEmbeddedChart) {
    std::string chartSheet = boundSheet(kBiff8, 0, 2, "Chart1");
    std::string embeddedChart = bof(kBiff8, 0x20) + number(5, 5, 99) + eof();
    std::string cells = number(0, 0, 1) + embeddedChart + number(0, 1, 2) + number(0, 0, 3); // the last record wins
    Worksheet sheet = Worksheet::openBytes(workbook(kBiff8, "", cells, "Data", chartSheet), "t.xls");
    EXPECT_EQ(sheet.name(), "Data");
    EXPECT_EQ(sheet.text(1, 1), "3");
    EXPECT_EQ(sheet.text(1, 2), "2");
    EXPECT_EQ(sheet.text(6, 6), "") << "cells of an embedded chart are not the sheet's";
    EXPECT_EQ(sheet.lastRow(), 1);
}

TEST(Records, CellsOutOfOrderAreFound) {
    std::string cells;
    for (int row = 40; row >= 0; row -= 2) {
        cells += number(static_cast<unsigned>(row), 7, row) + number(static_cast<unsigned>(row), 2, -row);
    }
    Worksheet sheet = Worksheet::openBytes(ole::writeWorkbookFile(workbook(kBiff8, "", cells)), "t.xls");
    for (int row = 0; row <= 40; row += 2) {
        EXPECT_EQ(sheet.cell(row + 1, 8).number, row);
        EXPECT_EQ(sheet.cell(row + 1, 3).number, -row);
        EXPECT_EQ(sheet.cell(row + 2, 8).kind, ReadKind::Empty);
    }
    EXPECT_EQ(sheet.lastRow(), 41);
    EXPECT_EQ(sheet.lastColumn(), 8);
}

} // namespace
} // namespace spreadsheet
