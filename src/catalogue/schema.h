#pragma once

#include <array>
#include <string>
#include <vector>

namespace catalogue {

// The catalogue's four tables, exactly as users and tools rely on them.
inline constexpr const char* kCatalogueSchema = R"sql(
CREATE TABLE XXTable (XXID INTEGER PRIMARY KEY AUTOINCREMENT, XXBH TEXT NOT NULL COLLATE NOCASE, XXMC TEXT NOT NULL);
CREATE TABLE NJTable (NJID INTEGER PRIMARY KEY AUTOINCREMENT, XXID INTEGER NOT NULL, NJBH TEXT NOT NULL COLLATE NOCASE, NJMC TEXT NOT NULL);
CREATE TABLE BJTable (BJID INTEGER PRIMARY KEY AUTOINCREMENT, XXID INTEGER NOT NULL, NJID INTEGER NOT NULL, BJBH TEXT NOT NULL COLLATE NOCASE, BJMC TEXT NOT NULL, CPRS INTEGER NOT NULL DEFAULT 0);
CREATE TABLE BKTable (BKID INTEGER PRIMARY KEY AUTOINCREMENT, XXID INTEGER NOT NULL, NJID INTEGER NOT NULL, BJID INTEGER NOT NULL, KMMC TEXT NOT NULL COLLATE NOCASE, RKJS TEXT NOT NULL, KMZF INTEGER NOT NULL);
)sql";

enum class FieldType { Integer, Text };

struct FieldDef {
    const char* name;
    FieldType type;
};

// A table of the schema: its name, its key field (always the first field) and all its fields in
// schema order.
struct TableDef {
    const char* name;
    std::vector<FieldDef> fields;
    const char* key() const { return fields.front().name; }
};

const TableDef& schoolTableDef();  // XXTable
const TableDef& gradeTableDef();   // NJTable
const TableDef& classTableDef();   // BJTable
const TableDef& subjectTableDef(); // BKTable
const std::array<const TableDef*, 4>& catalogueTableDefs();

// Creates a new catalogue file holding the empty tables. Refuses, with common::Refusal, to touch a
// file that already exists; throws common::Failure when the file cannot be written.
void createCatalogue(const std::string& path);

} // namespace catalogue
