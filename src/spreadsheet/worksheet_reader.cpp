#include "worksheet_reader.h"

#include "biff_records.h"
#include "code_page.h"
#include "common/errors.h"
#include "common/messages.h"
#include "common/number_format.h"
#include "compound_file.h"

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace spreadsheet {

namespace {

using biff::u16At;
using biff::u32At;
namespace record = biff::record;

// Why a workbook could not be read; turned into the user's message where the file name is known.
enum class Problem { NotExcel97, Encrypted, OldFormat, Corrupt, NoWorksheet };
struct ReadError {
    Problem problem;
    const char* detail = "";
};

[[noreturn]] void corrupt(const char* detail) {
    throw ReadError{Problem::Corrupt, detail};
}

constexpr unsigned kColumns = 256; // BIFF sheets have columns 0 to 255

struct Record {
    std::uint16_t id = 0;
    std::string_view data;
};

// Walks the records of a workbook stream. A header or a length that reaches beyond the stream is
// an error; every step advances by at least the four header bytes, so a walk always ends.
class RecordCursor {
public:
    RecordCursor(std::string_view stream, std::size_t position) : m_stream(stream), m_position(position) {}

    bool atEnd() const { return m_position >= m_stream.size(); }
    Record next() {
        if (m_stream.size() - m_position < 4) {
            corrupt(messages::kWorkbookTruncated);
        }
        Record result;
        result.id = u16At(m_stream, m_position);
        std::size_t length = u16At(m_stream, m_position + 2);
        if (m_stream.size() - m_position - 4 < length) {
            corrupt(messages::kWorkbookRecordBeyondEnd);
        }
        result.data = m_stream.substr(m_position + 4, length);
        m_position += 4 + length;
        return result;
    }
    std::optional<std::uint16_t> peekId() const {
        if (m_stream.size() - m_position < 4 || m_position >= m_stream.size()) {
            return std::nullopt;
        }
        return u16At(m_stream, m_position);
    }

private:
    std::string_view m_stream;
    std::size_t m_position;
};

// The data of a record and of the CONTINUE records that follow it, read across their boundaries.
// Characters of a string that goes on in the next record are preceded there by a repeated flags
// byte (bit 0: 16-bit characters); other fields simply go on.
class ContinuedData {
public:
    explicit ContinuedData(std::vector<std::string_view> segments) : m_segments(std::move(segments)) {}

    // Total bytes not read yet.
    std::size_t left() const {
        std::size_t total = 0;
        for (std::size_t i = m_segment; i < m_segments.size(); ++i) {
            total += m_segments[i].size() - (i == m_segment ? m_offset : 0);
        }
        return total;
    }
    bool atEnd() {
        skipExhausted();
        return m_segment >= m_segments.size();
    }

    std::uint8_t u8() {
        skipExhausted();
        if (m_segment >= m_segments.size()) {
            corrupt(messages::kWorkbookStringTableBroken);
        }
        return static_cast<std::uint8_t>(m_segments[m_segment][m_offset++]);
    }
    std::uint16_t u16() {
        std::uint16_t low = u8();
        return static_cast<std::uint16_t>(low | (u8() << 8));
    }
    std::uint32_t u32() {
        std::uint32_t low = u16();
        return low | (static_cast<std::uint32_t>(u16()) << 16);
    }
    void skip(std::size_t count) {
        while (count > 0) {
            skipExhausted();
            if (m_segment >= m_segments.size()) {
                corrupt(messages::kWorkbookStringTableBroken);
            }
            std::size_t part = std::min(count, m_segments[m_segment].size() - m_offset);
            m_offset += part;
            count -= part;
        }
    }
    // `count` characters as UTF-8, 16-bit when `wide`.
    void characters(std::size_t count, bool wide, std::string& out) {
        m_units.clear();
        while (count > 0) {
            if (m_segment >= m_segments.size()) {
                corrupt(messages::kWorkbookStringTableBroken);
            }
            if (m_offset >= m_segments[m_segment].size()) {
                // The characters go on in the next record, after its flags byte.
                ++m_segment;
                m_offset = 0;
                if (m_segment < m_segments.size() && !m_segments[m_segment].empty()) {
                    wide = static_cast<unsigned char>(m_segments[m_segment][0]) & 1;
                    m_offset = 1;
                }
                continue;
            }
            std::string_view segment = m_segments[m_segment];
            std::size_t unitSize = wide ? 2 : 1;
            std::size_t available = (segment.size() - m_offset) / unitSize;
            if (available == 0) {
                corrupt(messages::kWorkbookStringTableBroken); // half a 16-bit character
            }
            std::size_t part = std::min(available, count);
            for (std::size_t i = 0; i < part; ++i) {
                m_units.push_back(wide ? static_cast<char16_t>(u16At(segment, m_offset + 2 * i))
                                       : static_cast<char16_t>(static_cast<unsigned char>(segment[m_offset + i])));
            }
            m_offset += part * unitSize;
            count -= part;
        }
        biff::appendUtf16AsUtf8(out, m_units.data(), m_units.size());
    }

private:
    void skipExhausted() {
        while (m_segment < m_segments.size() && m_offset >= m_segments[m_segment].size()) {
            ++m_segment;
            m_offset = 0;
        }
    }

    std::vector<std::string_view> m_segments;
    std::size_t m_segment = 0;
    std::size_t m_offset = 0;
    std::u16string m_units;
};

// A BIFF8 string inside one record: cch (1 or 2 bytes), flags (bit 0: 16-bit characters),
// characters. Returns the position after it.
std::size_t unicodeString(std::string_view data, std::size_t at, std::size_t countSize, std::string& out) {
    if (data.size() < at + countSize + 1) {
        corrupt(messages::kWorkbookRecordTooShort);
    }
    std::size_t count = countSize == 1 ? static_cast<unsigned char>(data[at]) : u16At(data, at);
    bool wide = static_cast<unsigned char>(data[at + countSize]) & 1;
    std::size_t start = at + countSize + 1;
    std::size_t bytes = count * (wide ? 2 : 1);
    if (data.size() - start < bytes) {
        corrupt(messages::kWorkbookRecordTooShort);
    }
    ContinuedData characters({data.substr(start, bytes)});
    characters.characters(count, wide, out);
    return start + bytes;
}

// A BIFF5 string inside one record: cch (1 or 2 bytes), bytes in the workbook's code page.
void byteString(std::string_view data, std::size_t at, std::size_t countSize, CodePageDecoder& decoder,
                std::string& out) {
    if (data.size() < at + countSize) {
        corrupt(messages::kWorkbookRecordTooShort);
    }
    std::size_t count = countSize == 1 ? static_cast<unsigned char>(data[at]) : u16At(data, at);
    if (data.size() - at - countSize < count) {
        corrupt(messages::kWorkbookRecordTooShort);
    }
    decoder.decode(data.substr(at + countSize, count), out);
}

std::vector<std::string_view> withContinues(std::string_view first, RecordCursor& cursor) {
    std::vector<std::string_view> segments{first};
    while (cursor.peekId() == record::kContinue) {
        segments.push_back(cursor.next().data);
    }
    return segments;
}

// The SST: cstTotal (4), cstUnique (4), then the strings (cch (2), flags (1: bit 0 16-bit, bit 2
// phonetic data, bit 3 rich text), [cRun (2)], [cbExtRst (4)], characters, runs (4 each), phonetic
// data).
void readSharedStrings(std::vector<std::string_view> segments, std::vector<std::string>& strings) {
    ContinuedData data(std::move(segments));
    if (data.left() < 8) {
        corrupt(messages::kWorkbookStringTableBroken);
    }
    data.u32();
    std::uint32_t unique = data.u32();
    // Each string takes at least three bytes: the claimed count never reserves more than that.
    strings.reserve(std::min<std::size_t>(unique, data.left() / 3));
    for (std::uint32_t i = 0; i < unique && !data.atEnd(); ++i) {
        std::size_t count = data.u16();
        std::uint8_t flags = data.u8();
        std::size_t runs = (flags & 0x08) ? data.u16() : 0;
        std::size_t phonetic = (flags & 0x04) ? data.u32() : 0;
        std::string text;
        data.characters(count, flags & 0x01, text);
        data.skip(runs * 4);
        data.skip(phonetic);
        strings.push_back(std::move(text));
    }
}

const char* errorText(unsigned code) {
    switch (code) {
    case 0x00:
        return "#NULL!";
    case 0x07:
        return "#DIV/0!";
    case 0x0F:
        return "#VALUE!";
    case 0x17:
        return "#REF!";
    case 0x1D:
        return "#NAME?";
    case 0x24:
        return "#NUM!";
    case 0x2A:
        return "#N/A";
    case 0x2B:
        return "#GETTING_DATA";
    default:
        return "#N/A";
    }
}

struct SheetEntry {
    std::uint32_t position;
    std::string_view name;
};

} // namespace

struct Worksheet::Impl {
    struct Cell {
        std::uint32_t position = 0; // (row - 1) * 256 + column - 1
        ReadKind kind = ReadKind::Empty;
        union {
            double number;
            std::uint32_t text;
        };
        Cell() : number(0) {}
    };

    std::string name;
    std::vector<std::string> texts;
    std::vector<Cell> cells;              // sorted by position
    std::vector<std::uint32_t> rowStarts; // index of the first cell of each row, and the end
    int lastRow = 0;
    int lastColumn = 0;

    // Reads the first worksheet of a BIFF5/7/8 workbook stream.
    void read(std::string_view stream);

    void add(unsigned row, unsigned column, ReadKind kind, double number) {
        if (column >= kColumns) {
            return; // no BIFF sheet has such a column
        }
        Cell cell;
        cell.position = static_cast<std::uint32_t>(row * kColumns + column);
        cell.kind = kind;
        cell.number = number;
        cells.push_back(cell);
    }
    void addText(unsigned row, unsigned column, std::string text) {
        if (text.empty() || column >= kColumns) {
            return; // an empty text is an empty cell
        }
        Cell cell;
        cell.position = static_cast<std::uint32_t>(row * kColumns + column);
        cell.kind = ReadKind::Text;
        cell.text = static_cast<std::uint32_t>(texts.size());
        texts.push_back(std::move(text));
        cells.push_back(cell);
    }
    void addSharedText(unsigned row, unsigned column, std::uint32_t index, std::size_t sharedCount) {
        if (index >= sharedCount) {
            corrupt(messages::kWorkbookStringIndex);
        }
        if (texts[index].empty() || column >= kColumns) {
            return;
        }
        Cell cell;
        cell.position = static_cast<std::uint32_t>(row * kColumns + column);
        cell.kind = ReadKind::Text;
        cell.text = index;
        cells.push_back(cell);
    }

    // Sorts the cells (the last record of a cell wins) and builds the row index.
    void finish() {
        auto byPosition = [](const Cell& a, const Cell& b) { return a.position < b.position; };
        if (!std::is_sorted(cells.begin(), cells.end(), byPosition)) {
            std::stable_sort(cells.begin(), cells.end(), byPosition);
        }
        std::size_t kept = 0;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (kept > 0 && cells[kept - 1].position == cells[i].position) {
                cells[kept - 1] = cells[i];
            } else {
                cells[kept++] = cells[i];
            }
        }
        cells.resize(kept);
        cells.shrink_to_fit();
        lastRow = cells.empty() ? 0 : static_cast<int>(cells.back().position / kColumns) + 1;
        rowStarts.assign(static_cast<std::size_t>(lastRow) + 1, 0);
        for (const Cell& cell : cells) {
            lastColumn = std::max(lastColumn, static_cast<int>(cell.position % kColumns) + 1);
        }
        std::size_t index = 0;
        for (int row = 0; row <= lastRow; ++row) {
            while (index < cells.size() && cells[index].position / kColumns < static_cast<std::uint32_t>(row)) {
                ++index;
            }
            rowStarts[static_cast<std::size_t>(row)] = static_cast<std::uint32_t>(index);
        }
    }

    const Cell* find(int row, int column) const {
        if (row < 1 || row > lastRow || column < 1 || column > static_cast<int>(kColumns)) {
            return nullptr;
        }
        std::uint32_t position = static_cast<std::uint32_t>((row - 1) * kColumns + column - 1);
        std::size_t begin = rowStarts[static_cast<std::size_t>(row - 1)];
        std::size_t end = rowStarts[static_cast<std::size_t>(row)];
        std::size_t guess = begin + static_cast<std::size_t>(column - 1);
        if (guess < end && cells[guess].position == position) {
            return &cells[guess]; // a row filled from column 1 on
        }
        auto it = std::lower_bound(cells.begin() + static_cast<std::ptrdiff_t>(begin),
                                   cells.begin() + static_cast<std::ptrdiff_t>(end), position,
                                   [](const Cell& cell, std::uint32_t p) { return cell.position < p; });
        if (it != cells.begin() + static_cast<std::ptrdiff_t>(end) && it->position == position) {
            return &*it;
        }
        return nullptr;
    }
};

namespace {

bool isOldBof(std::string_view file) {
    if (file.size() < 4) {
        return false;
    }
    std::uint16_t id = u16At(file, 0);
    std::uint16_t length = u16At(file, 2);
    return (id == record::kBofBiff2 && length == 4) ||
           ((id == record::kBofBiff3 || id == record::kBofBiff4) && length == 6);
}

bool isBof(std::string_view file) {
    return file.size() >= 4 && u16At(file, 0) == record::kBof && (u16At(file, 2) == 8 || u16At(file, 2) == 16);
}

} // namespace

void Worksheet::Impl::read(std::string_view stream) {
    Impl& sheet = *this;
    RecordCursor globals(stream, 0);
    if (stream.size() >= 4 && isOldBof(stream)) {
        throw ReadError{Problem::OldFormat};
    }
    Record bof = globals.next();
    if (bof.id != record::kBof || bof.data.size() < 4) {
        corrupt(messages::kWorkbookNoBeginning);
    }
    std::uint16_t version = u16At(bof.data, 0);
    bool biff8 = false;
    if (version == biff::kVersionBiff8) {
        biff8 = true;
    } else if (version == biff::kVersionBiff5) {
        biff8 = false;
    } else if (version > 0 && version < biff::kVersionBiff5) {
        throw ReadError{Problem::OldFormat};
    } else {
        corrupt(messages::kWorkbookUnknownVersion);
    }

    int codePage = 1252;
    std::vector<SheetEntry> worksheets;
    std::size_t sharedCount = 0;
    bool ended = false;
    while (!globals.atEnd()) {
        Record r = globals.next();
        if (r.id == record::kEof) {
            ended = true;
            break;
        }
        switch (r.id) {
        case record::kFilePass:
            throw ReadError{Problem::Encrypted};
        case record::kCodePage:
            if (r.data.size() >= 2) {
                codePage = u16At(r.data, 0);
            }
            break;
        case record::kBoundSheet: {
            if (r.data.size() < 7) {
                corrupt(messages::kWorkbookRecordTooShort);
            }
            // 0 lbPlyPos, 4 hsState, 5 dt (0 worksheet, 1 macro sheet, 2 chart, 6 module), 6 name.
            if (static_cast<unsigned char>(r.data[5]) == 0) {
                worksheets.push_back({u32At(r.data, 0), r.data.substr(6)});
            }
            break;
        }
        case record::kSst:
            if (biff8 && sheet.texts.empty()) {
                readSharedStrings(withContinues(r.data, globals), sheet.texts);
                sharedCount = sheet.texts.size();
            }
            break;
        default:
            break;
        }
    }
    if (!ended) {
        corrupt(messages::kWorkbookTruncated);
    }
    if (worksheets.empty()) {
        throw ReadError{Problem::NoWorksheet};
    }

    CodePageDecoder decoder(codePage);
    const SheetEntry& first = worksheets.front();
    if (biff8) {
        unicodeString(first.name, 0, 1, sheet.name);
    } else {
        byteString(first.name, 0, 1, decoder, sheet.name);
    }
    if (first.position >= stream.size() || !isBof(stream.substr(first.position))) {
        corrupt(messages::kWorkbookSheetPosition);
    }
    RecordCursor records(stream, first.position);
    Record sheetBof = records.next();
    if (sheetBof.data.size() < 4 || u16At(sheetBof.data, 2) != biff::kBofWorksheet) {
        corrupt(messages::kWorkbookSheetPosition);
    }

    int depth = 1; // charts embedded in the sheet bring their own BOF ... EOF
    std::optional<std::pair<unsigned, unsigned>> pendingString;
    std::string text;
    while (depth > 0) {
        if (records.atEnd()) {
            corrupt(messages::kWorkbookTruncated);
        }
        Record r = records.next();
        if (r.id == record::kBof) {
            ++depth;
            continue;
        }
        if (r.id == record::kEof) {
            --depth;
            continue;
        }
        if (depth != 1) {
            continue;
        }
        std::string_view d = r.data;
        auto need = [&](std::size_t bytes) {
            if (d.size() < bytes) {
                corrupt(messages::kWorkbookRecordTooShort);
            }
        };
        switch (r.id) {
        case record::kNumber:
            need(14);
            sheet.add(u16At(d, 0), u16At(d, 2), ReadKind::Number, biff::f64At(d, 6));
            pendingString.reset();
            break;
        case record::kRk:
            need(10);
            sheet.add(u16At(d, 0), u16At(d, 2), ReadKind::Number, biff::rkValue(u32At(d, 6)));
            pendingString.reset();
            break;
        case record::kMulRk: {
            // 0 rw, 2 colFirst, then (ixfe (2), rk (4)) per cell, colLast (2).
            need(6);
            if ((d.size() - 6) % 6 != 0) {
                corrupt(messages::kWorkbookRecordTooShort);
            }
            unsigned row = u16At(d, 0);
            unsigned column = u16At(d, 2);
            std::size_t count = (d.size() - 6) / 6;
            for (std::size_t i = 0; i < count; ++i) {
                sheet.add(row, column + static_cast<unsigned>(i), ReadKind::Number,
                          biff::rkValue(u32At(d, 4 + 6 * i + 2)));
            }
            pendingString.reset();
            break;
        }
        case record::kLabelSst:
            need(10);
            if (biff8) {
                sheet.addSharedText(u16At(d, 0), u16At(d, 2), u32At(d, 6), sharedCount);
            }
            pendingString.reset();
            break;
        case record::kLabel:
        case record::kRString:
            // 0 rw, 2 col, 4 ixfe, 6 the string (cch (2), [flags (1)], characters).
            need(8);
            text.clear();
            if (biff8) {
                unicodeString(d, 6, 2, text);
            } else {
                byteString(d, 6, 2, decoder, text);
            }
            sheet.addText(u16At(d, 0), u16At(d, 2), std::move(text));
            text = std::string();
            pendingString.reset();
            break;
        case record::kBoolErr: {
            // 6 bBoolErr, 7 fError.
            need(8);
            unsigned value = static_cast<unsigned char>(d[6]);
            bool error = d[7] != 0;
            sheet.add(u16At(d, 0), u16At(d, 2), error ? ReadKind::Error : ReadKind::Boolean, value);
            pendingString.reset();
            break;
        }
        case record::kFormula: {
            // 6 the cached result (8): a double, or with 0xFFFF in bytes 12-13 a type in byte 6
            // (0 string in the following STRING record, 1 boolean, 2 error, 3 empty text) and its
            // value in byte 8.
            need(14);
            unsigned row = u16At(d, 0);
            unsigned column = u16At(d, 2);
            pendingString.reset();
            if (u16At(d, 12) != 0xFFFF) {
                sheet.add(row, column, ReadKind::Number, biff::f64At(d, 6));
                break;
            }
            unsigned type = static_cast<unsigned char>(d[6]);
            unsigned value = static_cast<unsigned char>(d[8]);
            if (type == 0) {
                pendingString = std::make_pair(row, column);
            } else if (type == 1) {
                sheet.add(row, column, ReadKind::Boolean, value != 0 ? 1 : 0);
            } else if (type == 2) {
                sheet.add(row, column, ReadKind::Error, value);
            }
            break;
        }
        case record::kString: {
            if (!pendingString) {
                break;
            }
            text.clear();
            if (biff8) {
                ContinuedData data(withContinues(d, records));
                std::size_t count = data.u16();
                bool wide = data.u8() & 1;
                data.characters(count, wide, text);
            } else {
                byteString(d, 0, 2, decoder, text);
            }
            sheet.addText(pendingString->first, pendingString->second, std::move(text));
            text = std::string();
            pendingString.reset();
            break;
        }
        default:
            break;
        }
    }
    sheet.finish();
}

namespace {

std::string problemText(const ReadError& error, const std::string& name) {
    switch (error.problem) {
    case Problem::NotExcel97:
        return messages::workbookNotExcel97(name);
    case Problem::Encrypted:
        return messages::workbookEncrypted(name);
    case Problem::OldFormat:
        return messages::workbookOldFormat(name);
    case Problem::NoWorksheet:
        return messages::workbookWithoutWorksheet(name);
    case Problem::Corrupt:
        break;
    }
    return messages::workbookCorrupt(name, error.detail);
}

} // namespace

Worksheet::Worksheet(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}
Worksheet::Worksheet(Worksheet&&) noexcept = default;
Worksheet& Worksheet::operator=(Worksheet&&) noexcept = default;
Worksheet::~Worksheet() = default;

Worksheet Worksheet::openBytes(std::string_view bytes, const std::string& name) {
    auto impl = std::make_unique<Impl>();
    try {
        if (ole::hasSignature(bytes)) {
            ole::WorkbookStream workbook = ole::readWorkbookStream(bytes);
            switch (workbook.content) {
            case ole::Content::Workbook:
                break;
            case ole::Content::NoWorkbook:
                throw ReadError{Problem::NotExcel97};
            case ole::Content::Encrypted:
                throw ReadError{Problem::Encrypted};
            case ole::Content::Broken:
                corrupt(messages::kWorkbookContainerBroken);
            }
            impl->read(workbook.stream);
        } else if (isOldBof(bytes)) {
            throw ReadError{Problem::OldFormat};
        } else if (isBof(bytes)) {
            impl->read(bytes); // a bare workbook stream, without the compound file
        } else {
            throw ReadError{Problem::NotExcel97};
        }
    } catch (const ReadError& error) {
        throw common::Refusal(problemText(error, name));
    }
    return Worksheet(std::move(impl));
}

Worksheet Worksheet::open(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        throw common::Refusal(messages::workbookUnreadable(path));
    }
    struct stat status {};
    std::string bytes;
    bool ok = fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
    if (ok) {
        bytes.resize(static_cast<std::size_t>(status.st_size));
        std::size_t done = 0;
        while (ok && done < bytes.size()) {
            ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got <= 0) {
                ok = got == 0; // the file became shorter: read what is there
                break;
            }
            done += static_cast<std::size_t>(got);
        }
        bytes.resize(done);
    }
    ::close(fd);
    if (!ok) {
        throw common::Refusal(messages::workbookUnreadable(path));
    }
    return openBytes(bytes, path);
}

ReadCell Worksheet::cell(int row, int column) const {
    ReadCell result;
    const Impl::Cell* cell = m_impl->find(row, column);
    if (cell == nullptr) {
        return result;
    }
    result.kind = cell->kind;
    switch (cell->kind) {
    case ReadKind::Text:
        result.text = m_impl->texts[cell->text];
        break;
    case ReadKind::Number:
        result.number = cell->number;
        break;
    case ReadKind::Boolean:
        result.number = cell->number;
        result.text = cell->number != 0 ? "TRUE" : "FALSE";
        break;
    case ReadKind::Error:
        result.number = cell->number;
        result.text = errorText(static_cast<unsigned>(cell->number));
        break;
    case ReadKind::Empty:
        break;
    }
    return result;
}

std::string Worksheet::text(int row, int column) const {
    ReadCell read = cell(row, column);
    if (read.kind == ReadKind::Number) {
        return common::formatGeneral(read.number);
    }
    return std::string(read.text);
}

int Worksheet::lastRow() const {
    return m_impl->lastRow;
}
int Worksheet::lastColumn() const {
    return m_impl->lastColumn;
}
const std::string& Worksheet::name() const {
    return m_impl->name;
}

} // namespace spreadsheet
