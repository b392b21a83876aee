#include "workbook_writer.h"

#include "atomic_file.h"
#include "biff_records.h"
#include "common/errors.h"
#include "common/messages.h"
#include "compound_file.h"
#include "sheet_impl.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <stdexcept>
#include <unordered_map>

namespace spreadsheet::detail {

namespace {

namespace rec = biff::record;

constexpr int kDigitWidthPixels = 8; // of 宋体 12, the default font
constexpr std::uint16_t kDefaultXf = 15;
constexpr std::uint16_t kFirstCellXf = 16;
constexpr std::uint16_t kWholeFormat = 164;
constexpr std::uint16_t kOneDecimalFormat = 165;
constexpr int kRowsPerBlock = 32;

// A resolved look packed into one number: font name index (16 bits), size (9 bits), borders,
// centred horizontally, centred vertically.
using LookKey = std::uint32_t;

LookKey packLook(const int values[kPropertyCount]) {
    return static_cast<LookKey>(values[0]) | (static_cast<LookKey>(values[1]) << 16) |
           (static_cast<LookKey>(values[2] != 0) << 25) |
           (static_cast<LookKey>(values[3] == static_cast<int>(HorizontalAlignment::Center)) << 26) |
           (static_cast<LookKey>(values[4] == static_cast<int>(VerticalAlignment::Center)) << 27);
}

LookKey defaultLook() {
    return packLook(kDefaultValues);
}

int lookFontName(LookKey key) {
    return static_cast<int>(key & 0xFFFF);
}
int lookFontSize(LookKey key) {
    return static_cast<int>((key >> 16) & 0x1FF);
}

// Fonts and XF records in the order they are first needed.
class Styles {
public:
    explicit Styles(const SheetData& data) : m_data(data) {}

    std::uint16_t xf(LookKey look, NumberFormat format) {
        std::uint32_t key = look | (static_cast<std::uint32_t>(format) << 28);
        if (look == defaultLook() && format == NumberFormat::General) {
            return kDefaultXf;
        }
        auto found = m_xfs.find(key);
        if (found != m_xfs.end()) {
            return found->second;
        }
        biff::XfLook xf;
        xf.font = font(lookFontName(look), lookFontSize(look));
        xf.numberFormat = format == NumberFormat::Whole        ? kWholeFormat
                          : format == NumberFormat::OneDecimal ? kOneDecimalFormat
                                                               : 0;
        xf.borders = (look >> 25) & 1;
        xf.horizontal = ((look >> 26) & 1) ? 2 : 0;
        xf.vertical = ((look >> 27) & 1) ? 1 : 2;
        std::uint16_t index = static_cast<std::uint16_t>(kFirstCellXf + m_cellXfs.size());
        m_cellXfs.push_back(xf);
        m_xfs.emplace(key, index);
        return index;
    }

    void write(biff::RecordStream& out) const {
        // Fonts 0 to 3 are the default font, as Excel writes them; index 4 does not exist.
        for (int i = 0; i < 4; ++i) {
            biff::font(out, kDefaultFontName, kDefaultFontSize);
        }
        for (const auto& [name, size] : m_fonts) {
            biff::font(out, m_data.fontNames[static_cast<std::size_t>(name)], size);
        }
        biff::format(out, kWholeFormat, "0");
        biff::format(out, kOneDecimalFormat, "0.0");
        // Style XFs: 0 is the Normal style; 1 to 14 the outline styles Excel always carries.
        biff::styleXf(out, 0, 0);
        static constexpr std::uint16_t kStyleFonts[14] = {1, 1, 2, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
        for (std::uint16_t font : kStyleFonts) {
            biff::styleXf(out, font, 0xF4);
        }
        biff::cellXf(out, biff::XfLook{});
        for (const biff::XfLook& xf : m_cellXfs) {
            biff::cellXf(out, xf);
        }
        biff::normalStyle(out);
    }

    int fontSizeOf(LookKey look) const { return lookFontSize(look); }

private:
    std::uint16_t font(int name, int size) {
        if (name == 0 && size == kDefaultFontSize) {
            return 0;
        }
        std::pair<int, int> key{name, size};
        auto found = std::find(m_fonts.begin(), m_fonts.end(), key);
        std::size_t index = static_cast<std::size_t>(found - m_fonts.begin());
        if (found == m_fonts.end()) {
            m_fonts.push_back(key);
        }
        return static_cast<std::uint16_t>(5 + index);
    }

    const SheetData& m_data;
    std::vector<std::pair<int, int>> m_fonts; // fonts 5, 6, ...
    std::vector<biff::XfLook> m_cellXfs;      // XF 16, 17, ...
    std::unordered_map<std::uint32_t, std::uint16_t> m_xfs;
};

// The shared strings in the order cells first use them.
class SharedStrings {
public:
    explicit SharedStrings(const SheetData& data) : m_data(data), m_index(data.texts.size(), -1) {}

    std::uint32_t use(std::uint32_t text) {
        ++m_references;
        std::int64_t& index = m_index[text];
        if (index < 0) {
            index = static_cast<std::int64_t>(m_strings.size());
            m_strings.push_back(biff::utf8ToUtf16(m_data.texts[text]));
        }
        return static_cast<std::uint32_t>(index);
    }
    void write(biff::RecordStream& out) const {
        std::uint16_t bucketSize = biff::sstBucketSize(m_strings.size());
        std::vector<biff::SstBucket> buckets = biff::sst(out, m_strings, m_references, bucketSize);
        biff::extSst(out, bucketSize, buckets);
    }

private:
    const SheetData& m_data;
    std::vector<std::int64_t> m_index;
    std::vector<std::u16string> m_strings;
    std::uint32_t m_references = 0;
};

// Cells of one row written as runs: MULRK for neighbouring RK numbers, MULBLANK for neighbouring
// formatted empty cells.
class RowWriter {
public:
    explicit RowWriter(biff::RecordStream& out) : m_out(out) {}

    void start(std::uint16_t row) {
        m_row = row;
        m_first = -1;
        m_end = 0;
    }
    void rk(std::uint16_t column, std::uint16_t xf, std::uint32_t value) {
        flushBlanks();
        if (!m_rks.empty() && m_rkStart + m_rks.size() != column) {
            flushRks();
        }
        if (m_rks.empty()) {
            m_rkStart = column;
        }
        m_rks.push_back({xf, value});
        note(column);
    }
    void blank(std::uint16_t column, std::uint16_t xf) {
        flushRks();
        if (!m_blanks.empty() && m_blankStart + m_blanks.size() != column) {
            flushBlanks();
        }
        if (m_blanks.empty()) {
            m_blankStart = column;
        }
        m_blanks.push_back(xf);
        note(column);
    }
    void number(std::uint16_t column, std::uint16_t xf, double value) {
        flushAll();
        biff::number(m_out, m_row, column, xf, value);
        note(column);
    }
    void label(std::uint16_t column, std::uint16_t xf, std::uint32_t index) {
        flushAll();
        biff::labelSst(m_out, m_row, column, xf, index);
        note(column);
    }
    void finish() { flushAll(); }
    int firstColumn() const { return m_first; }
    int endColumn() const { return m_end; }

private:
    void note(std::uint16_t column) {
        if (m_first < 0) {
            m_first = column;
        }
        m_end = column + 1;
    }
    void flushAll() {
        flushRks();
        flushBlanks();
    }
    void flushRks() {
        if (m_rks.size() == 1) {
            biff::rk(m_out, m_row, m_rkStart, m_rks[0].xf, m_rks[0].rk);
        } else if (!m_rks.empty()) {
            biff::mulRk(m_out, m_row, m_rkStart, m_rks.data(), m_rks.size());
        }
        m_rks.clear();
    }
    void flushBlanks() {
        if (m_blanks.size() == 1) {
            biff::blank(m_out, m_row, m_blankStart, m_blanks[0]);
        } else if (!m_blanks.empty()) {
            biff::mulBlank(m_out, m_row, m_blankStart, m_blanks.data(), m_blanks.size());
        }
        m_blanks.clear();
    }

    biff::RecordStream& m_out;
    std::uint16_t m_row = 0;
    int m_first = -1;
    int m_end = 0;
    std::vector<biff::RkCell> m_rks;
    std::uint16_t m_rkStart = 0;
    std::vector<std::uint16_t> m_blanks;
    std::uint16_t m_blankStart = 0;
};

// Applies a setting to the per-column property values of columns 1 to width.
void paint(const Setting& setting, int width, std::vector<int> (&values)[kPropertyCount]) {
    int first = std::max(1, setting.range.firstColumn);
    int last = std::min(width, setting.range.lastColumn);
    std::vector<int>& column = values[static_cast<int>(setting.property)];
    for (int c = first; c <= last; ++c) {
        column[static_cast<std::size_t>(c)] = setting.value;
    }
}

struct CellTable {
    std::string records;
    int firstRow = -1;
    int endRow = 0;
    int firstColumn = -1;
    int endColumn = 0;
};

// Rows and cells of the sheet. Every cell is written with the XF of its resolved look; an empty
// cell gets a BLANK record where the look a spreadsheet gives it from its row's or column's format
// (the row's first, as Excel does) differs from its resolved look. The resolved looks are constant
// between the rows where a setting starts or ends, so they are computed once per such band.
CellTable cellTable(const SheetData& data, int lastRow, int width, Styles& styles, SharedStrings& strings,
                    std::vector<std::uint16_t>& columnXfs, std::vector<bool>& columnFormatted) {
    std::vector<std::size_t> columnSettings;
    std::vector<std::size_t> rowSettings; // row and cell-level settings, by first row
    for (std::size_t i = 0; i < data.settings.size(); ++i) {
        if (coversWholeColumns(data.settings[i].range)) {
            columnSettings.push_back(i);
        } else {
            rowSettings.push_back(i);
        }
    }
    std::stable_sort(rowSettings.begin(), rowSettings.end(), [&](std::size_t a, std::size_t b) {
        return data.settings[a].range.firstRow < data.settings[b].range.firstRow;
    });

    // The columns' own formats: what an empty cell of a column shows.
    std::vector<int> values[kPropertyCount];
    for (int p = 0; p < kPropertyCount; ++p) {
        values[p].assign(static_cast<std::size_t>(kMaxColumns) + 1, kDefaultValues[p]);
    }
    columnFormatted.assign(static_cast<std::size_t>(kMaxColumns) + 1, false);
    for (std::size_t i : columnSettings) {
        paint(data.settings[i], kMaxColumns, values);
        for (int c = data.settings[i].range.firstColumn; c <= std::min(kMaxColumns, data.settings[i].range.lastColumn);
             ++c) {
            columnFormatted[static_cast<std::size_t>(c)] = true;
        }
    }
    std::vector<LookKey> columnLook(static_cast<std::size_t>(kMaxColumns) + 1, defaultLook());
    columnXfs.assign(static_cast<std::size_t>(kMaxColumns) + 1, kDefaultXf);
    for (int c = 1; c <= kMaxColumns; ++c) {
        if (columnFormatted[static_cast<std::size_t>(c)]) {
            int look[kPropertyCount];
            for (int p = 0; p < kPropertyCount; ++p) {
                look[p] = values[p][static_cast<std::size_t>(c)];
            }
            columnLook[static_cast<std::size_t>(c)] = packLook(look);
            columnXfs[static_cast<std::size_t>(c)] =
                styles.xf(columnLook[static_cast<std::size_t>(c)], NumberFormat::General);
        }
    }

    // The rows where the active row and cell-level settings change.
    std::vector<int> breaks{1, lastRow + 1};
    for (std::size_t i : rowSettings) {
        const Range& r = data.settings[i].range;
        if (r.firstRow <= lastRow) {
            breaks.push_back(r.firstRow);
        }
        if (r.lastRow + 1 <= lastRow) {
            breaks.push_back(r.lastRow + 1);
        }
    }
    std::sort(breaks.begin(), breaks.end());
    breaks.erase(std::unique(breaks.begin(), breaks.end()), breaks.end());

    CellTable table;
    biff::RecordStream rows;
    biff::RecordStream cells;
    biff::RecordStream out;
    out.reserve(data.rows.size() * static_cast<std::size_t>(std::max(width, 1)) * 12 + 1024);
    RowWriter writer(cells);

    std::vector<std::size_t> active;
    std::size_t nextSetting = 0;
    std::vector<LookKey> look(static_cast<std::size_t>(width) + 1);
    std::vector<bool> needsBlank(static_cast<std::size_t>(width) + 1);
    std::vector<std::array<int, 3>> xfCache(static_cast<std::size_t>(width) + 1);
    int blockRows = 0;
    int blockIndex = -1;
    auto flushBlock = [&] {
        out.bytes(rows.data());
        out.bytes(cells.data());
        rows = biff::RecordStream();
        cells = biff::RecordStream();
        blockRows = 0;
    };

    for (std::size_t band = 0; band + 1 < breaks.size(); ++band) {
        int bandFirst = breaks[band];
        int bandEnd = breaks[band + 1];
        while (nextSetting < rowSettings.size() &&
               data.settings[rowSettings[nextSetting]].range.firstRow <= bandFirst) {
            active.push_back(rowSettings[nextSetting++]);
        }
        std::erase_if(active, [&](std::size_t i) { return data.settings[i].range.lastRow < bandFirst; });
        std::sort(active.begin(), active.end());

        // Resolve: column settings and active settings together, in the order of the calls.
        for (int p = 0; p < kPropertyCount; ++p) {
            values[p].assign(static_cast<std::size_t>(width) + 1, kDefaultValues[p]);
        }
        int rowValues[kPropertyCount];
        std::copy(std::begin(kDefaultValues), std::end(kDefaultValues), rowValues);
        bool rowFormatted = false;
        std::size_t ci = 0;
        std::size_t ai = 0;
        while (ci < columnSettings.size() || ai < active.size()) {
            std::size_t next = 0;
            if (ai >= active.size() || (ci < columnSettings.size() && columnSettings[ci] < active[ai])) {
                next = columnSettings[ci++];
            } else {
                next = active[ai++];
                if (coversWholeRows(data.settings[next].range)) {
                    rowFormatted = true;
                    rowValues[static_cast<int>(data.settings[next].property)] = data.settings[next].value;
                }
            }
            paint(data.settings[next], width, values);
        }
        LookKey rowLook = packLook(rowValues);
        bool anyBlank = false;
        for (int c = 1; c <= width; ++c) {
            int v[kPropertyCount];
            for (int p = 0; p < kPropertyCount; ++p) {
                v[p] = values[p][static_cast<std::size_t>(c)];
            }
            look[static_cast<std::size_t>(c)] = packLook(v);
            LookKey shown = rowFormatted                                   ? rowLook
                            : columnFormatted[static_cast<std::size_t>(c)] ? columnLook[static_cast<std::size_t>(c)]
                                                                           : defaultLook();
            needsBlank[static_cast<std::size_t>(c)] = look[static_cast<std::size_t>(c)] != shown;
            anyBlank = anyBlank || needsBlank[static_cast<std::size_t>(c)];
            xfCache[static_cast<std::size_t>(c)] = {-1, -1, -1};
        }
        int rowXf = rowFormatted ? styles.xf(rowLook, NumberFormat::General) : -1;
        auto xfOf = [&](int c, NumberFormat format) {
            int& cached = xfCache[static_cast<std::size_t>(c)][static_cast<std::size_t>(format)];
            if (cached < 0) {
                cached = styles.xf(look[static_cast<std::size_t>(c)], format);
            }
            return static_cast<std::uint16_t>(cached);
        };

        for (int r = bandFirst; r < bandEnd; ++r) {
            const std::vector<StoredCell>* stored =
                r <= static_cast<int>(data.rows.size()) ? &data.rows[static_cast<std::size_t>(r - 1)] : nullptr;
            bool hasValues = stored != nullptr && !stored->empty();
            if (!hasValues && !anyBlank && !rowFormatted) {
                continue;
            }
            if ((r - 1) / kRowsPerBlock != blockIndex) {
                if (blockRows > 0) {
                    flushBlock();
                }
                blockIndex = (r - 1) / kRowsPerBlock;
            }
            std::uint16_t row = static_cast<std::uint16_t>(r - 1);
            writer.start(row);
            int tallest = rowFormatted ? lookFontSize(rowLook) : kDefaultFontSize;
            bool anyCell = false;
            for (int c = 1; c <= width; ++c) {
                const StoredCell* cell = hasValues && c <= static_cast<int>(stored->size())
                                             ? &(*stored)[static_cast<std::size_t>(c - 1)]
                                             : nullptr;
                std::uint16_t column = static_cast<std::uint16_t>(c - 1);
                if (cell != nullptr && cell->kind == CellKind::Number) {
                    std::uint16_t xf = xfOf(c, cell->format);
                    std::uint32_t rk = 0;
                    if (biff::toRk(cell->number, rk)) {
                        writer.rk(column, xf, rk);
                    } else {
                        writer.number(column, xf, cell->number);
                    }
                } else if (cell != nullptr && cell->kind == CellKind::Text) {
                    writer.label(column, xfOf(c, NumberFormat::General), strings.use(cell->text));
                } else if (needsBlank[static_cast<std::size_t>(c)]) {
                    writer.blank(column, xfOf(c, NumberFormat::General));
                } else {
                    continue;
                }
                if (!anyCell) {
                    tallest = 0;
                    anyCell = true;
                }
                tallest = std::max(tallest, lookFontSize(look[static_cast<std::size_t>(c)]));
            }
            writer.finish();
            if (!anyCell && !rowFormatted) {
                continue;
            }
            int first = anyCell ? writer.firstColumn() : 0;
            int end = anyCell ? writer.endColumn() : 0;
            biff::row(rows, row, static_cast<std::uint16_t>(first), static_cast<std::uint16_t>(end),
                      rowHeightTwips(tallest), rowXf);
            ++blockRows;
            if (anyCell) {
                if (table.firstRow < 0) {
                    table.firstRow = row;
                }
                table.endRow = row + 1;
                table.firstColumn = table.firstColumn < 0 ? first : std::min(table.firstColumn, first);
                table.endColumn = std::max(table.endColumn, end);
            }
        }
    }
    if (blockRows > 0) {
        flushBlock();
    }
    table.records = out.take();
    return table;
}

} // namespace

std::uint16_t columnWidthUnits(int characters) {
    if (characters <= 0) {
        return 0;
    }
    int pixels = characters * kDigitWidthPixels + 5;
    return static_cast<std::uint16_t>(std::min(65535, pixels * 256 / kDigitWidthPixels));
}

std::uint16_t rowHeightTwips(int points) {
    // A row of automatic height is the font's line height in pixels at 96 dpi (1.125 em, rounded
    // up) plus one pixel; a pixel is 15 twips.
    int pixels = (points * 96 * 9 + 72 * 8 - 1) / (72 * 8) + 1;
    return static_cast<std::uint16_t>(std::clamp(pixels * 15, 2, 8192));
}

Extent sheetExtent(const Sheet& sheet) {
    const SheetData& data = SheetAccess::data(sheet);
    Extent extent{sheet.lastRow(), sheet.lastColumn()};
    for (const Setting& setting : data.settings) {
        extent.rows =
            std::max(extent.rows, coversWholeColumns(setting.range) ? setting.range.firstRow : setting.range.lastRow);
        extent.columns = std::max(extent.columns, coversWholeRows(setting.range) ? setting.range.firstColumn
                                                                                 : setting.range.lastColumn);
    }
    if (!data.widths.empty()) {
        extent.columns = std::max(extent.columns, data.widths.rbegin()->first);
    }
    return extent;
}

std::string workbookStream(const Sheet& sheet) {
    const SheetData& data = SheetAccess::data(sheet);
    Extent extent = sheetExtent(sheet);
    if (extent.rows > kMaxRows || extent.columns > kMaxColumns) {
        throw std::logic_error("the sheet exceeds the limits of the format");
    }
    // Whole-row settings reach beyond the cells: their rows are written too.
    int lastRow = extent.rows;
    int width = 0;
    for (const Setting& setting : data.settings) {
        if (coversWholeRows(setting.range)) {
            lastRow = std::max(lastRow, std::min(setting.range.lastRow, kMaxRows));
        } else {
            width = std::max(width, std::min(setting.range.lastColumn, kMaxColumns));
        }
    }
    width = std::max(width, extent.columns);

    Styles styles(data);
    SharedStrings strings(data);
    std::vector<std::uint16_t> columnXfs;
    std::vector<bool> columnFormatted;
    CellTable table = cellTable(data, lastRow, width, styles, strings, columnXfs, columnFormatted);

    biff::RecordStream sheetStream;
    sheetStream.reserve(table.records.size() + 4096);
    biff::bof(sheetStream, biff::kBofWorksheet);
    biff::u16Record(sheetStream, rec::kCalcMode, 1);
    biff::u16Record(sheetStream, rec::kCalcCount, 100);
    biff::u16Record(sheetStream, rec::kRefMode, 1);
    biff::u16Record(sheetStream, rec::kIteration, 0);
    biff::delta(sheetStream, 0.001);
    biff::u16Record(sheetStream, rec::kSaveRecalc, 1);
    biff::u16Record(sheetStream, rec::kGridSet, 1);
    biff::defaultRowHeight(sheetStream, rowHeightTwips(kDefaultFontSize));
    biff::u16Record(sheetStream, rec::kWsBool, 0x04C1);
    biff::u16Record(sheetStream, rec::kDefColWidth, 8);
    // COLINFO for every column with a width or a format, neighbours with equal settings together.
    for (int c = 1; c <= kMaxColumns;) {
        auto widthOf = [&](int column) {
            auto found = data.widths.find(column);
            return found != data.widths.end() ? found->second : -1;
        };
        int w = widthOf(c);
        std::uint16_t xf = columnXfs[static_cast<std::size_t>(c)];
        if (w < 0 && !columnFormatted[static_cast<std::size_t>(c)]) {
            ++c;
            continue;
        }
        int last = c;
        while (last < kMaxColumns && widthOf(last + 1) == w && columnXfs[static_cast<std::size_t>(last + 1)] == xf &&
               columnFormatted[static_cast<std::size_t>(last + 1)] == columnFormatted[static_cast<std::size_t>(c)]) {
            ++last;
        }
        biff::colInfo(sheetStream, static_cast<std::uint16_t>(c - 1), static_cast<std::uint16_t>(last - 1),
                      columnWidthUnits(w >= 0 ? w : 8), xf, w >= 0);
        c = last + 1;
    }
    if (table.firstRow < 0) {
        biff::dimensions(sheetStream, 0, 0, 0, 0);
    } else {
        biff::dimensions(sheetStream, static_cast<std::uint32_t>(table.firstRow),
                         static_cast<std::uint32_t>(table.endRow), static_cast<std::uint16_t>(table.firstColumn),
                         static_cast<std::uint16_t>(table.endColumn));
    }
    sheetStream.bytes(table.records);
    table.records = std::string();
    biff::window2(sheetStream);
    const Range& s = data.selection;
    auto clampRow = [](int row) { return static_cast<std::uint16_t>(std::clamp(row, 1, kMaxRows) - 1); };
    auto clampColumn = [](int column) { return static_cast<std::uint16_t>(std::clamp(column, 1, kMaxColumns) - 1); };
    biff::selection(sheetStream,
                    {clampRow(s.firstRow), clampRow(s.lastRow), clampColumn(s.firstColumn), clampColumn(s.lastColumn)});
    std::vector<biff::CellRange> merges;
    merges.reserve(data.merges.size());
    for (const Range& m : data.merges) {
        merges.push_back({static_cast<std::uint16_t>(m.firstRow - 1), static_cast<std::uint16_t>(m.lastRow - 1),
                          static_cast<std::uint16_t>(m.firstColumn - 1), static_cast<std::uint16_t>(m.lastColumn - 1)});
    }
    biff::mergedCells(sheetStream, merges);
    biff::eof(sheetStream);

    biff::RecordStream out;
    out.reserve(sheetStream.size() + 65536);
    biff::bof(out, biff::kBofWorkbookGlobals);
    biff::u16Record(out, rec::kCodePage, 1200);
    biff::u16Record(out, rec::kWindowProtect, 0);
    biff::u16Record(out, rec::kProtect, 0);
    biff::u16Record(out, rec::kPassword, 0);
    biff::window1(out);
    biff::u16Record(out, rec::kBackup, 0);
    biff::u16Record(out, rec::kHideObj, 0);
    biff::u16Record(out, rec::kDateMode, 0);
    biff::u16Record(out, rec::kPrecision, 1);
    biff::u16Record(out, rec::kBookBool, 0);
    styles.write(out);
    std::size_t sheetPosition = biff::boundSheet(out, biff::utf8ToUtf16(data.name));
    biff::country(out, 1, 86);
    strings.write(out);
    biff::eof(out);
    out.patchU32(sheetPosition, static_cast<std::uint32_t>(out.size()));
    out.bytes(sheetStream.data());
    return out.take();
}

} // namespace spreadsheet::detail

namespace spreadsheet {

std::string saveWorkbook(const Sheet& sheet, const std::string& path) {
    std::filesystem::path target(path);
    if (!target.has_extension()) {
        target += ".xls";
    }
    std::string name = target.string();
    detail::Extent extent = detail::sheetExtent(sheet);
    if (extent.rows > kMaxRows) {
        throw common::Refusal(messages::workbookTooManyRows(name));
    }
    if (extent.columns > kMaxColumns) {
        throw common::Refusal(messages::workbookTooManyColumns(name));
    }
    std::string file;
    try {
        file = ole::writeWorkbookFile(detail::workbookStream(sheet));
    } catch (const std::runtime_error&) {
        throw common::Failure(messages::workbookSaveFailed(name, messages::kWriteError));
    }
    detail::writeFileAtomically(name, file);
    return name;
}

} // namespace spreadsheet
