#include "sheet.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

namespace spreadsheet {
namespace {

// --- Cell puts ---

struct PutCase {
    const char* name;
    std::function<void(Sheet&)> put;
    CellKind kind;
    double number;
    std::string text;
    NumberFormat format;
};
void PrintTo(const PutCase& c, std::ostream* out) {
    *out << c.name;
}

class Put : public ::testing::TestWithParam<PutCase> {};

TEST_P(Put, StoresTheValueAsASpreadsheetCellWould) {
    const PutCase& c = GetParam();
    Sheet sheet;
    c.put(sheet);
    CellValue value = sheet.value(2, 3);
    EXPECT_EQ(value.kind, c.kind);
    EXPECT_EQ(value.number, c.number);
    EXPECT_EQ(value.text, c.text);
    EXPECT_EQ(value.format, c.format);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Put,
    ::testing::Values(PutCase{"TextAsGiven", [](Sheet& s) { s.putText(2, 3, "'考号 "); }, CellKind::Text, 0, "'考号 ",
                              NumberFormat::General},
                      PutCase{"EntryWithApostropheKeepsLeadingZeros", [](Sheet& s) { s.putEntry(2, 3, "'010201001"); },
                              CellKind::Text, 0, "010201001", NumberFormat::General},
                      PutCase{"EntryWithoutApostrophe", [](Sheet& s) { s.putEntry(2, 3, "85.5"); }, CellKind::Text, 0,
                              "85.5", NumberFormat::General},
                      PutCase{"OneDecimalStoresTheRoundedValue",
                              [](Sheet& s) { s.putNumber(2, 3, 74.15, NumberFormat::OneDecimal); }, CellKind::Number,
                              74.2, "", NumberFormat::OneDecimal},
                      PutCase{"OneDecimalHalfAwayFromZero",
                              [](Sheet& s) { s.putNumber(2, 3, 85.25, NumberFormat::OneDecimal); }, CellKind::Number,
                              85.3, "", NumberFormat::OneDecimal},
                      PutCase{"WholeNumber", [](Sheet& s) { s.putNumber(2, 3, 40.5, NumberFormat::Whole); },
                              CellKind::Number, 41, "", NumberFormat::Whole},
                      PutCase{"NoNegativeZero", [](Sheet& s) { s.putNumber(2, 3, -0.04, NumberFormat::OneDecimal); },
                              CellKind::Number, 0, "", NumberFormat::OneDecimal},
                      PutCase{"GeneralAtFifteenDigits", [](Sheet& s) { s.putNumber(2, 3, 0.1 + 0.2); },
                              CellKind::Number, 0.3, "", NumberFormat::General},
                      PutCase{"NoFiniteNumber", [](Sheet& s) { s.putNumber(2, 3, 1.0 / 0.0); }, CellKind::Text, 0,
                              "#NUM!", NumberFormat::General},
                      PutCase{"CodeOfDigitsIsANumber", [](Sheet& s) { s.putCode(2, 3, "05"); }, CellKind::Number, 5, "",
                              NumberFormat::General},
                      PutCase{"CodeWithLettersIsText", [](Sheet& s) { s.putCode(2, 3, "0A"); }, CellKind::Text, 0, "0A",
                              NumberFormat::General},
                      PutCase{"CodeWithSpaceIsText", [](Sheet& s) { s.putCode(2, 3, " 5"); }, CellKind::Text, 0, " 5",
                              NumberFormat::General},
                      PutCase{"LaterPutReplaces",
                              [](Sheet& s) {
                                  s.putText(2, 3, "旧");
                                  s.putNumber(2, 3, 7);
                              },
                              CellKind::Number, 7, "", NumberFormat::General},
                      PutCase{"EmptyTextEmptiesTheCell",
                              [](Sheet& s) {
                                  s.putNumber(2, 3, 7);
                                  s.putText(2, 3, "");
                              },
                              CellKind::Empty, 0, "", NumberFormat::General}),
    [](const ::testing::TestParamInfo<PutCase>& info) { return info.param.name; });

TEST(Put, RowsAndColumnsBelowOneAreRefused) {
    Sheet sheet;
    EXPECT_THROW(sheet.putText(0, 1, "x"), std::out_of_range);
    EXPECT_THROW(sheet.putNumber(1, 0, 1), std::out_of_range);
    EXPECT_THROW(sheet.setBorders(Range::cells(0, 1, 2, 2)), std::out_of_range);
    EXPECT_THROW(sheet.value(1, -1), std::out_of_range);
}

TEST(Put, CellsBeyondTheLimitsAreKept) {
    Sheet sheet;
    sheet.putText(kMaxRows + 10, 2, "远");
    EXPECT_EQ(sheet.value(kMaxRows + 10, 2).text, "远");
    EXPECT_EQ(sheet.lastRow(), kMaxRows + 10);
}

// --- Formatting ---

CellFormat look(const char* font, int size, bool borders, HorizontalAlignment h, VerticalAlignment v) {
    return CellFormat{font, size, borders, h, v};
}
constexpr auto kGeneral = HorizontalAlignment::General;
constexpr auto kCentre = HorizontalAlignment::Center;
constexpr auto kBottom = VerticalAlignment::Bottom;
constexpr auto kMiddle = VerticalAlignment::Center;

TEST(Format, TheReportsOrderOfCallsGivesTheSpreadsheetsLook) {
    Sheet sheet;
    sheet.putText(5, 2, "早于格式的单元格");
    sheet.setHorizontalAlignment(Range::row(1), kCentre);
    sheet.setFontName(Range::cells(1, 1, 1, 14), "黑体");
    sheet.setFontSize(Range::cells(1, 1, 1, 14), 12);
    sheet.setHorizontalAlignment(Range::row(2), kCentre);
    for (int c = 1; c <= 14; ++c) {
        sheet.setVerticalAlignment(Range::column(c), kMiddle);
        sheet.setHorizontalAlignment(Range::column(c), kCentre);
    }
    sheet.setBorders(Range::cells(2, 1, 10, 14));
    sheet.setFontSize(Range::cells(2, 1, 10, 14), 9);

    EXPECT_EQ(sheet.format(1, 1), look("黑体", 12, false, kCentre, kMiddle)) << "keeps 黑体 when its column is centred";
    EXPECT_EQ(sheet.format(1, 20), look("宋体", 12, false, kCentre, kBottom)) << "row 1 only";
    EXPECT_EQ(sheet.format(2, 20), look("宋体", 12, false, kCentre, kBottom)) << "row 2 only";
    EXPECT_EQ(sheet.format(5, 2), look("宋体", 9, true, kCentre, kMiddle)) << "a cell put before the settings";
    EXPECT_EQ(sheet.format(10, 14), look("宋体", 9, true, kCentre, kMiddle));
    EXPECT_EQ(sheet.format(11, 14), look("宋体", 12, false, kCentre, kMiddle)) << "below the grid";
    EXPECT_EQ(sheet.format(11, 15), look("宋体", 12, false, kGeneral, kBottom)) << "untouched";
    sheet.putText(9, 9, "后放入的单元格");
    EXPECT_EQ(sheet.format(9, 9), look("宋体", 9, true, kCentre, kMiddle)) << "a cell put after the settings";
}

TEST(Format, TheLatestSettingOfAPropertyWins) {
    Sheet sheet;
    sheet.setHorizontalAlignment(Range::column(3), kCentre);
    sheet.setHorizontalAlignment(Range::row(4), kGeneral);
    sheet.setFontSize(Range::cells(1, 1, 9, 9), 9);
    sheet.setFontSize(Range::cell(4, 3), 14);
    sheet.setFontName(Range::cell(4, 3), "黑体");
    sheet.setFontName(Range::cell(4, 3), "楷体");
    EXPECT_EQ(sheet.format(4, 3), look("楷体", 14, false, kGeneral, kBottom));
    EXPECT_EQ(sheet.format(5, 3), look("宋体", 9, false, kCentre, kBottom));
    EXPECT_EQ(sheet.format(4, 4), look("宋体", 9, false, kGeneral, kBottom));
}

TEST(Format, RangesInEitherCornerOrder) {
    Sheet sheet;
    sheet.setBorders(Range::cells(5, 4, 2, 1));
    EXPECT_TRUE(sheet.format(2, 1).borders);
    EXPECT_TRUE(sheet.format(5, 4).borders);
    EXPECT_FALSE(sheet.format(6, 4).borders);
    EXPECT_EQ(sheet.lastRow(), 5);
    EXPECT_EQ(sheet.lastColumn(), 4);
}

TEST(Format, FontSizesStayWithinTheFormatsRange) {
    Sheet sheet;
    sheet.setFontSize(Range::cell(1, 1), 0);
    sheet.setFontSize(Range::cell(1, 2), 1000);
    EXPECT_EQ(sheet.format(1, 1).fontSize, 1);
    EXPECT_EQ(sheet.format(1, 2).fontSize, 409);
}

// --- Merges ---

TEST(Merge, ReplacesOverlappedMergesAndNeverDuplicates) {
    Sheet sheet;
    sheet.merge(Range::cells(2, 1, 3, 1));
    sheet.merge(Range::cells(2, 2, 3, 2));
    sheet.merge(Range::cells(5, 5, 6, 6));
    sheet.merge(Range::cells(2, 1, 3, 1)); // the same again: nothing changes
    EXPECT_EQ(sheet.merges().size(), 3u);
    sheet.merge(Range::cells(1, 1, 3, 4)); // covers the first two
    std::vector<Range> expected{Range::cells(5, 5, 6, 6), Range::cells(1, 1, 3, 4)};
    EXPECT_EQ(sheet.merges(), expected);
    sheet.merge(Range::cells(6, 6, 7, 7)); // overlaps a corner of (5,5)-(6,6)
    expected = {Range::cells(1, 1, 3, 4), Range::cells(6, 6, 7, 7)};
    EXPECT_EQ(sheet.merges(), expected);
    sheet.merge(Range::cell(1, 1)); // a single cell is no merge
    EXPECT_EQ(sheet.merges(), expected);
    EXPECT_EQ(sheet.lastRow(), 7);
}

// --- Name, widths, selection, extent ---

struct NameCase {
    const char* name;
    std::string given;
    std::string stored;
};
void PrintTo(const NameCase& c, std::ostream* out) {
    *out << c.name;
}

class Name : public ::testing::TestWithParam<NameCase> {};

TEST_P(Name, IsOneTheFormatAllows) {
    Sheet sheet;
    sheet.setName(GetParam().given);
    EXPECT_EQ(sheet.name(), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Name,
    ::testing::Values(NameCase{"Kept", "高二班级评估表", "高二班级评估表"}, NameCase{"Empty", "", "Sheet1"},
                      NameCase{"ForbiddenCharacters", "a:b\\c/d?e*f[g]h", "a_b_c_d_e_f_g_h"},
                      NameCase{"Apostrophes", "'引号'", "_引号_"},
                      NameCase{"ThirtyOneCharacters", std::string(40, 'x'), std::string(31, 'x')},
                      NameCase{"ThirtyOneChineseCharacters",
                               "一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一二三四五",
                               "一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一"}),
    [](const ::testing::TestParamInfo<NameCase>& info) { return info.param.name; });

TEST(Sheet, WidthsSelectionAndExtent) {
    Sheet sheet;
    EXPECT_EQ(sheet.lastRow(), 0);
    EXPECT_EQ(sheet.lastColumn(), 0);
    EXPECT_EQ(sheet.selection(), Range::cell(1, 1));
    sheet.setColumnWidth(3, 6);
    sheet.setColumnWidth(4, 300);
    EXPECT_EQ(sheet.columnWidth(3), 6);
    EXPECT_EQ(sheet.columnWidth(4), 255);
    EXPECT_EQ(sheet.columnWidth(5), std::nullopt);
    sheet.setHorizontalAlignment(Range::row(40), kCentre); // whole rows and columns do not count
    sheet.setVerticalAlignment(Range::column(30), kMiddle);
    EXPECT_EQ(sheet.lastRow(), 0);
    EXPECT_EQ(sheet.lastColumn(), 0);
    sheet.putNumber(3, 2, 1);
    sheet.setBorders(Range::cells(2, 1, 6, 5));
    sheet.select(Range::cells(6, 5, 2, 1));
    EXPECT_EQ(sheet.lastRow(), 6);
    EXPECT_EQ(sheet.lastColumn(), 5);
    EXPECT_EQ(sheet.selection(), Range::cells(2, 1, 6, 5));
}

} // namespace
} // namespace spreadsheet
