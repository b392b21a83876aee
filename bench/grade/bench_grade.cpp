// Benchmark of a whole district's grade: the score import, the student sort, the three reports and
// the score-report command on 65,535 students x 9 subjects in 3 schools x 20 classes, each beside a
// bare FreeXL scan of every cell of the same workbook, all measured in the same run.
//
//   bench-grade [--runs N] [--students N] [--score-report PATH] [--keep 1]
// With --keep 1 the generated catalogue and workbook stay in the folder it prints.
#include "catalogue/data_module.h"
#include "catalogue/schema.h"
#include "import/score_import.h"
#include "reports/export_frame.h"
#include "spreadsheet/sheet.h"

#include <fcntl.h>
#include <freexl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <random>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kSchools = 3;
constexpr int kClassesPerSchool = 20;
const std::vector<std::string> kSubjects{"语文", "数学", "英语", "物理", "化学", "生物", "政治", "历史", "地理"};

std::string twoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

void makeCatalogue(const std::string& path) {
    catalogue::createCatalogue(path);
    catalogue::TDM dm(path);
    for (int s = 1; s <= kSchools; ++s) {
        const auto school = catalogue::appendRow(dm.XXTable(), {{"XXBH", twoDigits(s)}, {"XXMC", "第" + std::to_string(s) + "中学"}});
        const auto grade = catalogue::appendRow(dm.NJTable(), {{"XXID", school}, {"NJBH", std::string("02")}, {"NJMC", std::string("初二")}});
        for (int c = 1; c <= kClassesPerSchool; ++c) {
            const auto schoolClass = catalogue::appendRow(dm.BJTable(), {{"XXID", school},
                                                        {"NJID", grade},
                                                        {"BJBH", twoDigits(c)},
                                                        {"BJMC", std::to_string(c) + "班"},
                                                        {"CPRS", std::int64_t{1000}}});
            for (std::size_t j = 0; j < kSubjects.size(); ++j) {
                catalogue::appendRow(dm.BKTable(), {{"XXID", school},
                                   {"NJID", grade},
                                   {"BJID", schoolClass},
                                   {"KMMC", kSubjects[j]},
                                   {"RKJS", "教师" + std::to_string(j)},
                                   {"KMZF", std::int64_t{j < 3 ? 150 : 100}}});
            }
        }
    }
    dm.closeConnection();
}

void makeWorkbook(const std::string& path, int students) {
    spreadsheet::Sheet sheet;
    sheet.setName("成绩");
    sheet.putText(1, 1, "考号");
    sheet.putText(1, 2, "姓名");
    for (std::size_t j = 0; j < kSubjects.size(); ++j) {
        sheet.putText(1, static_cast<int>(j) + 3, kSubjects[j]);
    }
    std::mt19937 random(42);
    const char* surnames[] = {"王", "李", "张", "刘", "陈", "杨", "赵", "黄"};
    const char* givenNames[] = {"子涵", "欣怡", "梓轩", "雨萱", "浩然", "诗涵", "宇航", "佳怡"};
    for (int i = 0; i < students; ++i) {
        const int classIndex = i % (kSchools * kClassesPerSchool);
        const std::string code = twoDigits(classIndex / kClassesPerSchool + 1) + "02" +
                                 twoDigits(classIndex % kClassesPerSchool + 1);
        std::string number = std::to_string(i / (kSchools * kClassesPerSchool) + 1);
        number = std::string(4 - number.size(), '0') + number;
        sheet.putText(i + 2, 1, code + number);
        sheet.putText(i + 2, 2, std::string(surnames[random() % 8]) + givenNames[random() % 8]);
        for (std::size_t j = 0; j < kSubjects.size(); ++j) {
            const int limit = j < 3 ? 300 : 200; // half points up to 150 or 100
            sheet.putNumber(i + 2, static_cast<int>(j) + 3, static_cast<double>(random() % (limit + 1)) / 2);
        }
    }
    spreadsheet::saveWorkbook(sheet, path);
}

std::size_t freexlScan(const std::string& path) {
    const void* handle = nullptr;
    if (freexl_open(path.c_str(), &handle) != FREEXL_OK) {
        throw std::runtime_error("FreeXL cannot open " + path);
    }
    freexl_select_active_worksheet(handle, 0);
    unsigned int rows = 0;
    unsigned short columns = 0;
    freexl_worksheet_dimensions(handle, &rows, &columns);
    std::size_t filled = 0;
    for (unsigned int r = 0; r < rows; ++r) {
        for (unsigned short c = 0; c < columns; ++c) {
            FreeXL_CellValue value;
            if (freexl_get_cell_value(handle, r, c, &value) == FREEXL_OK && value.type != FREEXL_CELL_NULL) {
                ++filled;
            }
        }
    }
    freexl_close(handle);
    return filled;
}

class Host final : public reports::ExportHost {
public:
    explicit Host(std::string file) : m_file(std::move(file)) {}
    reports::ParticipationInput participationInput() const override { return {}; }
    std::optional<reports::SelectedClass> selectedClass() override {
        return reports::SelectedClass{"01", "第1中学", "02", "初二", "01", "1班"};
    }
    std::optional<std::string> chooseFileName(const std::string&) override { return m_file; }
    common::Progress& progress() override { return m_progress; }
    void reportSaved(const std::string&) override {}

private:
    std::string m_file;
    common::NoProgress m_progress;
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Median wall time in milliseconds of `runs` runs of `work`.
double timed(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const auto start = Clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return median(times);
}

// Runs `work` in a child process and returns the child's peak resident memory in MiB.
double peakMemoryOf(const std::function<void()>& work) {
    const pid_t child = fork();
    if (child == 0) {
        work();
        _exit(0);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Runs a command, waits for it, and returns its exit status and peak memory (MiB).
std::pair<int, double> runCommand(const std::vector<std::string>& command) {
    std::vector<char*> argv;
    for (const std::string& part : command) {
        argv.push_back(const_cast<char*>(part.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        throw std::runtime_error("cannot start " + command[0]);
    }
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, static_cast<double>(usage.ru_maxrss) / 1024.0};
}

} // namespace

int main(int argc, char** argv) {
    int runs = 5;
    int students = 65535;
    std::string scoreReport;
    bool keep = false;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--runs") {
            runs = std::atoi(argv[i + 1]);
        } else if (option == "--students") {
            students = std::atoi(argv[i + 1]);
        } else if (option == "--score-report") {
            scoreReport = argv[i + 1];
        } else if (option == "--keep") {
            keep = std::string(argv[i + 1]) == "1";
        }
    }
    char folderTemplate[] = "/tmp/bench-grade-XXXXXX";
    const std::filesystem::path folder = mkdtemp(folderTemplate);
    const std::string database = (folder / "Data.mdb").string();
    const std::string workbook = (folder / "scores.xls").string();
    makeCatalogue(database);
    const double writeMs = timed(1, [&] { makeWorkbook(workbook, students); });

    std::size_t cells = 0;
    const double scanMs = timed(runs, [&] { cells = freexlScan(workbook); });
    catalogue::TDM dm(database);
    common::NoProgress quiet;
    scores::GradeDataSet data;
    const double importMs = timed(runs, [&] { data = scores::importScores(workbook, dm, quiet); });
    std::vector<double> sortTimes;
    for (int run = 0; run < runs; ++run) {
        scores::GradeDataSet fresh = scores::importScores(workbook, dm, quiet);
        const auto start = Clock::now();
        scores::SortStudentsByTotal(fresh, quiet);
        sortTimes.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    const double sortMs = median(sortTimes);
    const auto exportTime = [&](reports::ReportKind kind, const char* name) {
        return timed(runs, [&] {
            Host host((folder / name).string());
            reports::exportReport(kind, &data, host);
        });
    };
    const double classMs = exportTime(reports::ReportKind::Class, "class.xls");
    const double teacherMs = exportTime(reports::ReportKind::Teacher, "teacher.xls");
    const double studentMs = exportTime(reports::ReportKind::Student, "student.xls");
    const double importMiB = peakMemoryOf([&] {
        scores::GradeDataSet local = scores::importScores(workbook, dm, quiet);
        scores::SortStudentsByTotal(local, quiet);
    });
    const double scanMiB = peakMemoryOf([&] { freexlScan(workbook); });

    double batchMs = 0;
    double batchMiB = 0;
    if (!scoreReport.empty()) {
        const std::vector<std::string> command{scoreReport,
                                               "--scores", workbook,
                                               "--db", database,
                                               "--class-report", (folder / "b-class.xls").string(),
                                               "--teacher-report", (folder / "b-teacher.xls").string(),
                                               "--student-report", "010201=" + (folder / "b-student.xls").string()};
        batchMs = timed(runs, [&] {
            const auto [status, memory] = runCommand(command);
            if (status != 0) {
                throw std::runtime_error("score-report failed");
            }
            batchMiB = memory;
        });
    }

    std::printf("students %d, subjects %zu, classes %d, cells read by FreeXL %zu, runs %d (median)\n", students,
                kSubjects.size(), kSchools * kClassesPerSchool, cells, runs);
    std::printf("| step | median ms | peak MiB |\n|---|---:|---:|\n");
    std::printf("| writing the score workbook (once) | %.1f | |\n", writeMs);
    std::printf("| bare FreeXL scan of every cell | %.1f | %.1f |\n", scanMs, scanMiB);
    std::printf("| import (read, check, build the data set) | %.1f | %.1f |\n", importMs, importMiB);
    std::printf("| SortStudentsByTotal | %.2f | |\n", sortMs);
    std::printf("| class evaluation report | %.1f | |\n", classMs);
    std::printf("| teacher evaluation report | %.1f | |\n", teacherMs);
    std::printf("| student score report (one class) | %.1f | |\n", studentMs);
    if (!scoreReport.empty()) {
        std::printf("| score-report: import and all three reports | %.1f | %.1f |\n", batchMs, batchMiB);
    }
    std::printf("import / scan: %.2f; three reports in-process: %.1f ms", importMs / scanMs,
                classMs + teacherMs + studentMs);
    if (!scoreReport.empty()) {
        std::printf("; score-report / scan: %.2f", batchMs / scanMs);
    }
    std::printf("\n");
    if (keep) {
        std::printf("kept: %s\n", folder.c_str());
    } else {
        std::filesystem::remove_all(folder);
    }
    return 0;
}
