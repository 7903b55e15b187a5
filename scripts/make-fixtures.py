#!/usr/bin/python3
"""Writes the ".xls" workbooks the goods import tests read, into the folder given as argument.

Run with Debian's interpreter (/usr/bin/python3), which sees python3-xlwt. Every workbook mirrors
one that tests/files/sheetfixtures.cpp writes as ".xlsx", so both readers answer the same checks.
Exits with 3 when xlwt is missing, so a test can tell "cannot generate" from a failure.
"""
import os
import sys

try:
    import xlwt
except ImportError:
    sys.exit(3)

HEADINGS = ["Код", "Группа", "Штрих-код", "Наименование", "Секция", "Цена"]
C, D, E, F = 2, 3, 4, 5  # zero-based columns C to F


def heading(ws):
    for col, text in enumerate(HEADINGS):
        ws.write(0, col, text)


def heading_only(path):
    wb = xlwt.Workbook(encoding="utf-8")
    heading(wb.add_sheet("Товары"))
    wb.save(path)


def rows_7000(path):
    wb = xlwt.Workbook(encoding="utf-8")
    ws = wb.add_sheet("Товары")
    heading(ws)
    for r in range(2, 7002):  # spreadsheet rows 2..7001, one-based
        ws.write(r - 1, C, 4600000000000 + r)
        ws.write(r - 1, D, "Товар №%d" % r)
        ws.write(r - 1, E, r % 9 + 1)
        ws.write(r - 1, F, r * 1.25)
    wb.save(path)


# Rows 2.. of the price sheet: (barcode C, name D, section E, price F); None leaves the cell out.
PRICE_ROWS = [
    (4600000000000, "Молоко", 3, 150),
    ("4601234567890", " Хлеб  белый ", "2", "12,5"),
    (None, "Сыр", None, "12.50"),
    (None, "Пустая цена", None, None),
    (None, "Буквы", None, "abc"),
    (None, "Пробел", None, "1 234,50"),
    (None, "Дробь", None, 89.99),
    (None, "Число", None, 12.5),
    (None, "Две запятые", None, "1,2,3"),
]


def prices(path):
    wb = xlwt.Workbook(encoding="utf-8")
    ws = wb.add_sheet("Товары")
    heading(ws)
    for i, row in enumerate(PRICE_ROWS):
        for col, value in zip((C, D, E, F), row):
            if value is not None:
                ws.write(i + 1, col, value)
    wb.save(path)


def formatted_empty(path):
    wb = xlwt.Workbook(encoding="utf-8")
    ws = wb.add_sheet("Товары")
    heading(ws)
    ws.write(1, D, "Единственный")
    ws.write(1, F, 10)
    filled = xlwt.easyxf("pattern: pattern solid, fore_colour yellow")
    for r in range(2, 10):  # spreadsheet rows 3..10: formatted, no value
        ws.write(r, D, None, filled)
    wb.save(path)


def two_sheets(path):
    wb = xlwt.Workbook(encoding="utf-8")
    first = wb.add_sheet("Первый")
    heading(first)
    first.write(1, D, "С первого листа")
    second = wb.add_sheet("Второй")
    heading(second)
    second.write(1, D, "Со второго листа")
    second.write(2, D, "Со второго листа")
    wb.save(path)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "."
    os.makedirs(folder, exist_ok=True)
    for name, make in [("heading.xls", heading_only), ("rows7000.xls", rows_7000), ("prices.xls", prices),
                       ("formatted.xls", formatted_empty), ("twosheets.xls", two_sheets)]:
        make(os.path.join(folder, name))


if __name__ == "__main__":
    main()
