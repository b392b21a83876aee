#include "messages.h"

namespace messages {

namespace {

std::string quoted(std::string_view path) {
    std::string text = "“";
    text += path;
    text += "”";
    return text;
}

std::string concat(std::initializer_list<std::string_view> parts) {
    std::string text;
    for (std::string_view part : parts) {
        text += part;
    }
    return text;
}

} // namespace

std::string mainWindowCaption() { return concat({kAppTitle, "V2.0-[", kCredit, "]"}); }

std::string physicalMemoryLabel() {
#if defined(_WIN32)
    return "Windows  的可用物理内存：";
#elif defined(__linux__)
    return "Linux  的可用物理内存：";
#else
    return "系统的可用物理内存：";
#endif
}

std::string notAnInteger(std::string_view text) { return concat({"'", text, "' 不是一个有效的整形值"}); }

std::string notAFloatingPoint(std::string_view text) { return concat({"'", text, "' is 不是一个有效的浮点值"}); }

std::string catalogueMissing(std::string_view path) {
    return concat({"找不到目录数据库文件", quoted(path), "。请把目录数据库 Data.mdb 放在工作文件夹中，"
                                                        "或用 catalogue-init 命令新建一个空的目录数据库"});
}

std::string catalogueIsAccess(std::string_view path) {
    return concat({"目录数据库文件", quoted(path),
                   "是 Microsoft Access 数据库。本程序的目录数据库为 SQLite 3 格式，"
                   "请先把它转换为本程序的目录数据库格式后再使用；该文件未做任何改动"});
}

std::string catalogueNotSqlite(std::string_view path) {
    return concat({"目录数据库文件", quoted(path), "不是本程序的目录数据库（SQLite 3 格式），无法打开"});
}

std::string catalogueLacksTable(std::string_view path, std::string_view table) {
    return concat({"目录数据库文件", quoted(path), "缺少数据表 ", table, "，无法使用"});
}

std::string catalogueLacksField(std::string_view path, std::string_view table, std::string_view field) {
    return concat({"目录数据库文件", quoted(path), "的数据表 ", table, " 缺少字段 ", field, "，无法使用"});
}

std::string catalogueUnreadable(std::string_view path, std::string_view reason) {
    return concat({"无法打开目录数据库文件", quoted(path), "：", reason});
}

std::string catalogueOperationFailed(std::string_view reason) {
    return concat({"目录数据库操作失败：", reason});
}

std::string catalogueFileExists(std::string_view path) {
    return concat({"文件", quoted(path), "已经存在，未做任何改动"});
}

std::string catalogueCreated(std::string_view path) { return concat({"已新建空的目录数据库", quoted(path)}); }

std::string demoCatalogueCreated(std::string_view path) { return concat({"已新建演示目录数据库", quoted(path)}); }

std::string workbookUnreadable(std::string_view path) {
    return concat({"无法打开工作簿", quoted(path), "：文件不存在或无法读取"});
}

std::string workbookNotExcel97(std::string_view path) {
    return concat({"无法打开工作簿", quoted(path), "：该文件不是 Excel 97-2003 工作簿（.xls）"});
}

std::string workbookEncrypted(std::string_view path) {
    return concat({"无法打开工作簿", quoted(path), "：该工作簿设有打开密码，请先取消密码后再导入"});
}

std::string workbookOldFormat(std::string_view path) {
    return concat({"无法打开工作簿", quoted(path),
                   "：该文件是 Excel 2.1-4.0 的旧格式，请先另存为 Excel 97-2003 工作簿（.xls）后再导入"});
}

std::string workbookCorrupt(std::string_view path, std::string_view detail) {
    return concat({"无法打开工作簿", quoted(path), "：文件已损坏或不完整（", detail, "）"});
}

std::string workbookWithoutWorksheet(std::string_view path) {
    return concat({"无法打开工作簿", quoted(path), "：工作簿中没有工作表"});
}

std::string workbookTooManyRows(std::string_view path) {
    return concat({"无法保存工作簿", quoted(path), "：行数超过了 Excel 97-2003 工作表 65536 行的上限"});
}

std::string workbookTooManyColumns(std::string_view path) {
    return concat({"无法保存工作簿", quoted(path), "：列数超过了 Excel 97-2003 工作表 256 列的上限"});
}

std::string workbookSaveFailed(std::string_view path, std::string_view reason) {
    return concat({"无法保存工作簿", quoted(path), "：", reason});
}

std::string badScore(int row, int column) {
    return concat({"对不起，第", std::to_string(row), "行第", std::to_string(column), "列数据错误，不能导入！"});
}

} // namespace messages
