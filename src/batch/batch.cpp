#include "batch.h"

#include "catalogue/data_module.h"
#include "common/errors.h"
#include "common/messages.h"
#include "common/text.h"
#include "import/score_import.h"
#include "reports/student_report.h"

#include <ostream>

namespace batch {

namespace {

constexpr const char* kUsage =
    "用法 / usage: score-report --scores WORKBOOK [--db FILE]\n"
    "                    [--percent P | --catalogue-count | --rule T1,C,T2,Q]\n"
    "                    [--class-report FILE] [--teacher-report FILE] [--student-report SSGGCC=FILE]...\n"
    "score-report --help 显示全部说明 / explains every option\n";

std::vector<std::string> splitOn(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) {
            return parts;
        }
        start = end + 1;
    }
}

// Draws "[#####.....] 5/10" on one line of the error stream.
class TextProgress final : public common::Progress {
public:
    explicit TextProgress(std::ostream& stream) : m_stream(stream) {}
    ~TextProgress() override { finish(); }

    void reset(int maximum) override {
        finish();
        m_maximum = maximum;
        m_position = 0;
        m_drawn = true;
        draw();
    }
    void advance() override {
        if (m_position < m_maximum) {
            ++m_position;
        }
        draw();
    }
    void finish() {
        if (m_drawn) {
            m_stream << "\n";
            m_drawn = false;
        }
    }

private:
    void draw() {
        constexpr int kWidth = 40;
        const int filled = m_maximum > 0 ? m_position * kWidth / m_maximum : kWidth;
        m_stream << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
                 << std::string(static_cast<std::size_t>(kWidth - filled), '.') << "] " << m_position << "/"
                 << m_maximum << std::flush;
    }

    std::ostream& m_stream;
    int m_maximum = 0;
    int m_position = 0;
    bool m_drawn = false;
};

class BatchHost final : public reports::ExportHost {
public:
    BatchHost(const BatchOptions& options, const ReportRequest& request, const scores::GradeDataSet& data,
              common::Progress& progress)
        : m_options(options), m_request(request), m_data(data), m_progress(progress) {}

    reports::ParticipationInput participationInput() const override { return m_options.participation; }

    std::optional<reports::SelectedClass> selectedClass() override {
        const std::string& codes = m_request.classCodes;
        auto found = reports::findClassByCodes(m_data, common::characters(codes, 1, 2), common::characters(codes, 3, 2),
                                               common::characters(codes, 5, 2));
        if (!found) {
            throw common::Refusal("目录中找不到学校、年级、班级编号为 " + codes + " 的班级");
        }
        return found;
    }

    std::optional<std::string> chooseFileName(const std::string&) override { return m_request.file; }
    common::Progress& progress() override { return m_progress; }
    void reportSaved(const std::string& message) override { m_saved = message; }

    const std::string& saved() const { return m_saved; }

private:
    const BatchOptions& m_options;
    const ReportRequest& m_request;
    const scores::GradeDataSet& m_data;
    common::Progress& m_progress;
    std::string m_saved;
};

} // namespace

std::string helpText() {
    return std::string(kUsage) +
           "\n"
           "导入一个年级的成绩工作簿，按目录数据库生成报表，与窗口程序的“导入年级数据”和三个导出按钮完全相同。\n"
           "Imports one grade's score workbook and writes the reports exactly as the window's import and\n"
           "export buttons do.\n"
           "\n"
           "  --scores WORKBOOK        成绩工作簿（.xls，第 1 行为科目，每行一名学生）\n"
           "                           the score workbook (.xls: subjects in row 1, one student per row)\n"
           "  --db FILE                目录数据库，默认为当前文件夹中的 Data.mdb\n"
           "                           the catalogue database; default Data.mdb in the working folder\n"
           "  --percent P              参评人数 = 参考人数 * P %（默认 100）\n"
           "                           participation count = examinees x P % (the default, 100)\n"
           "  --catalogue-count        参评人数指定到班：用目录中各班的参评人数\n"
           "                           each class's participation count from the catalogue\n"
           "  --rule T1,C,T2,Q         参考人数 >= T1 时参评人数 = C；参考人数 < T2 时参评人数 = 参考人数 * Q %\n"
           "                           examinees >= T1: C; examinees < T2: examinees x Q % (this wins)\n"
           "  --class-report FILE      导出班级评估表 / write the class evaluation report\n"
           "  --teacher-report FILE    导出教师评估表 / write the teacher evaluation report\n"
           "  --student-report SSGGCC=FILE\n"
           "                           导出学校编号 SS、年级编号 GG、班级编号 CC 的学生成绩表（编号不区分大小写）；\n"
           "                           可重复\n"
           "                           write the student score report of the class with school code SS,\n"
           "                           grade code GG and class code CC (letter case ignored); repeatable\n"
           "  --help                   显示本说明 / show this text\n"
           "\n"
           "成功信息写到标准输出；拒绝或出错时信息写到标准错误，退出状态为 1；命令行有误时退出状态为 2。\n"
           "Success messages go to standard output; a refusal or error goes to standard error with exit\n"
           "status 1; a command line that cannot be understood gives exit status 2.\n";
}

BatchOptions parseOptions(const std::vector<std::string>& arguments) {
    BatchOptions options;
    bool participationGiven = false;
    const auto value = [&arguments](std::size_t& i) -> const std::string& {
        if (i + 1 >= arguments.size()) {
            throw UsageError("选项 " + arguments[i] + " 缺少参数 / option " + arguments[i] + " needs a value");
        }
        return arguments[++i];
    };
    const auto participation = [&participationGiven](const std::string& option) {
        if (participationGiven) {
            throw UsageError("参评人数定义只能给出一种 / only one of --percent, --catalogue-count, --rule (" + option +
                             ")");
        }
        participationGiven = true;
    };
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--scores") {
            options.scores = value(i);
        } else if (argument == "--db") {
            options.database = value(i);
        } else if (argument == "--percent") {
            participation(argument);
            options.participation.mode = reports::ParticipationMode::Percentage;
            options.participation.percentage = value(i);
        } else if (argument == "--catalogue-count") {
            participation(argument);
            options.participation.mode = reports::ParticipationMode::CatalogueCount;
        } else if (argument == "--rule") {
            participation(argument);
            const std::vector<std::string> parts = splitOn(value(i), ',');
            if (parts.size() != 4) {
                throw UsageError("--rule 需要四个用逗号分开的数 T1,C,T2,Q / --rule takes T1,C,T2,Q");
            }
            options.participation.mode = reports::ParticipationMode::Rule;
            options.participation.threshold = parts[0];
            options.participation.fixedCount = parts[1];
            options.participation.smallBelow = parts[2];
            options.participation.smallPercentage = parts[3];
        } else if (argument == "--class-report") {
            options.reports.push_back({reports::ReportKind::Class, value(i), {}});
        } else if (argument == "--teacher-report") {
            options.reports.push_back({reports::ReportKind::Teacher, value(i), {}});
        } else if (argument == "--student-report") {
            const std::string& request = value(i);
            const std::size_t equals = request.find('=');
            const std::string codes = request.substr(0, equals);
            if (equals == std::string::npos || equals + 1 == request.size() ||
                common::characters(codes, 7, 1).size() > 0 || common::characters(codes, 6, 1).empty()) {
                throw UsageError("--student-report 的格式为 SSGGCC=FILE（六个字符的编号）/ "
                                 "--student-report takes SSGGCC=FILE (six characters of codes)");
            }
            options.reports.push_back({reports::ReportKind::Student, request.substr(equals + 1), codes});
        } else {
            throw UsageError("无法识别的参数 / unknown argument: " + argument);
        }
    }
    if (!options.help && options.scores.empty()) {
        throw UsageError("缺少 --scores WORKBOOK / --scores WORKBOOK is required");
    }
    return options;
}

int run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err, bool progressBar) {
    BatchOptions options;
    try {
        options = parseOptions(arguments);
    } catch (const UsageError& e) {
        err << e.what() << "\n" << kUsage;
        return 2;
    }
    if (options.help) {
        out << helpText();
        return 0;
    }
    common::NoProgress silent;
    TextProgress bar(err);
    common::Progress& progress = progressBar ? static_cast<common::Progress&>(bar) : silent;
    try {
        catalogue::TDM dm(options.database);
        scores::GradeDataSet data = scores::importScores(options.scores, dm, progress);
        bar.finish();
        out << messages::kImportSucceeded << "\n";
        for (const ReportRequest& request : options.reports) {
            BatchHost host(options, request, data, progress);
            reports::exportReport(request.kind, &data, host);
            bar.finish();
            out << host.saved() << "\n";
        }
        dm.closeConnection();
        return 0;
    } catch (const std::exception& e) {
        bar.finish();
        err << e.what() << "\n";
        return 1;
    }
}

} // namespace batch
