// catalogue-init: creates a new, empty catalogue file (or, with --demo, a small demonstration
// catalogue). It never touches an existing file.
#include "demo.h"
#include "schema.h"

#include "common/errors.h"
#include "common/messages.h"

#include <cstring>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    bool demo = false;
    const char* path = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--demo") == 0) {
            demo = true;
        } else if (path == nullptr && argv[i][0] != '-') {
            path = argv[i];
        } else {
            path = nullptr;
            break;
        }
    }
    if (path == nullptr) {
        std::cerr << "用法 / usage: catalogue-init [--demo] PATH\n"
                     "  新建空的目录数据库文件 PATH（已存在的文件不会被改动）；--demo 时填入演示目录。\n"
                     "  Creates a new, empty catalogue file PATH (an existing file is never touched);\n"
                     "  with --demo it holds a small demonstration catalogue.\n";
        return 2;
    }
    try {
        if (demo) {
            catalogue::createDemoCatalogue(path);
        } else {
            catalogue::createCatalogue(path);
        }
        std::cout << (demo ? messages::demoCatalogueCreated(path) : messages::catalogueCreated(path)) << "\n";
        return 0;
    } catch (const common::Error& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
}
