#pragma once

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <string_view>

// Hand-made BIFF records for the reader's tests: each test builds just the records it needs.
namespace spreadsheet::testing {

inline std::string le16(unsigned value) {
    return std::string{static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF)};
}
inline std::string le32(std::uint32_t value) {
    return le16(value & 0xFFFF) + le16(value >> 16);
}
inline std::string f64(double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return le32(static_cast<std::uint32_t>(bits)) + le32(static_cast<std::uint32_t>(bits >> 32));
}
inline std::string bytes(std::initializer_list<unsigned> values) {
    std::string out;
    for (unsigned v : values) {
        out.push_back(static_cast<char>(v));
    }
    return out;
}
inline std::string record(unsigned id, std::string_view data) {
    return le16(id) + le16(static_cast<unsigned>(data.size())) + std::string(data);
}

// BOF of BIFF8 (version 0x0600) or BIFF5 (0x0500) for globals (5) or a worksheet (0x10).
inline std::string bof(unsigned version, unsigned type) {
    std::string data = le16(version) + le16(type) + le16(0x0DBB) + le16(0x07CC);
    if (version == 0x0600) {
        data += le32(0) + le32(6);
    }
    return record(0x0809, data);
}
inline std::string eof() {
    return record(0x000A, "");
}
// BOUNDSHEET with an 8-bit name (BIFF8: compressed Unicode; BIFF5: code page bytes).
inline std::string boundSheet(unsigned version, std::uint32_t position, unsigned type, std::string_view name) {
    std::string data = le32(position) + bytes({0, type}) + bytes({static_cast<unsigned>(name.size())});
    if (version == 0x0600) {
        data += bytes({0});
    }
    return record(0x0085, data + std::string(name));
}
inline std::string cellHeader(unsigned row, unsigned column, unsigned xf = 15) {
    return le16(row) + le16(column) + le16(xf);
}
inline std::string number(unsigned row, unsigned column, double value) {
    return record(0x0203, cellHeader(row, column) + f64(value));
}
inline std::string labelSst(unsigned row, unsigned column, std::uint32_t index) {
    return record(0x00FD, cellHeader(row, column) + le32(index));
}

// A workbook stream of globals records and one worksheet with `cells`, the worksheet listed in
// BOUNDSHEET with its true position. `extraSheetsBefore` are BOUNDSHEET records listed first.
inline std::string workbook(unsigned version, const std::string& globals, const std::string& cells,
                            const std::string& sheetName = "Sheet1", const std::string& before = "") {
    std::string head = bof(version, 5) + globals + before;
    std::string tail = eof();
    std::size_t sheetRecordSize = 4 + 6 + 1 + (version == 0x0600 ? 1 : 0) + sheetName.size();
    std::uint32_t position = static_cast<std::uint32_t>(head.size() + sheetRecordSize + tail.size());
    return head + boundSheet(version, position, 0, sheetName) + tail + bof(version, 0x10) + cells + eof();
}

} // namespace spreadsheet::testing
