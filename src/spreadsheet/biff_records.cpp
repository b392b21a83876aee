#include "biff_records.h"

#include <bit>
#include <cassert>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace spreadsheet::biff {

double f64At(std::string_view data, std::size_t at) {
    std::uint64_t bits =
        static_cast<std::uint64_t>(u32At(data, at)) | (static_cast<std::uint64_t>(u32At(data, at + 4)) << 32);
    return std::bit_cast<double>(bits);
}

double rkValue(std::uint32_t rk) {
    double value = 0;
    if (rk & 2) {
        value = static_cast<double>(static_cast<std::int32_t>(rk) >> 2);
    } else {
        value = std::bit_cast<double>(static_cast<std::uint64_t>(rk & 0xFFFFFFFCu) << 32);
    }
    return (rk & 1) ? value / 100 : value;
}

namespace {

bool sameBits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

// The integer or truncated-double RK form of `scaled`, when it has one; `x100` marks a value that
// was multiplied by 100.
bool rkCandidate(double scaled, bool x100, double original, std::uint32_t& rk) {
    if (!std::isfinite(scaled)) {
        return false;
    }
    // value * 100 may miss the whole number by a rounding error (74.15 * 100 = 7415.000000000001)
    // while 7415 / 100 gives the value back exactly: the nearest whole number is the candidate.
    double whole = std::round(scaled);
    if (whole >= -536870912.0 && whole <= 536870911.0) {
        std::uint32_t candidate =
            (static_cast<std::uint32_t>(static_cast<std::int32_t>(whole)) << 2) | 2u | (x100 ? 1u : 0u);
        if (sameBits(rkValue(candidate), original)) {
            rk = candidate;
            return true;
        }
    }
    std::uint64_t bits = std::bit_cast<std::uint64_t>(scaled);
    if ((bits & 0x3FFFFFFFFull) == 0) {
        std::uint32_t candidate = static_cast<std::uint32_t>(bits >> 32) | (x100 ? 1u : 0u);
        if (sameBits(rkValue(candidate), original)) {
            rk = candidate;
            return true;
        }
    }
    return false;
}

} // namespace

bool toRk(double value, std::uint32_t& rk) {
    return rkCandidate(value, false, value, rk) || rkCandidate(value * 100, true, value, rk);
}

void RecordStream::begin(std::uint16_t id) {
    assert(!m_open);
    m_open = true;
    m_recordStart = m_bytes.size();
    u16(id);
    u16(0);
    m_dataStart = m_bytes.size();
}

void RecordStream::end() {
    assert(m_open);
    m_open = false;
    std::size_t length = m_bytes.size() - m_dataStart;
    if (length > kMaxRecordData) {
        throw std::logic_error("BIFF record longer than 8224 bytes");
    }
    m_bytes[m_recordStart + 2] = static_cast<char>(length & 0xFF);
    m_bytes[m_recordStart + 3] = static_cast<char>(length >> 8);
}

void RecordStream::f64(double value) {
    std::uint64_t bits = std::bit_cast<std::uint64_t>(value);
    u32(static_cast<std::uint32_t>(bits));
    u32(static_cast<std::uint32_t>(bits >> 32));
}

void RecordStream::patchU32(std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        m_bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

std::u16string utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        unsigned char lead = static_cast<unsigned char>(text[i]);
        char32_t cp = 0xFFFD;
        std::size_t length = 1;
        if (lead < 0x80) {
            cp = lead;
        } else if (lead >= 0xC2 && lead <= 0xF4) {
            std::size_t need = lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
            char32_t value = lead & (need == 2 ? 0x1F : need == 3 ? 0x0F : 0x07);
            std::size_t k = 1;
            for (; k < need && i + k < text.size(); ++k) {
                unsigned char next = static_cast<unsigned char>(text[i + k]);
                if ((next & 0xC0) != 0x80) {
                    break;
                }
                value = (value << 6) | (next & 0x3F);
            }
            bool overlong = (need == 3 && value < 0x800) || (need == 4 && value < 0x10000);
            if (k == need && !overlong && value <= 0x10FFFF && !(value >= 0xD800 && value <= 0xDFFF)) {
                cp = value;
                length = need;
            } else {
                length = k;
            }
        }
        i += length;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

void appendUtf16AsUtf8(std::string& out, const char16_t* units, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        char32_t unit = units[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < count && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
            appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (units[i + 1] - 0xDC00));
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            appendUtf8(out, 0xFFFD); // a lone surrogate
        } else {
            appendUtf8(out, unit);
        }
    }
}

bool fitsInBytes(std::u16string_view text) {
    for (char16_t unit : text) {
        if (unit > 0xFF) {
            return false;
        }
    }
    return true;
}

namespace {

// The characters of a string, 8-bit when they all fit.
void stringCharacters(RecordStream& out, std::u16string_view text, bool compressed) {
    for (char16_t unit : text) {
        if (compressed) {
            out.u8(unit);
        } else {
            out.u16(unit);
        }
    }
}

// ShortXLUnicodeString: cch (1), fHighByte (1), characters; at most `limit` units.
void shortString(RecordStream& out, std::u16string_view text, std::size_t limit) {
    if (text.size() > limit) {
        text = text.substr(0, limit);
        if (!text.empty() && text.back() >= 0xD800 && text.back() <= 0xDBFF) {
            text.remove_suffix(1); // never split a surrogate pair
        }
    }
    bool compressed = fitsInBytes(text);
    out.u8(static_cast<unsigned>(text.size()));
    out.u8(compressed ? 0 : 1);
    stringCharacters(out, text, compressed);
}

bool hasNonAscii(std::string_view text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return true;
        }
    }
    return false;
}

} // namespace

void bof(RecordStream& out, std::uint16_t substreamType) {
    out.begin(record::kBof);
    out.u16(kVersionBiff8);
    out.u16(substreamType);
    out.u16(0x0DBB); // rupBuild
    out.u16(0x07CC); // rupYear
    out.u32(0);      // bfh
    out.u32(6);      // sfo: lowest BIFF version that read this file
    out.end();
}

void eof(RecordStream& out) {
    out.begin(record::kEof);
    out.end();
}

void u16Record(RecordStream& out, std::uint16_t id, std::uint16_t value) {
    out.begin(id);
    out.u16(value);
    out.end();
}

void delta(RecordStream& out, double value) {
    out.begin(record::kDelta);
    out.f64(value);
    out.end();
}

void country(RecordStream& out, std::uint16_t defaults, std::uint16_t windows) {
    out.begin(record::kCountry);
    out.u16(defaults);
    out.u16(windows);
    out.end();
}

void window1(RecordStream& out) {
    out.begin(record::kWindow1);
    out.u16(0x0168);
    out.u16(0x001E);
    out.u16(0x3A5C);
    out.u16(0x2328);
    out.u16(0x0038);
    out.u16(0); // itabCur
    out.u16(0); // itabFirst
    out.u16(1); // ctabSel
    out.u16(0x0258);
    out.end();
}

void font(RecordStream& out, std::string_view name, int points) {
    out.begin(record::kFont);
    out.u16(static_cast<unsigned>(points * 20));
    out.u16(0);
    out.u16(0x7FFF);
    out.u16(400);
    out.u16(0);
    out.u8(0);
    out.u8(0);
    out.u8(hasNonAscii(name) ? 0x86 : 0x00);
    out.u8(0);
    shortString(out, utf8ToUtf16(name), 31);
    out.end();
}

void format(RecordStream& out, std::uint16_t index, std::string_view code) {
    std::u16string text = utf8ToUtf16(code);
    bool compressed = fitsInBytes(text);
    out.begin(record::kFormat);
    out.u16(index);
    out.u16(static_cast<unsigned>(text.size()));
    out.u8(compressed ? 0 : 1);
    stringCharacters(out, text, compressed);
    out.end();
}

namespace {

constexpr std::uint8_t kUsedNumberFormat = 0x04;
constexpr std::uint8_t kUsedFont = 0x08;
constexpr std::uint8_t kUsedAlignment = 0x10;
constexpr std::uint8_t kUsedBorder = 0x20;
constexpr std::uint8_t kUsedFill = 0x40;
constexpr std::uint8_t kUsedProtection = 0x80;

void xfRecord(RecordStream& out, std::uint16_t fontIndex, std::uint16_t numberFormat, std::uint16_t typeAndParent,
              std::uint8_t alignment, std::uint8_t used, bool borders) {
    out.begin(record::kXf);
    out.u16(fontIndex);
    out.u16(numberFormat);
    out.u16(typeAndParent);
    out.u8(alignment);
    out.u8(0); // trot
    out.u8(0); // indent, shrink, reading order
    out.u8(used);
    constexpr std::uint32_t kThin = 1;
    constexpr std::uint32_t kAutomatic = 0x40;
    if (borders) {
        out.u32(kThin | (kThin << 4) | (kThin << 8) | (kThin << 12) | (kAutomatic << 16) | (kAutomatic << 23));
        out.u32(kAutomatic | (kAutomatic << 7));
    } else {
        out.u32(0);
        out.u32(0);
    }
    out.u16(0x40 | (0x41 << 7));
    out.end();
}

} // namespace

void styleXf(RecordStream& out, std::uint16_t fontIndex, std::uint8_t usedAttributes) {
    xfRecord(out, fontIndex, 0, 0xFFF5, 0x20, usedAttributes, false);
}

void cellXf(RecordStream& out, const XfLook& look) {
    std::uint8_t alignment = static_cast<std::uint8_t>((look.horizontal & 0x07) | ((look.vertical & 0x07) << 4));
    // Every attribute group is the XF's own, none comes from the Normal style.
    std::uint8_t used = kUsedNumberFormat | kUsedFont | kUsedAlignment | kUsedBorder | kUsedFill | kUsedProtection;
    xfRecord(out, look.font, look.numberFormat, 0x0001, alignment, used, look.borders);
}

void normalStyle(RecordStream& out) {
    out.begin(record::kStyle);
    out.u16(0x8000);
    out.u8(0);
    out.u8(0xFF);
    out.end();
}

std::size_t boundSheet(RecordStream& out, std::u16string_view name) {
    out.begin(record::kBoundSheet);
    std::size_t position = out.size();
    out.u32(0);
    out.u8(0);
    out.u8(0);
    shortString(out, name, 31);
    out.end();
    return position;
}

std::vector<SstBucket> sst(RecordStream& out, const std::vector<std::u16string>& strings, std::uint32_t references,
                           std::uint16_t bucketSize) {
    std::vector<SstBucket> buckets;
    out.begin(record::kSst);
    out.u32(references);
    out.u32(static_cast<std::uint32_t>(strings.size()));
    for (std::size_t i = 0; i < strings.size(); ++i) {
        const std::u16string& text = strings[i];
        bool compressed = fitsInBytes(text);
        std::size_t unitSize = compressed ? 1 : 2;
        // The header and the first character go into one record.
        std::size_t need = 3 + (text.empty() ? 0 : unitSize);
        if (out.remaining() < need) {
            out.end();
            out.begin(record::kContinue);
        }
        if (i % bucketSize == 0) {
            buckets.push_back(
                {static_cast<std::uint32_t>(out.size()), static_cast<std::uint16_t>(out.size() - out.recordStart())});
        }
        out.u16(static_cast<unsigned>(text.size()));
        out.u8(compressed ? 0 : 1);
        std::size_t done = 0;
        while (done < text.size()) {
            std::size_t room = out.remaining() / unitSize;
            if (room == 0) {
                out.end();
                out.begin(record::kContinue);
                out.u8(compressed ? 0 : 1);
                continue;
            }
            std::size_t part = std::min(room, text.size() - done);
            stringCharacters(out, std::u16string_view(text).substr(done, part), compressed);
            done += part;
        }
    }
    out.end();
    return buckets;
}

std::uint16_t sstBucketSize(std::size_t strings) {
    std::size_t size = (strings + 127) / 128;
    return static_cast<std::uint16_t>(size < 8 ? 8 : size);
}

void extSst(RecordStream& out, std::uint16_t bucketSize, const std::vector<SstBucket>& buckets) {
    out.begin(record::kExtSst);
    out.u16(bucketSize);
    for (const SstBucket& bucket : buckets) {
        out.u32(bucket.streamPosition);
        out.u16(bucket.recordOffset);
        out.u16(0);
    }
    out.end();
}

void defaultRowHeight(RecordStream& out, std::uint16_t twips) {
    out.begin(record::kDefaultRowHeight);
    out.u16(0);
    out.u16(twips);
    out.end();
}

void colInfo(RecordStream& out, std::uint16_t first, std::uint16_t last, std::uint16_t width, std::uint16_t xf,
             bool widthSet) {
    out.begin(record::kColInfo);
    out.u16(first);
    out.u16(last);
    out.u16(width);
    out.u16(xf);
    out.u16((widthSet ? 0x0002 : 0) | (width == 0 ? 0x0001 : 0)); // fUserSet, fHidden
    out.u16(0);
    out.end();
}

void dimensions(RecordStream& out, std::uint32_t firstRow, std::uint32_t endRow, std::uint16_t firstColumn,
                std::uint16_t endColumn) {
    out.begin(record::kDimensions);
    out.u32(firstRow);
    out.u32(endRow);
    out.u16(firstColumn);
    out.u16(endColumn);
    out.u16(0);
    out.end();
}

void row(RecordStream& out, std::uint16_t index, std::uint16_t firstColumn, std::uint16_t endColumn,
         std::uint16_t twips, std::int32_t xf) {
    out.begin(record::kRow);
    out.u16(index);
    out.u16(firstColumn);
    out.u16(endColumn);
    out.u16(twips);
    out.u16(0);
    out.u16(0);
    out.u16(xf >= 0 ? 0x0180 : 0x0100);
    out.u16(xf >= 0 ? static_cast<unsigned>(xf) : 0x000F);
    out.end();
}

namespace {
void cellHeader(RecordStream& out, std::uint16_t id, std::uint16_t row, std::uint16_t column, std::uint16_t xf) {
    out.begin(id);
    out.u16(row);
    out.u16(column);
    out.u16(xf);
}
} // namespace

void number(RecordStream& out, std::uint16_t row, std::uint16_t column, std::uint16_t xf, double value) {
    cellHeader(out, record::kNumber, row, column, xf);
    out.f64(value);
    out.end();
}

void rk(RecordStream& out, std::uint16_t row, std::uint16_t column, std::uint16_t xf, std::uint32_t value) {
    cellHeader(out, record::kRk, row, column, xf);
    out.u32(value);
    out.end();
}

void mulRk(RecordStream& out, std::uint16_t row, std::uint16_t firstColumn, const RkCell* cells, std::size_t count) {
    out.begin(record::kMulRk);
    out.u16(row);
    out.u16(firstColumn);
    for (std::size_t i = 0; i < count; ++i) {
        out.u16(cells[i].xf);
        out.u32(cells[i].rk);
    }
    out.u16(static_cast<unsigned>(firstColumn + count - 1));
    out.end();
}

void labelSst(RecordStream& out, std::uint16_t row, std::uint16_t column, std::uint16_t xf, std::uint32_t index) {
    cellHeader(out, record::kLabelSst, row, column, xf);
    out.u32(index);
    out.end();
}

void blank(RecordStream& out, std::uint16_t row, std::uint16_t column, std::uint16_t xf) {
    cellHeader(out, record::kBlank, row, column, xf);
    out.end();
}

void mulBlank(RecordStream& out, std::uint16_t row, std::uint16_t firstColumn, const std::uint16_t* xfs,
              std::size_t count) {
    out.begin(record::kMulBlank);
    out.u16(row);
    out.u16(firstColumn);
    for (std::size_t i = 0; i < count; ++i) {
        out.u16(xfs[i]);
    }
    out.u16(static_cast<unsigned>(firstColumn + count - 1));
    out.end();
}

void mergedCells(RecordStream& out, const std::vector<CellRange>& ranges) {
    for (std::size_t start = 0; start < ranges.size(); start += kMaxMergesPerRecord) {
        std::size_t count = std::min(kMaxMergesPerRecord, ranges.size() - start);
        out.begin(record::kMergedCells);
        out.u16(static_cast<unsigned>(count));
        for (std::size_t i = start; i < start + count; ++i) {
            out.u16(ranges[i].firstRow);
            out.u16(ranges[i].lastRow);
            out.u16(ranges[i].firstColumn);
            out.u16(ranges[i].lastColumn);
        }
        out.end();
    }
}

void window2(RecordStream& out) {
    out.begin(record::kWindow2);
    out.u16(0x06B6);
    out.u16(0);
    out.u16(0);
    out.u16(0x40);
    out.u16(0);
    out.u16(0);
    out.u16(0);
    out.u32(0);
    out.end();
}

void selection(RecordStream& out, const CellRange& range) {
    out.begin(record::kSelection);
    out.u8(3);
    out.u16(range.firstRow);
    out.u16(range.firstColumn);
    out.u16(0);
    out.u16(1);
    out.u16(range.firstRow);
    out.u16(range.lastRow);
    out.u8(range.firstColumn);
    out.u8(range.lastColumn);
    out.end();
}

} // namespace spreadsheet::biff
