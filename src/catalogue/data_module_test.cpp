#include "data_module.h"

#include "schema.h"
#include "statements.h"

#include "common/errors.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>

namespace catalogue {
namespace {

using testing_support::readFile;
using testing_support::TempDir;
using testing_support::writeFile;

std::vector<std::string> column(Table& table, const char* field) {
    std::vector<std::string> values;
    for (table.first(); !table.eof(); table.next()) {
        values.push_back(table.fieldByName(field).asString());
    }
    return values;
}

int count(TDM& dm, const char* statement, std::vector<Value> parameters) {
    catalogue::Query& query = dm.Query();
    query.close();
    query.clearSql();
    query.addSql(statement);
    const char* names[] = {"Param1", "Param2", "Param3"};
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        query.setParameter(names[i], parameters[i]);
    }
    query.open();
    const int rows = query.recordCount();
    query.close();
    return rows;
}

class Catalogue : public ::testing::Test {
protected:
    void SetUp() override {
        path = dir.file("Data.mdb");
        createCatalogue(path);
    }
    TempDir dir;
    std::string path;
};

TEST_F(Catalogue, CreateRefusesAnExistingFileAndLeavesItAlone) {
    writeFile(dir.file("other.mdb"), "keep me");
    EXPECT_THROW(createCatalogue(dir.file("other.mdb")), common::Refusal);
    EXPECT_EQ(readFile(dir.file("other.mdb")), "keep me");
    EXPECT_THROW(createCatalogue(path), common::Refusal);
    TDM dm(path);
    EXPECT_EQ(dm.XXTable().recordCount(), 0);
}

TEST_F(Catalogue, FilterWalksRowsOfOneParentInKeyOrder) {
    TDM dm(path);
    const auto s1 = appendRow(dm.XXTable(), {{"XXBH", std::string("01")}, {"XXMC", std::string("一中")}});
    const auto s2 = appendRow(dm.XXTable(), {{"XXBH", std::string("02")}, {"XXMC", std::string("二中")}});
    appendRow(dm.NJTable(), {{"XXID", s1}, {"NJBH", std::string("01")}, {"NJMC", std::string("初一")}});
    appendRow(dm.NJTable(), {{"XXID", s2}, {"NJBH", std::string("01")}, {"NJMC", std::string("二中初一")}});
    appendRow(dm.NJTable(), {{"XXID", s1}, {"NJBH", std::string("02")}, {"NJMC", std::string("初二")}});

    Table& grades = dm.NJTable();
    EXPECT_EQ(grades.recordCount(), 3);
    grades.setFilter("XXID=" + std::to_string(s1));
    grades.setFiltered(true);
    EXPECT_EQ(column(grades, "NJMC"), (std::vector<std::string>{"初一", "初二"}));
    grades.first();
    grades.moveBy(1);
    EXPECT_EQ(grades.recNo(), 2);
    EXPECT_EQ(grades.fieldByName("NJBH").asString(), "02");
    grades.setFilter("XXID=" + std::to_string(s2));
    EXPECT_EQ(column(grades, "NJMC"), (std::vector<std::string>{"二中初一"}));
    grades.setFilter("XXID=9999");
    EXPECT_EQ(grades.recordCount(), 0);
    EXPECT_TRUE(grades.eof());
    EXPECT_EQ(grades.recNo(), 0);
    grades.setFiltered(false);
    EXPECT_EQ(grades.recordCount(), 3);
}

TEST_F(Catalogue, LocateIgnoresLetterCaseOnOneToThreeFields) {
    TDM dm(path);
    const auto s = appendRow(dm.XXTable(), {{"XXBH", std::string("a1")}, {"XXMC", std::string("甲")}});
    appendRow(dm.XXTable(), {{"XXBH", std::string("b2")}, {"XXMC", std::string("乙")}});
    const auto g = appendRow(dm.NJTable(), {{"XXID", s}, {"NJBH", std::string("g1")}, {"NJMC", std::string("初一")}});
    appendRow(dm.BJTable(), {{"XXID", s}, {"NJID", g}, {"BJBH", std::string("c1")}, {"BJMC", std::string("一班")}});
    appendRow(dm.BJTable(), {{"XXID", s}, {"NJID", g}, {"BJBH", std::string("C2")}, {"BJMC", std::string("二班")}});

    Table& schools = dm.XXTable();
    schools.first();
    EXPECT_TRUE(schools.locate("XXBH", {std::string("B2")}));
    EXPECT_EQ(schools.fieldByName("XXMC").asString(), "乙");
    EXPECT_FALSE(schools.locate("XXBH", {std::string("c3")}));
    EXPECT_EQ(schools.fieldByName("XXMC").asString(), "乙") << "a failed locate keeps the current row";

    EXPECT_TRUE(dm.NJTable().locate("XXID;NJBH", {s, std::string("G1")}));
    EXPECT_FALSE(dm.NJTable().locate("XXID;NJBH", {s + 100, std::string("g1")}));
    EXPECT_TRUE(dm.BJTable().locate("XXID;NJID;BJBH", {s, g, std::string("c2")}));
    EXPECT_EQ(dm.BJTable().fieldByName("BJMC").asString(), "二班");
    EXPECT_EQ(dm.BJTable().fieldByName("CPRS").asInteger(), 0) << "the default participation count";
}

TEST_F(Catalogue, KeysKeepIncreasingAfterDeletionsAndDeleteMovesToTheNextRow) {
    TDM dm(path);
    Table& schools = dm.XXTable();
    std::vector<std::int64_t> keys;
    for (const char* code : {"1", "2", "3"}) {
        keys.push_back(appendRow(schools, {{"XXBH", std::string(code)}, {"XXMC", std::string("校")}}));
    }
    EXPECT_LT(keys[0], keys[1]);
    EXPECT_LT(keys[1], keys[2]);

    schools.first();
    schools.moveBy(2);
    schools.deleteRecord();
    EXPECT_EQ(schools.recNo(), 2) << "deleting the last row makes the new last row current";
    EXPECT_EQ(schools.fieldByName("XXBH").asString(), "2");
    const auto fourth = appendRow(schools, {{"XXBH", std::string("4")}, {"XXMC", std::string("校")}});
    EXPECT_GT(fourth, keys[2]) << "a deleted key is never given again";
    EXPECT_EQ(schools.recNo(), 3);

    schools.first();
    schools.deleteRecord();
    EXPECT_EQ(schools.fieldByName("XXBH").asString(), "2") << "the row after the deleted one is current";
    EXPECT_EQ(column(schools, "XXBH"), (std::vector<std::string>{"2", "4"}));

    TDM reopened(path);
    EXPECT_EQ(column(reopened.XXTable(), "XXBH"), (std::vector<std::string>{"2", "4"})) << "stored at once";
}

TEST_F(Catalogue, EditChangesTheCurrentRowInPlace) {
    TDM dm(path);
    Table& schools = dm.XXTable();
    appendRow(schools, {{"XXBH", std::string("01")}, {"XXMC", std::string("旧名")}});
    appendRow(schools, {{"XXBH", std::string("02")}, {"XXMC", std::string("二中")}});
    schools.first();
    schools.edit();
    schools.setFieldValue("XXMC", std::string("新名 'x' %; DROP TABLE XXTable"));
    schools.post();
    EXPECT_EQ(column(schools, "XXMC"), (std::vector<std::string>{"新名 'x' %; DROP TABLE XXTable", "二中"}));
}

TEST_F(Catalogue, UniquenessStatementsCountCaseBlindAndLeaveOutTheRowItself) {
    TDM dm(path);
    const auto s1 = appendRow(dm.XXTable(), {{"XXBH", std::string("a1")}, {"XXMC", std::string("甲")}});
    const auto s2 = appendRow(dm.XXTable(), {{"XXBH", std::string("b1")}, {"XXMC", std::string("乙")}});
    const auto g1 = appendRow(dm.NJTable(), {{"XXID", s1}, {"NJBH", std::string("01")}, {"NJMC", std::string("初一")}});
    const auto c1 = appendRow(dm.BJTable(), {{"XXID", s1}, {"NJID", g1}, {"BJBH", std::string("x1")},
                                       {"BJMC", std::string("一班")}, {"CPRS", std::int64_t{40}}});
    const auto k1 = appendRow(dm.BKTable(), {{"XXID", s1}, {"NJID", g1}, {"BJID", c1}, {"KMMC", std::string("English")},
                                       {"RKJS", std::string("李")}, {"KMZF", std::int64_t{150}}});
    namespace st = statements;
    struct Case {
        const char* name;
        const char* statement;
        std::vector<Value> parameters;
        int rows;
    };
    const std::vector<Case> cases = {
        {"school code, other case", st::kSchoolCodeTaken, {std::string("A1")}, 1},
        {"school code free", st::kSchoolCodeTaken, {std::string("c1")}, 0},
        {"school code, the row itself", st::kSchoolCodeTakenByOther, {std::string("A1"), s1}, 0},
        {"school code of another school", st::kSchoolCodeTakenByOther, {std::string("B1"), s1}, 1},
        {"grade code in its school", st::kGradeCodeTaken, {s1, std::string("01")}, 1},
        {"grade code in another school", st::kGradeCodeTaken, {s2, std::string("01")}, 0},
        {"grade code, the row itself", st::kGradeCodeTakenByOther, {s1, std::string("01"), g1}, 0},
        {"class code, other case", st::kClassCodeTaken, {g1, std::string("X1")}, 1},
        {"class code, the row itself", st::kClassCodeTakenByOther, {g1, std::string("x1"), c1}, 0},
        {"subject, other case", st::kSubjectNameTaken, {c1, std::string("english")}, 1},
        {"subject in another class", st::kSubjectNameTaken, {c1 + 1, std::string("English")}, 0},
        {"subject, the row itself", st::kSubjectNameTakenByOther, {c1, std::string("English"), k1}, 0},
        {"all schools", st::kAllSchools, {}, 2},
        {"all subjects", st::kAllSubjects, {}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(count(dm, c.statement, c.parameters), c.rows);
    }
}

TEST_F(Catalogue, QueryDeliversFieldsByName) {
    TDM dm(path);
    appendRow(dm.XXTable(), {{"XXBH", std::string("01")}, {"XXMC", std::string("一中")}});
    catalogue::Query& query = dm.Query();
    query.close();
    query.clearSql();
    query.addSql(statements::kAllSchools);
    query.open();
    ASSERT_EQ(query.recordCount(), 1);
    query.first();
    EXPECT_EQ(query.fieldByName("XXBH").asString(), "01");
    EXPECT_EQ(query.fieldByName("XXMC").asString(), "一中");
    EXPECT_GT(query.fieldByName("XXID").asInteger(), 0);
    query.next();
    EXPECT_TRUE(query.eof());
}

TEST_F(Catalogue, LockedFileFailsThePostAndLeavesTheRowsAsTheyWere) {
    TDM dm(path);
    appendRow(dm.XXTable(), {{"XXBH", std::string("01")}, {"XXMC", std::string("一中")}});
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);

    Table& schools = dm.XXTable();
    schools.append();
    schools.setFieldValue("XXBH", std::string("02"));
    schools.setFieldValue("XXMC", std::string("二中"));
    try {
        schools.post();
        FAIL() << "no exception";
    } catch (const common::Failure& e) {
        EXPECT_NE(std::string(e.what()).find("锁定"), std::string::npos) << e.what();
    }
    EXPECT_EQ(column(schools, "XXBH"), (std::vector<std::string>{"01"}));
    schools.first();
    EXPECT_THROW(schools.deleteRecord(), common::Failure);
    EXPECT_EQ(column(schools, "XXBH"), (std::vector<std::string>{"01"}));

    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    appendRow(schools, {{"XXBH", std::string("02")}, {"XXMC", std::string("二中")}});
    EXPECT_EQ(column(schools, "XXBH"), (std::vector<std::string>{"01", "02"})) << "usable again after the lock";
}

TEST_F(Catalogue, ReadOnlyConnectionFailsWithAClearText) {
    TDM dm(path);
    appendRow(dm.XXTable(), {{"XXBH", std::string("01")}, {"XXMC", std::string("一中")}});
    // The tests may run as root, for whom file permissions do not stop writes; SQLite's query-only
    // mode refuses them the same way a read-only file does.
    dm.connection().exec("PRAGMA query_only = ON");
    Table& schools = dm.XXTable();
    schools.first();
    schools.edit();
    schools.setFieldValue("XXMC", std::string("改名"));
    try {
        schools.post();
        FAIL() << "no exception";
    } catch (const common::Failure& e) {
        EXPECT_NE(std::string(e.what()).find("只读"), std::string::npos) << e.what();
    }
    EXPECT_EQ(column(schools, "XXMC"), (std::vector<std::string>{"一中"}));
}

struct OpeningCase {
    const char* name;
    // Prepares the file Data.mdb in the folder.
    void (*prepare)(const std::string& path);
    const char* expectedText;
};

void PrintTo(const OpeningCase& c, std::ostream* os) { *os << c.name; }

class Opening : public ::testing::TestWithParam<OpeningCase> {};

TEST_P(Opening, RefusesWithAClearTextAndWritesNothing) {
    TempDir dir;
    const std::string path = dir.file("Data.mdb");
    GetParam().prepare(path);
    const bool existed = std::filesystem::exists(path);
    const std::string before = existed ? readFile(path) : std::string();
    try {
        TDM dm(path);
        FAIL() << "opened";
    } catch (const common::Failure& e) {
        const std::string text = e.what();
        EXPECT_NE(text.find(GetParam().expectedText), std::string::npos) << text;
        EXPECT_NE(text.find("Data.mdb"), std::string::npos) << "names the file: " << text;
    }
    EXPECT_EQ(std::filesystem::exists(path), existed);
    if (existed) {
        EXPECT_EQ(readFile(path), before);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), existed ? 1 : 0)
        << "no journal or other file left beside it";
}

void createWithSchema(const std::string& path, const char* schema) {
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_exec(db, schema, nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

INSTANTIATE_TEST_SUITE_P(
    Catalogue, Opening,
    ::testing::Values(
        OpeningCase{"missing", [](const std::string&) {}, "找不到"},
        OpeningCase{"text file", [](const std::string& p) { writeFile(p, "学校,年级\n01,02\n"); }, "不是本程序的目录数据库"},
        OpeningCase{"short file", [](const std::string& p) { writeFile(p, "SQLite"); }, "不是本程序的目录数据库"},
        OpeningCase{"Access database",
                    [](const std::string& p) {
                        std::filesystem::copy_file(testing_support::fixture("access/jet4-sample.mdb"), p);
                    },
                    "Microsoft Access"},
        OpeningCase{"ACE signature",
                    [](const std::string& p) { writeFile(p, std::string("\0\1\0\0Standard ACE DB\0rest", 25)); },
                    "Microsoft Access"},
        OpeningCase{"empty file", [](const std::string& p) { writeFile(p, ""); }, "缺少数据表 XXTable"},
        OpeningCase{"missing table",
                    [](const std::string& p) {
                        createWithSchema(p, "CREATE TABLE XXTable (XXID INTEGER PRIMARY KEY, XXBH TEXT, XXMC TEXT);"
                                            "CREATE TABLE NJTable (NJID INTEGER, XXID INTEGER, NJBH TEXT, NJMC TEXT);"
                                            "CREATE TABLE BKTable (BKID INTEGER, XXID INTEGER, NJID INTEGER, "
                                            "BJID INTEGER, KMMC TEXT, RKJS TEXT, KMZF INTEGER);");
                    },
                    "缺少数据表 BJTable"},
        OpeningCase{"missing field",
                    [](const std::string& p) {
                        createWithSchema(p, "CREATE TABLE XXTable (XXID INTEGER PRIMARY KEY, XXBH TEXT, XXMC TEXT);"
                                            "CREATE TABLE NJTable (NJID INTEGER, XXID INTEGER, NJBH TEXT, NJMC TEXT);"
                                            "CREATE TABLE BJTable (BJID INTEGER, XXID INTEGER, NJID INTEGER, "
                                            "BJBH TEXT, BJMC TEXT);"
                                            "CREATE TABLE BKTable (BKID INTEGER, XXID INTEGER, NJID INTEGER, "
                                            "BJID INTEGER, KMMC TEXT, RKJS TEXT, KMZF INTEGER);");
                    },
                    "BJTable 缺少字段 CPRS"}));

} // namespace
} // namespace catalogue
