#!/usr/bin/python3
"""Reads every cell of a score workbook's first sheet with xlrd: usage xlrd_read.py WORKBOOK RUNS;
prints the median seconds of the runs."""

import statistics
import sys
import time

import xlrd


def read(path):
    book = xlrd.open_workbook(path)
    sheet = book.sheet_by_index(0)
    count = 0
    for r in range(sheet.nrows):
        for c in range(sheet.ncols):
            value = sheet.cell_value(r, c)
            count += 1 if value != "" else 0
    return count


def main():
    path, runs = sys.argv[1], int(sys.argv[2])
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        read(path)
        times.append(time.perf_counter() - start)
    print("%.6f" % statistics.median(times))


if __name__ == "__main__":
    main()
