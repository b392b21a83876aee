#include "sheet.h"

#include "common/number_format.h"
#include "common/text.h"
#include "sheet_impl.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace spreadsheet {

using detail::Property;
using detail::StoredCell;

namespace {

void checkIndex(int row, int column) {
    if (row < 1 || column < 1) {
        throw std::out_of_range("sheet rows and columns are 1-based");
    }
}

Range normalised(const Range& range) {
    Range result{std::min(range.firstRow, range.lastRow), std::min(range.firstColumn, range.lastColumn),
                 std::max(range.firstRow, range.lastRow), std::max(range.firstColumn, range.lastColumn)};
    checkIndex(result.firstRow, result.firstColumn);
    return result;
}

bool overlaps(const Range& a, const Range& b) {
    return a.firstRow <= b.lastRow && b.firstRow <= a.lastRow && a.firstColumn <= b.lastColumn &&
           b.firstColumn <= a.lastColumn;
}

// The length in UTF-8 bytes of the code point that starts at `text[at]`.
std::size_t codePointLength(std::string_view text, std::size_t at) {
    unsigned char lead = static_cast<unsigned char>(text[at]);
    std::size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    return std::min(length, text.size() - at);
}

} // namespace

Sheet::Sheet() : m_impl(std::make_unique<Impl>()) {}
Sheet::Sheet(Sheet&&) noexcept = default;
Sheet& Sheet::operator=(Sheet&&) noexcept = default;
Sheet::~Sheet() = default;

void Sheet::setName(std::string_view name) {
    std::string result;
    std::size_t units = 0; // UTF-16 units, as the format counts them
    for (std::size_t i = 0; i < name.size();) {
        std::size_t length = codePointLength(name, i);
        std::size_t needed = length == 4 ? 2 : 1;
        if (units + needed > 31) {
            break;
        }
        char c = name[i];
        bool forbidden = length == 1 && (c == ':' || c == '\\' || c == '/' || c == '?' || c == '*' || c == '[' ||
                                         c == ']' || c == '\0');
        if (forbidden) {
            result += '_';
        } else {
            result.append(name.substr(i, length));
        }
        units += needed;
        i += length;
    }
    if (!result.empty() && result.front() == '\'') {
        result.front() = '_';
    }
    if (!result.empty() && result.back() == '\'') {
        result.back() = '_';
    }
    m_impl->name = result.empty() ? "Sheet1" : result;
}

const std::string& Sheet::name() const {
    return m_impl->name;
}

namespace {

StoredCell* cellSlot(detail::SheetData& data, int row, int column) {
    if (row > kMaxRows || column > kMaxColumns) {
        return nullptr;
    }
    if (static_cast<int>(data.rows.size()) < row) {
        data.rows.resize(static_cast<std::size_t>(row));
    }
    std::vector<StoredCell>& cells = data.rows[static_cast<std::size_t>(row - 1)];
    if (static_cast<int>(cells.size()) < column) {
        cells.resize(static_cast<std::size_t>(column));
    }
    return &cells[static_cast<std::size_t>(column - 1)];
}

} // namespace

void Sheet::putText(int row, int column, std::string text) {
    checkIndex(row, column);
    StoredCell* slot = cellSlot(*m_impl, row, column);
    if (slot == nullptr) {
        CellValue value;
        value.kind = text.empty() ? CellKind::Empty : CellKind::Text;
        value.text = std::move(text);
        m_impl->outside[{row, column}] = std::move(value);
        return;
    }
    if (text.empty()) {
        *slot = StoredCell{};
        return;
    }
    auto found = m_impl->textIndex.find(text);
    std::uint32_t index = 0;
    if (found != m_impl->textIndex.end()) {
        index = found->second;
    } else {
        index = static_cast<std::uint32_t>(m_impl->texts.size());
        m_impl->texts.push_back(std::move(text));
        m_impl->textIndex.emplace(m_impl->texts.back(), index);
    }
    *slot = StoredCell{0, index, CellKind::Text, NumberFormat::General};
}

void Sheet::putEntry(int row, int column, std::string_view text) {
    if (!text.empty() && text.front() == '\'') {
        text.remove_prefix(1);
    }
    putText(row, column, std::string(text));
}

void Sheet::putNumber(int row, int column, double value, NumberFormat format) {
    checkIndex(row, column);
    if (!std::isfinite(value)) {
        putText(row, column, "#NUM!");
        return;
    }
    double stored = format == NumberFormat::Whole        ? common::roundFixed(value, 0)
                    : format == NumberFormat::OneDecimal ? common::roundFixed(value, 1)
                                                         : common::roundGeneral(value);
    if (stored == 0) {
        stored = 0; // no negative zero: it would show as "-0"
    }
    StoredCell* slot = cellSlot(*m_impl, row, column);
    if (slot == nullptr) {
        CellValue cell;
        cell.kind = CellKind::Number;
        cell.number = stored;
        cell.format = format;
        m_impl->outside[{row, column}] = std::move(cell);
        return;
    }
    *slot = StoredCell{stored, 0, CellKind::Number, format};
}

void Sheet::putCode(int row, int column, std::string_view code) {
    if (common::isAsciiDigits(code)) {
        putNumber(row, column, std::strtod(std::string(code).c_str(), nullptr), NumberFormat::General);
    } else {
        putText(row, column, std::string(code));
    }
}

namespace {

void addSetting(detail::SheetData& data, const Range& range, Property property, int value) {
    Range r = normalised(range);
    data.settings.push_back({r, property, value});
    if (detail::isCellLevel(r)) {
        data.settingLastRow = std::max(data.settingLastRow, r.lastRow);
        data.settingLastColumn = std::max(data.settingLastColumn, r.lastColumn);
    }
}

} // namespace

void Sheet::merge(const Range& range) {
    Range r = normalised(range);
    if (r.firstRow == r.lastRow && r.firstColumn == r.lastColumn) {
        return;
    }
    std::vector<Range>& merges = m_impl->merges;
    std::erase_if(merges, [&](const Range& existing) { return existing != r && overlaps(existing, r); });
    if (std::find(merges.begin(), merges.end(), r) == merges.end()) {
        merges.push_back(r);
    }
    m_impl->settingLastRow = std::max(m_impl->settingLastRow, r.lastRow);
    m_impl->settingLastColumn = std::max(m_impl->settingLastColumn, r.lastColumn);
}

void Sheet::setFontName(const Range& range, std::string_view name) {
    if (name.empty()) {
        name = kDefaultFontName;
    }
    std::vector<std::string>& names = m_impl->fontNames;
    auto found = std::find(names.begin(), names.end(), name);
    int index = static_cast<int>(found - names.begin());
    if (found == names.end()) {
        names.emplace_back(name);
    }
    addSetting(*m_impl, range, Property::FontName, index);
}

void Sheet::setFontSize(const Range& range, int points) {
    addSetting(*m_impl, range, Property::FontSize, std::clamp(points, 1, 409));
}

void Sheet::setBorders(const Range& range) {
    addSetting(*m_impl, range, Property::Borders, 1);
}

void Sheet::setHorizontalAlignment(const Range& range, HorizontalAlignment alignment) {
    addSetting(*m_impl, range, Property::Horizontal, static_cast<int>(alignment));
}

void Sheet::setVerticalAlignment(const Range& range, VerticalAlignment alignment) {
    addSetting(*m_impl, range, Property::Vertical, static_cast<int>(alignment));
}

void Sheet::setColumnWidth(int column, int characters) {
    checkIndex(1, column);
    m_impl->widths[column] = std::clamp(characters, 0, 255);
}

void Sheet::select(const Range& range) {
    m_impl->selection = normalised(range);
}

CellValue Sheet::value(int row, int column) const {
    checkIndex(row, column);
    if (row > kMaxRows || column > kMaxColumns) {
        auto found = m_impl->outside.find({row, column});
        return found != m_impl->outside.end() ? found->second : CellValue{};
    }
    CellValue result;
    const StoredCell* cell = m_impl->cell(row, column);
    if (cell == nullptr || cell->kind == CellKind::Empty) {
        return result;
    }
    result.kind = cell->kind;
    result.format = cell->format;
    if (cell->kind == CellKind::Number) {
        result.number = cell->number;
    } else {
        result.text = m_impl->texts[cell->text];
    }
    return result;
}

CellFormat Sheet::format(int row, int column) const {
    checkIndex(row, column);
    int values[detail::kPropertyCount];
    bool found[detail::kPropertyCount] = {};
    std::copy(std::begin(detail::kDefaultValues), std::end(detail::kDefaultValues), values);
    int left = detail::kPropertyCount;
    const std::vector<detail::Setting>& settings = m_impl->settings;
    for (auto it = settings.rbegin(); it != settings.rend() && left > 0; ++it) {
        int p = static_cast<int>(it->property);
        if (!found[p] && it->range.contains(row, column)) {
            found[p] = true;
            values[p] = it->value;
            --left;
        }
    }
    CellFormat result;
    result.fontName = m_impl->fontNames[static_cast<std::size_t>(values[0])];
    result.fontSize = values[1];
    result.borders = values[2] != 0;
    result.horizontal = static_cast<HorizontalAlignment>(values[3]);
    result.vertical = static_cast<VerticalAlignment>(values[4]);
    return result;
}

const std::vector<Range>& Sheet::merges() const {
    return m_impl->merges;
}

std::optional<int> Sheet::columnWidth(int column) const {
    auto found = m_impl->widths.find(column);
    return found != m_impl->widths.end() ? std::optional<int>(found->second) : std::nullopt;
}

const Range& Sheet::selection() const {
    return m_impl->selection;
}

int Sheet::lastRow() const {
    int last = m_impl->settingLastRow;
    for (int row = static_cast<int>(m_impl->rows.size()); row > last; --row) {
        const std::vector<StoredCell>& cells = m_impl->rows[static_cast<std::size_t>(row - 1)];
        if (std::any_of(cells.begin(), cells.end(), [](const StoredCell& c) { return c.kind != CellKind::Empty; })) {
            last = row;
            break;
        }
    }
    for (const auto& [position, value] : m_impl->outside) {
        if (value.kind != CellKind::Empty) {
            last = std::max(last, position.first);
        }
    }
    return last;
}

int Sheet::lastColumn() const {
    int last = m_impl->settingLastColumn;
    for (const std::vector<StoredCell>& cells : m_impl->rows) {
        for (int column = static_cast<int>(cells.size()); column > last; --column) {
            if (cells[static_cast<std::size_t>(column - 1)].kind != CellKind::Empty) {
                last = column;
                break;
            }
        }
    }
    for (const auto& [position, value] : m_impl->outside) {
        if (value.kind != CellKind::Empty) {
            last = std::max(last, position.second);
        }
    }
    return last;
}

} // namespace spreadsheet
