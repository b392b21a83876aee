#include "catalogue_builder.h"

#include "catalogue/schema.h"

namespace testing_support {

namespace {

std::int64_t append(catalogue::Table& table, std::initializer_list<std::pair<const char*, catalogue::Value>> fields) {
    table.append();
    for (const auto& [name, value] : fields) {
        table.setFieldValue(name, value);
    }
    table.post();
    return table.fieldByName(table.def().key()).asInteger();
}

} // namespace

CatalogueBuilder::CatalogueBuilder() {
    catalogue::createCatalogue(path());
    m_dm = std::make_unique<catalogue::TDM>(path());
}

std::int64_t CatalogueBuilder::school(const std::string& code, const std::string& name) {
    return append(m_dm->XXTable(), {{"XXBH", code}, {"XXMC", name}});
}

std::int64_t CatalogueBuilder::grade(std::int64_t school, const std::string& code, const std::string& name) {
    return append(m_dm->NJTable(), {{"XXID", school}, {"NJBH", code}, {"NJMC", name}});
}

std::int64_t CatalogueBuilder::schoolClass(std::int64_t school, std::int64_t grade, const std::string& code,
                                           const std::string& name, std::int64_t participation) {
    return append(m_dm->BJTable(),
                  {{"XXID", school}, {"NJID", grade}, {"BJBH", code}, {"BJMC", name}, {"CPRS", participation}});
}

std::int64_t CatalogueBuilder::subject(std::int64_t school, std::int64_t grade, std::int64_t schoolClass,
                                       const std::string& name, const std::string& teacher, std::int64_t fullMarks) {
    return append(m_dm->BKTable(), {{"XXID", school},
                                    {"NJID", grade},
                                    {"BJID", schoolClass},
                                    {"KMMC", name},
                                    {"RKJS", teacher},
                                    {"KMZF", fullMarks}});
}

} // namespace testing_support
