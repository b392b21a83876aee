// Benchmark of the spreadsheet component: writing a 65,535-row x 14-column report sheet (numbers,
// Chinese text, merged school blocks, the grid) and reading a 65,535-row x 11-column score
// workbook, beside python3-xlwt writing and python3-xlrd reading the same content in the same run.
// Usage: spreadsheet_bench [runs] [work folder]. Prints the median seconds of each measurement.
#include "spreadsheet/sheet.h"
#include "spreadsheet/worksheet_reader.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

using spreadsheet::HorizontalAlignment;
using spreadsheet::NumberFormat;
using spreadsheet::Range;
using spreadsheet::Sheet;
using spreadsheet::VerticalAlignment;

constexpr int kRows = 65535;
constexpr int kReportColumns = 14;
constexpr int kSubjects = 9;

// The same content as bench_content.py.
const char* const kSchools[] = {"第一中学", "第二中学", "实验中学"};
const char* const kSurnames[] = {"王", "李", "张", "刘", "陈", "杨", "黄", "赵", "吴", "周",
                                 "徐", "孙", "马", "朱", "胡", "郭", "何", "高", "林", "罗"};
const char* const kGiven[] = {"伟",   "芳",   "娜",   "秀英", "敏",   "静",   "丽",   "强",   "磊",   "军",
                              "洋",   "勇",   "艳",   "杰",   "娟",   "涛",   "明",   "超",   "秀兰", "霞",
                              "平",   "刚",   "桂英", "玉兰", "萍",   "鹏",   "建华", "俊",   "玲",   "红",
                              "志强", "丹",   "宇",   "浩",   "凯",   "婷",   "晨",   "欣怡", "子涵", "梓萱",
                              "雨涵", "浩然", "宇轩", "子轩", "思远", "博文", "嘉怡", "佳琪", "梦琪", "一鸣"};

std::string examNumber(int i) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d%02d%02d%03d", 1, 2, (i / 40) % 99 + 1, i % 40 + 1);
    return buffer;
}
std::string name(int i) {
    return std::string(kSurnames[i % 20]) + kGiven[(i / 20) % 50];
}
double score(int i, int c) {
    return ((i * 37 + c * 11) % 301) / 2.0;
}

// The student-report-like sheet, in the reports' order of calls.
Sheet reportSheet() {
    Sheet sheet;
    sheet.setName("高二学生成绩表");
    sheet.setHorizontalAlignment(Range::row(1), HorizontalAlignment::Center);
    Range title = Range::cells(1, 1, 1, kReportColumns);
    sheet.setFontName(title, "黑体");
    sheet.setFontSize(title, 12);
    sheet.merge(title);
    sheet.putText(1, 1, "高二学生成绩表");
    for (int c = 1; c <= kReportColumns; ++c) {
        sheet.setColumnWidth(c, 6);
        sheet.setVerticalAlignment(Range::column(c), VerticalAlignment::Center);
        sheet.setHorizontalAlignment(Range::column(c), HorizontalAlignment::Center);
    }
    for (int block = 0; block < kRows - 1; block += 40) {
        sheet.merge(Range::cells(block + 2, 1, std::min(block + 41, kRows), 1));
        sheet.putText(block + 2, 1, kSchools[(block / 4000) % 3]);
    }
    for (int r = 2; r <= kRows; ++r) {
        int i = r - 2;
        sheet.putNumber(r, 2, (i / 40) % 99 + 1);
        sheet.putEntry(r, 3, "'" + examNumber(i));
        sheet.putText(r, 4, name(i));
        double total = 0;
        for (int c = 5; c <= 12; ++c) {
            double value = score(i, c - 1);
            total += value;
            sheet.putNumber(r, c, value);
        }
        sheet.putNumber(r, 13, total, NumberFormat::OneDecimal);
        sheet.putNumber(r, 14, i + 1);
    }
    Range grid = Range::cells(2, 1, kRows, kReportColumns);
    sheet.setBorders(grid);
    sheet.setFontSize(grid, 9);
    sheet.select(Range::cell(1, 1));
    return sheet;
}

// A score workbook as the import reads it: 考号, 姓名 and nine subjects.
Sheet scoreSheet() {
    Sheet sheet;
    sheet.putText(1, 1, "考号");
    sheet.putText(1, 2, "姓名");
    for (int s = 0; s < kSubjects; ++s) {
        sheet.putText(1, s + 3, "科目" + std::to_string(s + 1));
    }
    for (int r = 2; r <= kRows; ++r) {
        sheet.putEntry(r, 1, "'" + examNumber(r - 2));
        sheet.putText(r, 2, name(r - 2));
        for (int s = 0; s < kSubjects; ++s) {
            sheet.putNumber(r, s + 3, score(r - 2, s));
        }
    }
    return sheet;
}

double seconds(const std::function<void()>& work) {
    auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double medianOf(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        times.push_back(seconds(work));
    }
    return median(times);
}

// The median the Python script prints, or -1.
double python(const std::string& script, const std::string& file, int runs, const std::string& output) {
    std::string command = "cd '" BENCH_SOURCE_DIR "' && /usr/bin/python3 " + script + " '" + file + "' " +
                          std::to_string(runs) + " > '" + output + "'";
    if (std::system(command.c_str()) != 0) {
        return -1;
    }
    FILE* in = std::fopen(output.c_str(), "r");
    double value = -1;
    if (in != nullptr) {
        if (std::fscanf(in, "%lf", &value) != 1) {
            value = -1;
        }
        std::fclose(in);
    }
    return value;
}

} // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::filesystem::path work = argc > 2 ? argv[2] : std::filesystem::temp_directory_path() / "spreadsheet-bench";
    std::filesystem::create_directories(work);
    std::string report = (work / "report.xls").string();
    std::string scores = (work / "scores.xls").string();
    std::string xlwtReport = (work / "report-xlwt.xls").string();

    double build = medianOf(runs, [] { reportSheet(); });
    double buildAndSave = medianOf(runs, [&] { spreadsheet::saveWorkbook(reportSheet(), report); });
    Sheet forSaving = reportSheet();
    double save = medianOf(runs, [&] { spreadsheet::saveWorkbook(forSaving, report); });
    spreadsheet::saveWorkbook(scoreSheet(), scores);
    std::size_t cells = 0;
    double read = medianOf(runs, [&] {
        spreadsheet::Worksheet sheet = spreadsheet::Worksheet::open(scores);
        cells = 0;
        for (int r = 1; r <= sheet.lastRow(); ++r) {
            for (int c = 1; c <= sheet.lastColumn(); ++c) {
                cells += sheet.text(r, c).empty() ? 0 : 1;
            }
        }
    });
    int pythonRuns = std::min(runs, 3);
    double xlwt = python("xlwt_write.py", xlwtReport, pythonRuns, (work / "xlwt.txt").string());
    double xlrd = python("xlrd_read.py", scores, pythonRuns, (work / "xlrd.txt").string());

    std::printf("spreadsheet benchmark, %d rows; median of %d runs (Python: %d)\n", kRows, runs, pythonRuns);
    std::printf("write %d x %d report: build the sheet        %8.3f s\n", kRows, kReportColumns, build);
    std::printf("write %d x %d report: save (BIFF8, OLE2)      %8.3f s  (%.1f MB)\n", kRows, kReportColumns, save,
                static_cast<double>(std::filesystem::file_size(report)) / 1e6);
    std::printf("write %d x %d report: build and save          %8.3f s\n", kRows, kReportColumns, buildAndSave);
    std::printf("write %d x %d report: python3-xlwt            %8.3f s\n", kRows, kReportColumns, xlwt);
    std::printf("read  %d x %d scores: open and text() of all  %8.3f s  (%zu cells)\n", kRows, kSubjects + 2, read,
                cells);
    std::printf("read  %d x %d scores: python3-xlrd            %8.3f s\n", kRows, kSubjects + 2, xlrd);
    return xlwt < 0 || xlrd < 0 ? 1 : 0;
}
