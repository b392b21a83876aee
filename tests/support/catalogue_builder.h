#pragma once

#include "catalogue/data_module.h"
#include "support/temp_dir.h"

#include <cstdint>
#include <memory>
#include <string>

namespace testing_support {

// A new catalogue file in a temporary folder, filled row by row through the data module.
class CatalogueBuilder {
public:
    CatalogueBuilder();

    std::int64_t school(const std::string& code, const std::string& name);
    std::int64_t grade(std::int64_t school, const std::string& code, const std::string& name);
    std::int64_t schoolClass(std::int64_t school, std::int64_t grade, const std::string& code, const std::string& name,
                             std::int64_t participation = 0);
    std::int64_t subject(std::int64_t school, std::int64_t grade, std::int64_t schoolClass, const std::string& name,
                         const std::string& teacher, std::int64_t fullMarks);

    catalogue::TDM& dm() { return *m_dm; }
    const TempDir& dir() const { return m_dir; }
    std::string path() const { return m_dir.file("Data.mdb"); }

private:
    TempDir m_dir;
    std::unique_ptr<catalogue::TDM> m_dm;
};

} // namespace testing_support
