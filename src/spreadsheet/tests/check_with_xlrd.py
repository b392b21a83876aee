#!/usr/bin/python3
"""Reads a workbook with xlrd (formatting information on) and compares it with the model's content
that the C++ test wrote as JSON: cell kinds and values, number formats, fonts, borders,
alignments, merges, column widths and the sheet name. Exits 1 with a list of differences."""

import json
import sys

import xlrd

HORIZONTAL = {"general": 0, "center": 2}
VERTICAL = {"bottom": 2, "center": 1}
DIGIT_WIDTH = 8  # pixels of the default font's digit; Excel adds 5 pixels of padding


def shown_xf(sheet, row, column):
    """The XF a spreadsheet shows for a cell: its own, else its row's, else its column's."""
    if row < sheet.nrows and column < sheet.ncols:
        return sheet.cell_xf_index(row, column)
    info = sheet.rowinfo_map.get(row)
    if info is not None and info.has_default_xf_index:
        return info.xf_index
    info = sheet.colinfo_map.get(column)
    if info is not None:
        return info.xf_index
    return 15


def main(path, expected_path):
    with open(expected_path, encoding="utf-8") as f:
        expected = json.load(f)
    book = xlrd.open_workbook(path, formatting_info=True, on_demand=False)
    sheet = book.sheet_by_index(0)
    problems = []
    if book.nsheets != 1:
        problems.append("sheets: %d" % book.nsheets)
    if sheet.name != expected["name"]:
        problems.append("name %r != %r" % (sheet.name, expected["name"]))

    for r, c, kind, value, number_format, font, size, borders, horizontal, vertical in expected["cells"]:
        row, column = r - 1, c - 1
        where = "(%d,%d)" % (r, c)
        inside = row < sheet.nrows and column < sheet.ncols
        ctype = sheet.cell_type(row, column) if inside else xlrd.XL_CELL_EMPTY
        if kind == "empty":
            if ctype not in (xlrd.XL_CELL_EMPTY, xlrd.XL_CELL_BLANK):
                problems.append("%s should be empty, is %r" % (where, sheet.cell(row, column)))
        elif kind == "number":
            if ctype != xlrd.XL_CELL_NUMBER or sheet.cell_value(row, column) != value:
                problems.append("%s should be the number %r, is %r" % (where, value, sheet.cell(row, column) if inside else None))
        else:
            if ctype != xlrd.XL_CELL_TEXT or sheet.cell_value(row, column) != value:
                problems.append("%s should be the text %r, is %r" % (where, value, sheet.cell(row, column) if inside else None))
        xf = book.xf_list[shown_xf(sheet, row, column)]
        actual_format = book.format_map[xf.format_key].format_str
        if actual_format != number_format:
            problems.append("%s number format %r != %r" % (where, actual_format, number_format))
        f = book.font_list[xf.font_index]
        if f.name != font or f.height != size * 20:
            problems.append("%s font %s %g != %s %d" % (where, f.name, f.height / 20, font, size))
        styles = (xf.border.left_line_style, xf.border.right_line_style, xf.border.top_line_style,
                  xf.border.bottom_line_style)
        if styles != ((1, 1, 1, 1) if borders else (0, 0, 0, 0)):
            problems.append("%s borders %r, expected %s" % (where, styles, borders))
        if xf.alignment.hor_align != HORIZONTAL[horizontal]:
            problems.append("%s horizontal %d != %s" % (where, xf.alignment.hor_align, horizontal))
        if xf.alignment.vert_align != VERTICAL[vertical]:
            problems.append("%s vertical %d != %s" % (where, xf.alignment.vert_align, vertical))

    merges = sorted((r1 - 1, r2, c1 - 1, c2) for r1, c1, r2, c2 in expected["merges"])
    if sorted(sheet.merged_cells) != merges:
        problems.append("merges %r != %r" % (sorted(sheet.merged_cells), merges))

    for column, characters in expected["widths"]:
        info = sheet.colinfo_map.get(column - 1)
        if info is None:
            problems.append("column %d has no width" % column)
            continue
        if characters == 0:
            if not info.hidden:
                problems.append("column %d of width 0 is not hidden" % column)
            continue
        read = (info.width / 256 * DIGIT_WIDTH - 5) / DIGIT_WIDTH
        if abs(read - characters) > 1 / DIGIT_WIDTH:
            problems.append("column %d width %d (%.2f characters) != %d" % (column, info.width, read, characters))

    for p in problems[:50]:
        print(p)
    if problems:
        print("%d differences" % len(problems))
        return 1
    print("xlrd read %d cells, %d merges, %d widths as expected" % (
        len(expected["cells"]), len(merges), len(expected["widths"])))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
