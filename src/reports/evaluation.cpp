#include "evaluation.h"

#include "report_layout.h"

#include "common/text.h"

namespace reports {

double passLine(std::int64_t fullMarks) { return static_cast<double>(fullMarks * 6) / 10.0; }

double excellentLine(std::int64_t fullMarks) { return static_cast<double>(fullMarks * 8) / 10.0; }

double percentOf(std::int64_t count, std::int64_t participants) {
    return static_cast<double>(count) / static_cast<double>(participants) * 100;
}

void putSchoolBlocks(spreadsheet::Sheet& sheet, const scores::GradeDataSet& data) {
    const scores::Table& sums = data.ClassSumArray;
    for (int first = 1; first <= data.ClassCount;) {
        int last = first;
        while (last < data.ClassCount && sums.text(last + 1, -1) == sums.text(first, -1)) {
            ++last;
        }
        putMergedBlock(sheet, spreadsheet::Range::cells(first + 3, 1, last + 3, 1), std::nullopt);
        first = last + 1;
    }
}

ClassMembers::ClassMembers(const scores::GradeDataSet& data) {
    std::unordered_map<std::string, int> groupOfCodes;
    const scores::Table& sums = data.ClassSumArray;
    for (int k = 1; k <= data.ClassCount; ++k) {
        std::string key = sums.text(k, -1) + '\x1f' + sums.text(k, 0) + '\x1f' + sums.text(k, 1);
        const auto [entry, added] = groupOfCodes.emplace(std::move(key), static_cast<int>(m_groups.size()));
        if (added) {
            m_groups.emplace_back();
        }
        m_groupOfClass.push_back(entry->second);
    }
    m_groupOfStudent.assign(static_cast<std::size_t>(data.StudentCount), -1);
    std::string key;
    for (int i = 1; i <= data.StudentCount; ++i) {
        const scores::ExamCodes codes = scores::examCodes(data.StudentArray.text(i, 1));
        key.assign(codes.school).append(1, '\x1f').append(codes.grade).append(1, '\x1f').append(codes.schoolClass);
        const auto group = groupOfCodes.find(key);
        if (group != groupOfCodes.end()) {
            m_groups[static_cast<std::size_t>(group->second)].push_back(i);
            m_groupOfStudent[static_cast<std::size_t>(i - 1)] = group->second;
        }
    }
}

std::string firstSchoolName(const scores::GradeDataSet& data, std::string_view code) {
    for (int row = 1; row <= data.SchoolArray.lastRow(); ++row) {
        if (data.SchoolArray.text(row, 2) == code) {
            return common::trimmed(data.SchoolArray.text(row, 3));
        }
    }
    return {};
}

std::string lastSchoolName(const scores::GradeDataSet& data, std::string_view code) {
    for (int row = data.SchoolArray.lastRow(); row >= 1; --row) {
        if (data.SchoolArray.text(row, 2) == code) {
            return common::trimmed(data.SchoolArray.text(row, 3));
        }
    }
    return {};
}

} // namespace reports
