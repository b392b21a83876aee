#pragma once

#include <memory>
#include <string>
#include <string_view>

// Reading score workbooks: the first worksheet (in tab order; chart sheets do not count) of an
// Excel 97-2003 workbook, BIFF8 or BIFF5/7, read whole into memory when it is opened.
namespace spreadsheet {

enum class ReadKind { Empty, Number, Text, Boolean, Error };

// One cell as read. `text` is the text of Text cells, "TRUE"/"FALSE" for Boolean cells and the
// error's text ("#DIV/0!", "#N/A", ...) for Error cells; formula cells are read as their cached
// result. Valid as long as the worksheet lives.
struct ReadCell {
    ReadKind kind = ReadKind::Empty;
    double number = 0;
    std::string_view text;
};

class Worksheet {
public:
    // Opens and reads the workbook. Throws common::Refusal, with a text naming the file and the
    // reason, for a missing or unreadable file, a file that is no Excel 97-2003 workbook (an .xlsx,
    // a CSV, an empty file, ...), a password-protected workbook, a BIFF2-4 file, a truncated or
    // corrupted file and a workbook without a worksheet.
    static Worksheet open(const std::string& path);
    // As open, for a workbook already in memory (an .xls file's bytes, or a bare BIFF5/8 workbook
    // stream); `name` stands for the file in the texts of the refusals.
    static Worksheet openBytes(std::string_view bytes, const std::string& name);

    Worksheet(Worksheet&&) noexcept;
    Worksheet& operator=(Worksheet&&) noexcept;
    ~Worksheet();

    // 1-based; a cell outside the sheet or never written is Empty.
    ReadCell cell(int row, int column) const;
    // The cell as text: empty for an empty cell; a number in plain decimal notation with up to 15
    // significant digits (common::formatGeneral: 85.5, 90, 10203001), whatever its display format;
    // the text of the other kinds as in ReadCell.
    std::string text(int row, int column) const;
    // The last row and column holding a cell that is not Empty; 0 for an empty sheet.
    int lastRow() const;
    int lastColumn() const;
    const std::string& name() const;

private:
    struct Impl;
    explicit Worksheet(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> m_impl;
};

} // namespace spreadsheet
