#pragma once

#include "import/grade_data_set.h"
#include "spreadsheet/sheet.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// What the class and the teacher evaluation reports share.
namespace reports {

// Pass and excellence lines: 6/10 and 8/10 of the full marks, each the double nearest to the exact
// product (full marks 99 give 59.4, the same double a typed 59.4 reads as).
double passLine(std::int64_t fullMarks);
double excellentLine(std::int64_t fullMarks);

// The figures gathered over a participating group, its members added one by one, best first: the
// sum of their values and how many reached the pass and the excellence line.
struct GroupTally {
    double passLine = 0;
    double excellentLine = 0;
    std::int64_t admitted = 0;
    std::int64_t passed = 0;
    std::int64_t excellent = 0;
    double sum = 0;

    void add(double value) {
        ++admitted;
        sum += value;
        passed += value >= passLine ? 1 : 0;
        excellent += value >= excellentLine ? 1 : 0;
    }
};

// A count of the group as a percentage of the participation count: count / n x 100.
double percentOf(std::int64_t count, std::int64_t participants);

// One merged block in column 1 over the data rows (class row k is sheet row k + 3) of each run of
// consecutive classes of ClassSumArray with the same school code, made before any data row is written.
void putSchoolBlocks(spreadsheet::Sheet& sheet, const scores::GradeDataSet& data);

// The students of each class row of ClassSumArray, as rows of StudentArray in their present order.
// Class rows that share all three codes share their students.
class ClassMembers {
public:
    explicit ClassMembers(const scores::GradeDataSet& data);
    // The StudentArray rows of class row k (1-based).
    const std::vector<int>& of(int classRow) const { return m_groups[m_groupOfClass[static_cast<std::size_t>(classRow - 1)]]; }
    // The group (index) of each student row, or -1 for a student of no class: groupOfStudent[i - 1].
    const std::vector<int>& groupOfStudent() const { return m_groupOfStudent; }
    int groupOfClass(int classRow) const { return m_groupOfClass[static_cast<std::size_t>(classRow - 1)]; }
    std::size_t groupCount() const { return m_groups.size(); }

private:
    std::vector<std::vector<int>> m_groups;
    std::vector<int> m_groupOfClass;
    std::vector<int> m_groupOfStudent;
};

// The trimmed name of the first (or the last) SchoolArray row whose code is `code`; empty when none.
std::string firstSchoolName(const scores::GradeDataSet& data, std::string_view code);
std::string lastSchoolName(const scores::GradeDataSet& data, std::string_view code);

// Competition ranks of keys in the given order: rank[i] = 1 + the number of keys before it that are
// strictly greater, for keys sorted highest first (1, 2, 2, 4).
template <typename Key> std::vector<std::int64_t> competitionRanks(const std::vector<Key>& sortedKeys) {
    std::vector<std::int64_t> ranks(sortedKeys.size());
    for (std::size_t i = 0; i < sortedKeys.size(); ++i) {
        ranks[i] = (i > 0 && sortedKeys[i] == sortedKeys[i - 1]) ? ranks[i - 1] : static_cast<std::int64_t>(i) + 1;
    }
    return ranks;
}

} // namespace reports
