#pragma once

#include <string>
#include <string_view>

// 8-bit text of BIFF5/7 workbooks, in the code page of the workbook's CODEPAGE record, converted
// to UTF-8 with iconv.
namespace spreadsheet {

class CodePageDecoder {
public:
    // `codePage` is the Windows code page number of the CODEPAGE record (936, 1252, 1200, ...).
    // Unknown numbers are read as Windows-1252, Excel's default.
    explicit CodePageDecoder(int codePage);
    ~CodePageDecoder();
    CodePageDecoder(const CodePageDecoder&) = delete;
    CodePageDecoder& operator=(const CodePageDecoder&) = delete;

    // The bytes as UTF-8; a byte sequence the code page does not define becomes U+FFFD.
    void decode(std::string_view bytes, std::string& out);
    std::string decode(std::string_view bytes) {
        std::string out;
        decode(bytes, out);
        return out;
    }

    // The iconv name of a Windows code page number ("GBK" for 936, "UTF-16LE" for 1200, ...).
    static const char* iconvName(int codePage);

private:
    void* m_converter = nullptr; // iconv_t, or null when only ASCII can be decoded
    bool m_utf16 = false;        // the workbook claims code page 1200
};

} // namespace spreadsheet
