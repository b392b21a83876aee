#include "code_page.h"

#include "biff_records.h"

#include <cerrno>
#include <iconv.h>

namespace spreadsheet {

namespace {

iconv_t toIconv(void* converter) {
    return static_cast<iconv_t>(converter);
}
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

} // namespace

const char* CodePageDecoder::iconvName(int codePage) {
    switch (codePage) {
    case 367:
        return "ASCII";
    case 437:
        return "CP437";
    case 720:
        return "CP720";
    case 737:
        return "CP737";
    case 775:
        return "CP775";
    case 850:
        return "CP850";
    case 852:
        return "CP852";
    case 855:
        return "CP855";
    case 857:
        return "CP857";
    case 858:
        return "CP858";
    case 860:
        return "CP860";
    case 861:
        return "CP861";
    case 862:
        return "CP862";
    case 863:
        return "CP863";
    case 864:
        return "CP864";
    case 865:
        return "CP865";
    case 866:
        return "CP866";
    case 869:
        return "CP869";
    case 874:
        return "CP874";
    case 932:
        return "CP932";
    case 936:
        return "GBK";
    case 949:
        return "CP949";
    case 950:
        return "BIG5";
    case 1200:
        // UTF-16 has no 8-bit form; writers that declare it in BIFF5 put UTF-16LE bytes into the
        // 8-bit strings, so they are read as such.
        return "UTF-16LE";
    case 1250:
    case 1251:
    case 1252:
    case 1253:
    case 1254:
    case 1255:
    case 1256:
    case 1257:
    case 1258: {
        static const char* const names[] = {"CP1250", "CP1251", "CP1252", "CP1253", "CP1254",
                                            "CP1255", "CP1256", "CP1257", "CP1258"};
        return names[codePage - 1250];
    }
    case 1361:
        return "JOHAB";
    case 10000:
    case 32768:
        return "MACINTOSH";
    case 32769:
        return "CP1252";
    default:
        return "CP1252";
    }
}

CodePageDecoder::CodePageDecoder(int codePage) {
    iconv_t converter = iconv_open("UTF-8", iconvName(codePage));
    if (converter == kNoConverter) {
        converter = iconv_open("UTF-8", "CP1252");
    }
    if (converter != kNoConverter) {
        m_converter = converter;
    }
    m_utf16 = codePage == 1200;
}

CodePageDecoder::~CodePageDecoder() {
    if (m_converter != nullptr) {
        iconv_close(toIconv(m_converter));
    }
}

void CodePageDecoder::decode(std::string_view bytes, std::string& out) {
    // Most text of a score workbook is ASCII (exam numbers, digits): no conversion needed. In a
    // workbook that claims UTF-16, ASCII text without NUL bytes is taken as the 8-bit text it is:
    // the writers with that fault store plain ASCII strings as single bytes.
    bool ascii = true;
    for (char c : bytes) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 || (m_utf16 && byte == 0)) {
            ascii = false;
            break;
        }
    }
    if (ascii) {
        out.append(bytes);
        return;
    }
    if (m_utf16 && bytes.size() % 2 != 0) {
        for (char c : bytes) {
            biff::appendUtf8(out, static_cast<unsigned char>(c)); // no UTF-16 either: Latin-1
        }
        return;
    }
    if (m_converter == nullptr) {
        for (char c : bytes) {
            biff::appendUtf8(out, static_cast<unsigned char>(c) < 0x80 ? static_cast<char32_t>(c) : 0xFFFD);
        }
        return;
    }
    iconv_t converter = toIconv(m_converter);
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char buffer[1024];
    while (inLeft > 0) {
        char* outPointer = buffer;
        std::size_t outLeft = sizeof buffer;
        std::size_t result = iconv(converter, &in, &inLeft, &outPointer, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outPointer - buffer));
        if (result == static_cast<std::size_t>(-1)) {
            if (errno == E2BIG) {
                continue;
            }
            // An invalid or incomplete sequence: one replacement character for its first byte.
            biff::appendUtf8(out, 0xFFFD);
            ++in;
            --inLeft;
            iconv(converter, nullptr, nullptr, nullptr, nullptr);
        }
    }
}

} // namespace spreadsheet
