#include "schema.h"

#include "database.h"

#include "common/errors.h"
#include "common/messages.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace catalogue {

const TableDef& schoolTableDef() {
    static const TableDef def{"XXTable",
                              {{"XXID", FieldType::Integer}, {"XXBH", FieldType::Text}, {"XXMC", FieldType::Text}}};
    return def;
}

const TableDef& gradeTableDef() {
    static const TableDef def{"NJTable",
                              {{"NJID", FieldType::Integer},
                               {"XXID", FieldType::Integer},
                               {"NJBH", FieldType::Text},
                               {"NJMC", FieldType::Text}}};
    return def;
}

const TableDef& classTableDef() {
    static const TableDef def{"BJTable",
                              {{"BJID", FieldType::Integer},
                               {"XXID", FieldType::Integer},
                               {"NJID", FieldType::Integer},
                               {"BJBH", FieldType::Text},
                               {"BJMC", FieldType::Text},
                               {"CPRS", FieldType::Integer}}};
    return def;
}

const TableDef& subjectTableDef() {
    static const TableDef def{"BKTable",
                              {{"BKID", FieldType::Integer},
                               {"XXID", FieldType::Integer},
                               {"NJID", FieldType::Integer},
                               {"BJID", FieldType::Integer},
                               {"KMMC", FieldType::Text},
                               {"RKJS", FieldType::Text},
                               {"KMZF", FieldType::Integer}}};
    return def;
}

const std::array<const TableDef*, 4>& catalogueTableDefs() {
    static const std::array<const TableDef*, 4> defs{&schoolTableDef(), &gradeTableDef(), &classTableDef(),
                                                     &subjectTableDef()};
    return defs;
}

void createCatalogue(const std::string& path) {
    std::error_code ignored;
    if (std::filesystem::exists(path, ignored)) {
        throw common::Refusal(messages::catalogueFileExists(path));
    }
    // Exclusive creation: a file that appears meanwhile is not touched either.
    std::FILE* file = std::fopen(path.c_str(), "wbx");
    if (file == nullptr) {
        if (errno == EEXIST) {
            throw common::Refusal(messages::catalogueFileExists(path));
        }
        throw common::Failure(messages::catalogueUnreadable(path, std::strerror(errno)));
    }
    std::fclose(file);
    try {
        Database db = Database::openExisting(path);
        db.exec(kCatalogueSchema);
    } catch (...) {
        std::filesystem::remove(path, ignored);
        throw;
    }
}

} // namespace catalogue
