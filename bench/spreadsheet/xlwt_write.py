#!/usr/bin/python3
"""Writes the benchmark's report sheet with xlwt: usage xlwt_write.py OUTPUT RUNS; prints the median
seconds of the runs."""

import statistics
import sys
import time

import xlwt

from bench_content import REPORT_COLUMNS, ROWS, SCHOOLS, exam_number, name, score


def style(font_name, size, borders):
    s = xlwt.XFStyle()
    s.font.name = font_name
    s.font.height = size * 20
    s.alignment.horz = xlwt.Alignment.HORZ_CENTER
    s.alignment.vert = xlwt.Alignment.VERT_CENTER
    if borders:
        s.borders.left = s.borders.right = s.borders.top = s.borders.bottom = xlwt.Borders.THIN
    return s


def write(path):
    book = xlwt.Workbook(encoding="utf-8")
    sheet = book.add_sheet("高二学生成绩表")
    title = style("黑体", 12, False)
    grid = style("宋体", 9, True)
    decimal = style("宋体", 9, True)
    decimal.num_format_str = "0.0"
    for c in range(REPORT_COLUMNS):
        sheet.col(c).width = int((6 * 8 + 5) / 8 * 256)
    sheet.write_merge(0, 0, 0, REPORT_COLUMNS - 1, "高二学生成绩表", title)
    for block in range(0, ROWS - 1, 40):
        first, last = block + 1, min(block + 40, ROWS - 1)
        sheet.write_merge(first, last, 0, 0, SCHOOLS[(block // 4000) % 3], grid)
    for r in range(1, ROWS):
        i = r - 1
        row = sheet.row(r)
        row.write(1, (i // 40) % 99 + 1, grid)
        row.write(2, exam_number(i), grid)
        row.write(3, name(i), grid)
        total = 0.0
        for c in range(4, 12):
            value = score(i, c)
            total += value
            row.write(c, value, grid)
        row.write(12, total, decimal)
        row.write(13, i + 1, grid)
    book.save(path)


def main():
    path, runs = sys.argv[1], int(sys.argv[2])
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        write(path)
        times.append(time.perf_counter() - start)
    print("%.6f" % statistics.median(times))


if __name__ == "__main__":
    main()
