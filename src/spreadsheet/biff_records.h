#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The BIFF records of an Excel 97-2003 workbook stream, shared by the reader and the writer: record
// numbers, the little-endian field access, and one builder per record the writer emits. Every
// builder appends the whole record (header and data) to a RecordStream and states its data layout
// as an offset table.
namespace spreadsheet::biff {

namespace record {
inline constexpr std::uint16_t kFormula = 0x0006;
inline constexpr std::uint16_t kEof = 0x000A;
inline constexpr std::uint16_t kCalcCount = 0x000C;
inline constexpr std::uint16_t kCalcMode = 0x000D;
inline constexpr std::uint16_t kPrecision = 0x000E;
inline constexpr std::uint16_t kRefMode = 0x000F;
inline constexpr std::uint16_t kDelta = 0x0010;
inline constexpr std::uint16_t kIteration = 0x0011;
inline constexpr std::uint16_t kProtect = 0x0012;
inline constexpr std::uint16_t kPassword = 0x0013;
inline constexpr std::uint16_t kWindowProtect = 0x0019;
inline constexpr std::uint16_t kSelection = 0x001D;
inline constexpr std::uint16_t kDateMode = 0x0022;
inline constexpr std::uint16_t kFilePass = 0x002F;
inline constexpr std::uint16_t kFont = 0x0031;
inline constexpr std::uint16_t kContinue = 0x003C;
inline constexpr std::uint16_t kWindow1 = 0x003D;
inline constexpr std::uint16_t kBackup = 0x0040;
inline constexpr std::uint16_t kCodePage = 0x0042;
inline constexpr std::uint16_t kDefColWidth = 0x0055;
inline constexpr std::uint16_t kSaveRecalc = 0x005F;
inline constexpr std::uint16_t kColInfo = 0x007D;
inline constexpr std::uint16_t kGridSet = 0x0082;
inline constexpr std::uint16_t kBoundSheet = 0x0085;
inline constexpr std::uint16_t kCountry = 0x008C;
inline constexpr std::uint16_t kHideObj = 0x008D;
inline constexpr std::uint16_t kMulRk = 0x00BD;
inline constexpr std::uint16_t kMulBlank = 0x00BE;
inline constexpr std::uint16_t kRString = 0x00D6;
inline constexpr std::uint16_t kBookBool = 0x00DA;
inline constexpr std::uint16_t kXf = 0x00E0;
inline constexpr std::uint16_t kMergedCells = 0x00E5;
inline constexpr std::uint16_t kSst = 0x00FC;
inline constexpr std::uint16_t kLabelSst = 0x00FD;
inline constexpr std::uint16_t kExtSst = 0x00FF;
inline constexpr std::uint16_t kDimensions = 0x0200;
inline constexpr std::uint16_t kBlank = 0x0201;
inline constexpr std::uint16_t kNumber = 0x0203;
inline constexpr std::uint16_t kLabel = 0x0204;
inline constexpr std::uint16_t kBoolErr = 0x0205;
inline constexpr std::uint16_t kString = 0x0207;
inline constexpr std::uint16_t kRow = 0x0208;
inline constexpr std::uint16_t kDefaultRowHeight = 0x0225;
inline constexpr std::uint16_t kWindow2 = 0x023E;
inline constexpr std::uint16_t kRk = 0x027E;
inline constexpr std::uint16_t kStyle = 0x0293;
inline constexpr std::uint16_t kFormat = 0x041E;
inline constexpr std::uint16_t kWsBool = 0x0081;
// The BOF record of each BIFF version: BIFF2, BIFF3, BIFF4 and BIFF5/7/8.
inline constexpr std::uint16_t kBofBiff2 = 0x0009;
inline constexpr std::uint16_t kBofBiff3 = 0x0209;
inline constexpr std::uint16_t kBofBiff4 = 0x0409;
inline constexpr std::uint16_t kBof = 0x0809;
} // namespace record

// The most data one record may carry; longer data goes on in CONTINUE records.
inline constexpr std::size_t kMaxRecordData = 8224;
// MERGEDCELLS holds at most this many ranges (2 + 1026 * 8 bytes stay within kMaxRecordData).
inline constexpr std::size_t kMaxMergesPerRecord = 1026;

// BOF substream types.
inline constexpr std::uint16_t kBofWorkbookGlobals = 0x0005;
inline constexpr std::uint16_t kBofWorksheet = 0x0010;
// BIFF versions in the BOF record.
inline constexpr std::uint16_t kVersionBiff8 = 0x0600;
inline constexpr std::uint16_t kVersionBiff5 = 0x0500;

// Field access on record data; the caller has checked the length.
inline std::uint16_t u16At(std::string_view data, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(data[at]) |
                                      (static_cast<unsigned char>(data[at + 1]) << 8));
}
inline std::uint32_t u32At(std::string_view data, std::size_t at) {
    return static_cast<std::uint32_t>(u16At(data, at)) | (static_cast<std::uint32_t>(u16At(data, at + 2)) << 16);
}
double f64At(std::string_view data, std::size_t at);
// The value of an RK number: a 30-bit integer or the upper 30 bits of a double, optionally / 100.
double rkValue(std::uint32_t rk);
// The RK encoding of a value when one represents it exactly.
bool toRk(double value, std::uint32_t& rk);

// A workbook stream being assembled: records are opened, filled and closed; the length field is
// set when a record is closed.
class RecordStream {
public:
    void begin(std::uint16_t id);
    void end();
    // Data bytes still free in the open record.
    std::size_t remaining() const { return kMaxRecordData - (m_bytes.size() - m_dataStart); }

    void u8(unsigned value) { m_bytes.push_back(static_cast<char>(value & 0xFF)); }
    void u16(unsigned value) {
        u8(value);
        u8(value >> 8);
    }
    void u32(std::uint32_t value) {
        u16(value & 0xFFFF);
        u16(value >> 16);
    }
    void f64(double value);
    void bytes(std::string_view data) { m_bytes.append(data); }
    // Patches a 32-bit field written earlier at stream position `at`.
    void patchU32(std::size_t at, std::uint32_t value);

    std::size_t size() const { return m_bytes.size(); }
    std::size_t recordStart() const { return m_recordStart; }
    const std::string& data() const { return m_bytes; }
    std::string take() { return std::move(m_bytes); }
    void reserve(std::size_t bytes) { m_bytes.reserve(bytes); }

private:
    std::string m_bytes;
    std::size_t m_recordStart = 0;
    std::size_t m_dataStart = 0;
    bool m_open = false;
};

// Unicode text as UTF-16 code units, the strings of BIFF8.
std::u16string utf8ToUtf16(std::string_view text);
void appendUtf8(std::string& out, char32_t codePoint);
void appendUtf16AsUtf8(std::string& out, const char16_t* units, std::size_t count);
// True when every unit fits in one byte, so the string can be stored "compressed" (8-bit).
bool fitsInBytes(std::u16string_view text);

// --- Builders (BIFF8) ---

// BOF: 0 vers (0x0600), 2 dt (substream type), 4 rupBuild, 6 rupYear, 8 bfh flags (4), 12 sfo (4:
// lowest BIFF version 6).
void bof(RecordStream& out, std::uint16_t substreamType);
// EOF: no data.
void eof(RecordStream& out);
// A record whose data is one 16-bit value (CODEPAGE, WINDOWPROTECT, PROTECT, PASSWORD, BACKUP,
// HIDEOBJ, DATEMODE, PRECISION, BOOKBOOL, CALCMODE, CALCCOUNT, REFMODE, ITERATION, SAVERECALC,
// GRIDSET, DEFCOLWIDTH, WSBOOL).
void u16Record(RecordStream& out, std::uint16_t id, std::uint16_t value);
// DELTA: 0 numDelta (8, IEEE double).
void delta(RecordStream& out, double value);
// COUNTRY: 0 iCountryDef, 2 iCountryWinIni.
void country(RecordStream& out, std::uint16_t defaults, std::uint16_t windows);
// WINDOW1: 0 xWn, 2 yWn, 4 dxWn, 6 dyWn (window in twips), 8 flags (0x38: scroll bars and tabs
// shown), 10 itabCur, 12 itabFirst, 14 ctabSel, 16 wTabRatio (0x258 = 60%).
void window1(RecordStream& out);
// FONT: 0 dyHeight (twips), 2 grbit, 4 icv (0x7FFF: automatic), 6 bls (400: normal weight), 8 sss,
// 10 uls, 11 bFamily, 12 bCharSet (0x86 GB2312 for names with Chinese characters), 13 reserved,
// 14 fontName (ShortXLUnicodeString: cch (1), fHighByte (1), characters).
void font(RecordStream& out, std::string_view name, int points);
// FORMAT: 0 ifmt, 2 stFormat (XLUnicodeString: cch (2), fHighByte (1), characters).
void format(RecordStream& out, std::uint16_t index, std::string_view code);

// The look an XF record gives a cell.
struct XfLook {
    std::uint16_t font = 0;
    std::uint16_t numberFormat = 0; // ifmt
    std::uint8_t horizontal = 0;    // alc: 0 general, 2 centred
    std::uint8_t vertical = 2;      // alcV: 1 centred, 2 bottom
    bool borders = false;           // thin line on all four edges
};
// XF: 0 ifnt, 2 ifmt, 4 flags (bit 0 fLocked, bit 2 fStyle, bits 4-15 ixfParent: 0xFFF for a
// style XF, 0 = the Normal style for a cell XF), 6 alc (bits 0-2) and alcV (bits 4-6), 7 trot,
// 8 indent/shrink/reading order, 9 used-attribute bits 2-7 (number format, font, alignment,
// border, fill, protection), 10 border styles left/right/top/bottom (4 bits each) and left/right
// colours (7 bits each), 14 top/bottom/diagonal colours, diagonal style and fill pattern,
// 18 fill colours (icvFore 0x40, icvBack 0x41).
void styleXf(RecordStream& out, std::uint16_t font, std::uint8_t usedAttributes);
void cellXf(RecordStream& out, const XfLook& look);
// STYLE for the built-in Normal style: 0 ixfe | 0x8000 (built-in), 2 istyBuiltIn (0), 3 iLevel (0xFF).
void normalStyle(RecordStream& out);
// BOUNDSHEET: 0 lbPlyPos (stream position of the sheet's BOF), 4 hsState (0 visible), 5 dt (0
// worksheet), 6 stName (ShortXLUnicodeString). Returns the stream position of lbPlyPos, to be
// patched once the sheet's position is known.
std::size_t boundSheet(RecordStream& out, std::u16string_view name);

// One bucket of EXTSST: where a string of the shared string table begins.
struct SstBucket {
    std::uint32_t streamPosition; // absolute position of the string in the stream
    std::uint16_t recordOffset;   // its offset within its SST or CONTINUE record, header included
};
// SST: 0 cstTotal (references from cells), 4 cstUnique, 8 the strings (XLUnicodeRichExtendedString:
// cch (2), flags (1: bit 0 fHighByte), characters). Data beyond kMaxRecordData goes on in CONTINUE
// records. A string header never splits; a string whose characters cross the boundary goes on in
// the CONTINUE record after a repeated flags byte. Returns the EXTSST buckets, one for every
// `bucketSize` strings.
std::vector<SstBucket> sst(RecordStream& out, const std::vector<std::u16string>& strings, std::uint32_t references,
                           std::uint16_t bucketSize);
// Strings per EXTSST bucket: 8, or more so that there are at most 128 buckets.
std::uint16_t sstBucketSize(std::size_t strings);
// EXTSST: 0 dsst (strings per bucket), 2 rgISSTInf (ib (4), cbOffset (2), reserved (2)) per bucket.
void extSst(RecordStream& out, std::uint16_t bucketSize, const std::vector<SstBucket>& buckets);

// DEFAULTROWHEIGHT: 0 flags (0: height matches the default font), 2 miyRw (twips).
void defaultRowHeight(RecordStream& out, std::uint16_t twips);
// COLINFO: 0 colFirst, 2 colLast (0-based), 4 coldx (1/256 character), 6 ixfe, 8 flags (bit 0
// fHidden for width 0, bit 1 fUserSet when the width was set), 10 unused.
void colInfo(RecordStream& out, std::uint16_t first, std::uint16_t last, std::uint16_t width, std::uint16_t xf,
             bool widthSet);
// DIMENSIONS: 0 rwMic (4), 4 rwMac (4, last + 1), 8 colMic, 10 colMac (last + 1), 12 reserved.
void dimensions(RecordStream& out, std::uint32_t firstRow, std::uint32_t endRow, std::uint16_t firstColumn,
                std::uint16_t endColumn);
// ROW: 0 rw, 2 colMic, 4 colMac (last + 1), 6 miyRw (twips), 8 reserved, 10 unused, 12 flags (bit 7
// fGhostDirty when the row has a format; bits 8-15 always 1), 14 ixfe (12 bits).
void row(RecordStream& out, std::uint16_t index, std::uint16_t firstColumn, std::uint16_t endColumn,
         std::uint16_t twips, std::int32_t xf);
// Cell records all begin with 0 rw, 2 col, 4 ixfe.
// NUMBER: 6 num (8).
void number(RecordStream& out, std::uint16_t row, std::uint16_t column, std::uint16_t xf, double value);
// RK: 6 rk (4).
void rk(RecordStream& out, std::uint16_t row, std::uint16_t column, std::uint16_t xf, std::uint32_t value);
// MULRK: 0 rw, 2 colFirst, 4 (ixfe (2), rk (4)) per cell, last 2 colLast.
struct RkCell {
    std::uint16_t xf;
    std::uint32_t rk;
};
void mulRk(RecordStream& out, std::uint16_t row, std::uint16_t firstColumn, const RkCell* cells, std::size_t count);
// LABELSST: 6 isst (4).
void labelSst(RecordStream& out, std::uint16_t row, std::uint16_t column, std::uint16_t xf, std::uint32_t index);
// BLANK: no further data.
void blank(RecordStream& out, std::uint16_t row, std::uint16_t column, std::uint16_t xf);
// MULBLANK: 0 rw, 2 colFirst, 4 ixfe (2) per cell, last 2 colLast.
void mulBlank(RecordStream& out, std::uint16_t row, std::uint16_t firstColumn, const std::uint16_t* xfs,
              std::size_t count);
// A cell range, 0-based, both corners included.
struct CellRange {
    std::uint16_t firstRow, lastRow, firstColumn, lastColumn;
};
// MERGEDCELLS: 0 cmcs, 2 Ref8 (rwFirst, rwLast, colFirst, colLast; 2 bytes each) per range. Written
// in as many records as needed, each with at most kMaxMergesPerRecord ranges.
void mergedCells(RecordStream& out, const std::vector<CellRange>& ranges);
// WINDOW2: 0 grbit (0x06B6: grid lines, headers, zeros, automatic grid colour, outline symbols,
// selected, shown), 2 rwTop, 4 colLeft, 6 icvHdr (0x40), 8 reserved, 10 wScaleSLV, 12 wScaleNormal,
// 14 reserved (4).
void window2(RecordStream& out);
// SELECTION: 0 pnn (3: the only pane), 1 rwAct, 3 colAct, 5 irefAct (0), 7 cref (1), 9 Ref8U
// (rwFirst (2), rwLast (2), colFirst (1), colLast (1)).
void selection(RecordStream& out, const CellRange& range);

} // namespace spreadsheet::biff
