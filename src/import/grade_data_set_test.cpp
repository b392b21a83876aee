#include "grade_data_set.h"

#include <gtest/gtest.h>

namespace scores {
namespace {

TEST(Table, BoundsAreInclusiveAndChecked) {
    Table table(2, -1, 3);
    EXPECT_TRUE(table.created());
    table.at(0, -1) = std::string("学校");
    table.at(2, 3) = 4.5;
    table.at(1, 0) = std::int64_t{7};
    EXPECT_EQ(table.text(0, -1), "学校");
    EXPECT_EQ(table.number(2, 3), 4.5);
    EXPECT_EQ(table.number(1, 0), 7.0);
    EXPECT_EQ(table.integer(1, 0), 7);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(table.at(2, -1)));
    EXPECT_THROW(table.at(3, 0), std::out_of_range);
    EXPECT_THROW(table.at(0, -2), std::out_of_range);
    EXPECT_THROW(table.at(0, 4), std::out_of_range);
    EXPECT_THROW(table.text(2, 3), std::bad_variant_access);
    EXPECT_FALSE(Table().created());
}

TEST(Table, ReorderMovesWholeDataRowsAndKeepsTheTitles) {
    Table table(3, 1, 2);
    table.at(0, 1) = std::string("考号");
    for (int row = 1; row <= 3; ++row) {
        table.at(row, 1) = std::string(1, static_cast<char>('A' + row - 1));
        table.at(row, 2) = static_cast<double>(row);
    }
    table.reorderDataRows({2, 0, 1});
    EXPECT_EQ(table.text(0, 1), "考号");
    EXPECT_EQ(table.text(1, 1), "C");
    EXPECT_EQ(table.number(1, 2), 3.0);
    EXPECT_EQ(table.text(2, 1), "A");
    EXPECT_EQ(table.text(3, 1), "B");
    EXPECT_THROW(table.reorderDataRows({0, 1}), std::invalid_argument);
}

TEST(ExamCodes, TwoCharactersEachAndEmptyBeyondTheEnd) {
    struct Case {
        const char* examNumber;
        const char* school;
        const char* grade;
        const char* schoolClass;
    };
    const Case cases[] = {
        {"010203001", "01", "02", "03"},
        {"010203", "01", "02", "03"},
        {"010203000000", "01", "02", "03"},
        {"10201001", "10", "20", "10"},
        {"0102", "01", "02", ""},
        {"0", "0", "", ""},
        {"一中初二三班", "一中", "初二", "三班"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.examNumber);
        const ExamCodes codes = examCodes(c.examNumber);
        EXPECT_EQ(codes.school, c.school);
        EXPECT_EQ(codes.grade, c.grade);
        EXPECT_EQ(codes.schoolClass, c.schoolClass);
    }
}

} // namespace
} // namespace scores
