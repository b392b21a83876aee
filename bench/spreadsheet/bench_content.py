"""The content of the spreadsheet benchmark, the same as spreadsheet_bench.cpp builds."""

SCHOOLS = ["第一中学", "第二中学", "实验中学"]
SURNAMES = "王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗"
GIVEN = ["伟", "芳", "娜", "秀英", "敏", "静", "丽", "强", "磊", "军", "洋", "勇", "艳", "杰", "娟", "涛", "明",
         "超", "秀兰", "霞", "平", "刚", "桂英", "玉兰", "萍", "鹏", "建华", "俊", "玲", "红", "志强", "丹", "宇",
         "浩", "凯", "婷", "晨", "欣怡", "子涵", "梓萱", "雨涵", "浩然", "宇轩", "子轩", "思远", "博文", "嘉怡",
         "佳琪", "梦琪", "一鸣"]
ROWS = 65535
REPORT_COLUMNS = 14
SCORE_SUBJECTS = 9


def exam_number(i):
    return "%02d%02d%02d%03d" % (1, 2, (i // 40) % 99 + 1, i % 40 + 1)


def name(i):
    return SURNAMES[i % 20] + GIVEN[(i // 20) % 50]


def score(i, c):
    return ((i * 37 + c * 11) % 301) / 2.0
