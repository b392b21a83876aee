#include "catalogue_builder.h"

#include "catalogue/schema.h"

namespace testing_support {

CatalogueBuilder::CatalogueBuilder() {
    catalogue::createCatalogue(path());
    m_dm = std::make_unique<catalogue::TDM>(path());
}

std::int64_t CatalogueBuilder::school(const std::string& code, const std::string& name) {
    return catalogue::appendRow(m_dm->XXTable(), {{"XXBH", code}, {"XXMC", name}});
}

std::int64_t CatalogueBuilder::grade(std::int64_t school, const std::string& code, const std::string& name) {
    return catalogue::appendRow(m_dm->NJTable(), {{"XXID", school}, {"NJBH", code}, {"NJMC", name}});
}

std::int64_t CatalogueBuilder::schoolClass(std::int64_t school, std::int64_t grade, const std::string& code,
                                           const std::string& name, std::int64_t participation) {
    return catalogue::appendRow(m_dm->BJTable(),
                  {{"XXID", school}, {"NJID", grade}, {"BJBH", code}, {"BJMC", name}, {"CPRS", participation}});
}

std::int64_t CatalogueBuilder::subject(std::int64_t school, std::int64_t grade, std::int64_t schoolClass,
                                       const std::string& name, const std::string& teacher, std::int64_t fullMarks) {
    return catalogue::appendRow(m_dm->BKTable(), {{"XXID", school},
                                    {"NJID", grade},
                                    {"BJID", schoolClass},
                                    {"KMMC", name},
                                    {"RKJS", teacher},
                                    {"KMZF", fullMarks}});
}

} // namespace testing_support
