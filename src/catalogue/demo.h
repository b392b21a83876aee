#pragma once

#include <string>

namespace catalogue {

// Creates a new catalogue file (refusing an existing one, as createCatalogue does) filled with a
// small demonstration catalogue: schools 01 第一中学 and 02 第二中学, each with grade 02 初二年级, each
// grade with classes 01 to 03, each class with 语文, 数学, 英语 (full marks 150) and 物理, 化学 (100).
void createDemoCatalogue(const std::string& path);

} // namespace catalogue
