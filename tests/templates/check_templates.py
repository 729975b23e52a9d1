#!/usr/bin/python3
"""Opens every workbook template with an independent reader (xlrd) and looks
for the sheets and cells the programs use. Usage: check_templates.py FOLDER"""
import os
import re
import struct
import sys
import unittest

import xlrd
import xlrd.compdoc

FOLDER = None
REPORT_CELLS = ["T2", "E3", "E4", "E5", "I7", "I8", "I9", "E11"]
INDEX_ROW = ["B4", "C4", "D4", "E4", "F4"]
# Cells of the master page per picture workbook: link, sheet name, name, date.
MASTER_CELLS = {
    "imageList.xls": ["A1", "C1"],
    "template/TAN-01.xls": ["A1", "I3", "G1", "B3"],
    "template/TAN-02.xls": ["A1", "A6", "H1", "E6"],
    "template/TAN-03.xls": ["A1", "B5", "E1", "B4"],
}
# Page orientation of the master page: TAN-01 and TAN-02 are landscape forms.
LANDSCAPE = {"imageList.xls": True, "template/TAN-01.xls": True, "template/TAN-02.xls": True,
             "template/TAN-03.xls": False}


def landscape_sheets(name):
    """Per worksheet, whether its SETUP record says landscape (fPortrait clear)."""
    with open(os.path.join(FOLDER, *name.split("/")), "rb") as f:
        stream = xlrd.compdoc.CompDoc(f.read()).get_named_stream("Workbook")
    found, at = [], 0
    while at + 4 <= len(stream):
        kind, length = struct.unpack_from("<HH", stream, at)
        if kind == 0x00A1:
            found.append(not struct.unpack_from("<H", stream, at + 14)[0] & 2)
        at += 4 + length
    return found


def rc(name):
    m = re.fullmatch(r"([A-Z]+)([0-9]+)", name)
    column = 0
    for letter in m.group(1):
        column = column * 26 + ord(letter) - 64
    return int(m.group(2)) - 1, column - 1


def open_book(name):
    path = os.path.join(FOLDER, *name.split("/"))
    with open(path, "rb") as f:
        assert f.read(8) == b"\xd0\xcf\x11\xe0\xa1\xb1\x1a\xe1", path + " is no compound file"
    return xlrd.open_workbook(path, formatting_info=True)


def has_cell(sheet, name):
    row, column = rc(name)
    if row >= sheet.nrows or column >= sheet.row_len(row):
        return False
    # A cell record of its own, with borders or a font of the layout: not a
    # hole left between two written cells.
    xf = sheet.book.xf_list[sheet.cell_xf_index(row, column)]
    return xf.border.left_line_style or xf.border.top_line_style or xf.font_index != 0 or \
        sheet.cell_type(row, column) != xlrd.XL_CELL_BLANK


def number_format(sheet, name):
    book = sheet.book
    xf = book.xf_list[sheet.cell_xf_index(*rc(name))]
    return book.format_map[xf.format_key].format_str


def labels(sheet):
    return [sheet.cell_value(r, c) for r in range(sheet.nrows) for c in range(sheet.row_len(r))
            if sheet.cell_type(r, c) == xlrd.XL_CELL_TEXT and sheet.cell_value(r, c)]


class Templates(unittest.TestCase):
    def test_report_template_holds_the_eight_cells_as_empty_text(self):
        book = open_book("template.xls")
        sheet = book.sheet_by_index(0)
        for name in REPORT_CELLS:
            self.assertTrue(has_cell(sheet, name), name)
            self.assertEqual(sheet.cell_value(*rc(name)), "", name)
            self.assertEqual(number_format(sheet, name), "@", name)
        self.assertIn("件名", labels(sheet))
        self.assertIn("報告番号", labels(sheet))

    def test_list_template_holds_the_heading_cells_and_the_model_row(self):
        sheet = open_book("list.xls").sheet_by_index(0)
        for name in ["C3", "C4", "G3", "G4", "H4"] + [c + "7" for c in "ABCDEFGHIJ"]:
            self.assertTrue(has_cell(sheet, name), name)
            self.assertEqual(sheet.cell_value(*rc(name)), "", name)
        for name in ["E7", "F7", "G7", "I7", "J7"]:  # user text: a leading "=" stays text
            self.assertEqual(number_format(sheet, name), "@", name)
        self.assertIn("名称（コメント）", labels(sheet))

    def test_picture_templates_hold_the_index_and_master_sheets(self):
        for name, cells in MASTER_CELLS.items():
            with self.subTest(template=name):
                book = open_book(name)
                self.assertEqual(book.sheet_names()[0], "画像一覧")
                self.assertIn("原紙", book.sheet_names())
                index = book.sheet_by_index(0)
                for cell in INDEX_ROW:
                    self.assertTrue(has_cell(index, cell), cell)
                    self.assertEqual(number_format(index, cell), "@", cell)
                master = book.sheet_by_name("原紙")
                for cell in cells:
                    self.assertTrue(has_cell(master, cell), cell)
                    self.assertEqual(master.cell_value(*rc(cell)), "", cell)
                    self.assertEqual(number_format(master, cell), "General" if cell == "A1" else "@", cell)
                master_at = book.sheet_names().index("原紙")
                self.assertEqual(landscape_sheets(name)[master_at], LANDSCAPE[name])


if __name__ == "__main__":
    FOLDER = sys.argv.pop(1)
    unittest.main()
