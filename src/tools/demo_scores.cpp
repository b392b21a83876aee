// demo-scores: writes the demonstration score workbook that goes with the demonstration catalogue
// (catalogue-init --demo): grade 02 of schools 01 and 02, classes 01 to 03, 40 students each, scores
// in 语文, 数学, 英语, 物理 and 化学. The content is the same at every run.
#include "common/errors.h"
#include "spreadsheet/sheet.h"

#include <array>
#include <cstdint>
#include <iostream>
#include <string>

namespace {

// A small fixed pseudo-random sequence, so that the workbook never changes.
class Sequence {
public:
    std::uint32_t next() {
        m_state = m_state * 1664525u + 1013904223u;
        return m_state >> 8;
    }
    // Roughly normal around `mean`, within 0..limit, in half points.
    double score(double mean, double spread, double limit) {
        double sum = 0;
        for (int i = 0; i < 4; ++i) {
            sum += static_cast<double>(next() % 1000) / 1000.0;
        }
        double value = mean + (sum - 2.0) * spread;
        value = value < 0 ? 0 : (value > limit ? limit : value);
        return static_cast<double>(static_cast<int>(value * 2 + 0.5)) / 2;
    }

private:
    std::uint32_t m_state = 20261211u;
};

constexpr std::array<const char*, 24> kSurnames{"王", "李", "张", "刘", "陈", "杨", "赵", "黄", "周", "吴", "徐", "孙",
                                                "胡", "朱", "高", "林", "何", "郭", "马", "罗", "梁", "宋", "郑", "谢"};
constexpr std::array<const char*, 30> kGivenNames{
    "子涵", "欣怡", "梓轩", "雨萱", "浩然", "诗涵", "宇航", "佳怡", "俊杰", "思彤", "博文", "一诺", "天佑", "若曦", "明轩",
    "晨曦", "嘉懿", "紫涵", "志远", "可馨", "文博", "梦瑶", "皓轩", "雅琪", "泽宇", "语嫣", "睿哲", "静怡", "昊天", "安琪"};

struct Subject {
    const char* name;
    double mean;
    double spread;
    double limit;
};
constexpr std::array<Subject, 5> kSubjects{{{"语文", 105, 40, 150},
                                            {"数学", 100, 55, 150},
                                            {"英语", 102, 45, 150},
                                            {"物理", 70, 30, 100},
                                            {"化学", 72, 28, 100}}};

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "用法 / usage: demo-scores PATH.xls\n";
        return 2;
    }
    spreadsheet::Sheet sheet;
    sheet.setName("初二成绩");
    sheet.putText(1, 1, "考号");
    sheet.putText(1, 2, "姓名");
    for (std::size_t j = 0; j < kSubjects.size(); ++j) {
        sheet.putText(1, static_cast<int>(j) + 3, kSubjects[j].name);
    }
    Sequence random;
    int row = 1;
    for (const char* school : {"01", "02"}) {
        for (const char* schoolClass : {"01", "02", "03"}) {
            for (int student = 1; student <= 40; ++student) {
                ++row;
                std::string number = std::to_string(student);
                number = std::string(3 - number.size(), '0') + number;
                sheet.putText(row, 1, std::string(school) + "02" + schoolClass + number);
                sheet.putText(row, 2,
                              std::string(kSurnames[random.next() % kSurnames.size()]) +
                                  kGivenNames[random.next() % kGivenNames.size()]);
                for (std::size_t j = 0; j < kSubjects.size(); ++j) {
                    const Subject& subject = kSubjects[j];
                    sheet.putNumber(row, static_cast<int>(j) + 3, random.score(subject.mean, subject.spread, subject.limit));
                }
            }
        }
    }
    try {
        std::cout << spreadsheet::saveWorkbook(sheet, argv[1]) << "\n";
        return 0;
    } catch (const common::Error& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
}
