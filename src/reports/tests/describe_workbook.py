#!/usr/bin/python3
"""Describes the first sheet of an .xls workbook as xlrd reads it, one fact per line, for the report
layout tests:

    sheet NAME
    merge R1 C1 R2 C2                      (1-based, both corners included)
    width C CHARACTERS                     (column width in characters of the default font)
    cell R C KIND VALUE fmt=F font=NAME/SIZE border=L,R,T,B h=H v=V

KIND is text, number or blank; H is general or center, V bottom or center."""

import sys

import xlrd

HORIZONTAL = {0: "general", 2: "center"}
VERTICAL = {2: "bottom", 1: "center"}
DIGIT_WIDTH = 8  # pixels of the default font's digit; a column's width includes 5 pixels of padding


def main(path):
    book = xlrd.open_workbook(path, formatting_info=True)
    sheet = book.sheet_by_index(0)
    print("sheet %s" % sheet.name)
    for r1, r2, c1, c2 in sorted(sheet.merged_cells):
        print("merge %d %d %d %d" % (r1 + 1, c1 + 1, r2, c2))
    for column in sorted(sheet.colinfo_map):
        info = sheet.colinfo_map[column]
        characters = (info.width / 256 * DIGIT_WIDTH - 5) / DIGIT_WIDTH
        print("width %d %d" % (column + 1, round(characters)))
    kinds = {xlrd.XL_CELL_TEXT: "text", xlrd.XL_CELL_NUMBER: "number", xlrd.XL_CELL_BLANK: "blank",
             xlrd.XL_CELL_EMPTY: "blank"}
    for row in range(sheet.nrows):
        for column in range(sheet.ncols):
            cell = sheet.cell(row, column)
            xf = book.xf_list[cell.xf_index]
            font = book.font_list[xf.font_index]
            border = xf.border
            print("cell %d %d %s %s fmt=%s font=%s/%g border=%d,%d,%d,%d h=%s v=%s" % (
                row + 1, column + 1, kinds.get(cell.ctype, str(cell.ctype)),
                repr(cell.value) if cell.ctype == xlrd.XL_CELL_NUMBER else (cell.value or "-"),
                book.format_map[xf.format_key].format_str, font.name, font.height / 20,
                border.left_line_style, border.right_line_style, border.top_line_style, border.bottom_line_style,
                HORIZONTAL.get(xf.alignment.hor_align, str(xf.alignment.hor_align)),
                VERTICAL.get(xf.alignment.vert_align, str(xf.alignment.vert_align))))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
