#!/usr/bin/python3
"""Writes the workbook templates (Excel 97-2003 .xls) from the layouts.

Usage: make_templates.py OUTPUT_FOLDER LAYOUT.json...

Each layout names its file (relative to OUTPUT_FOLDER), its sheets in order,
their column widths (characters), row heights (points), paper and
orientation, and their cells as [cell or range, text, style]. A range such as
"E3:H3" is merged and its first cell holds the text. An empty text still
writes the cell with its style, so that the program finds it formatted.
Styles come from styles.json beside the layouts.
"""
import json
import os
import re
import sys

import xlwt

PAPER = {"A4": 9, "A3": 8, "B5": 13}
ORIENTATION = {"portrait": 1, "landscape": 0}  # xlwt: 1 portrait
BORDER = {"thin": xlwt.Borders.THIN, "medium": xlwt.Borders.MEDIUM}
HALIGN = {"left": xlwt.Alignment.HORZ_LEFT, "center": xlwt.Alignment.HORZ_CENTER,
          "right": xlwt.Alignment.HORZ_RIGHT}
VALIGN = {"top": xlwt.Alignment.VERT_TOP, "center": xlwt.Alignment.VERT_CENTER,
          "bottom": xlwt.Alignment.VERT_BOTTOM}


def cell_index(name):
    m = re.fullmatch(r"([A-Z]{1,2})([1-9][0-9]*)", name)
    if not m:
        raise ValueError("bad cell %r" % name)
    column = 0
    for letter in m.group(1):
        column = column * 26 + ord(letter) - ord("A") + 1
    return int(m.group(2)) - 1, column - 1


def make_style(font_name, look):
    style = xlwt.XFStyle()
    font = xlwt.Font()
    font.name = font_name
    font.height = int(look.get("size", 11) * 20)
    font.bold = look.get("bold", False)
    if look.get("underline"):
        font.underline = xlwt.Font.UNDERLINE_SINGLE
    if "colour" in look:
        font.colour_index = xlwt.Style.colour_map[look["colour"]]
    style.font = font
    if "border" in look:
        borders = xlwt.Borders()
        borders.left = borders.right = borders.top = borders.bottom = BORDER[look["border"]]
        style.borders = borders
    if "fill" in look:
        pattern = xlwt.Pattern()
        pattern.pattern = xlwt.Pattern.SOLID_PATTERN
        pattern.pattern_fore_colour = xlwt.Style.colour_map[look["fill"]]
        style.pattern = pattern
    alignment = xlwt.Alignment()
    alignment.horz = HALIGN[look.get("halign", "left")]
    alignment.vert = VALIGN[look.get("valign", "bottom")]
    alignment.wrap = 1 if look.get("wrap") else 0
    style.alignment = alignment
    if "format" in look:
        style.num_format_str = look["format"]
    return style


def load(path):
    with open(path, encoding="utf-8") as f:
        return json.load(f)


def write_sheet(book, layout, styles):
    sheet = book.add_sheet(layout["name"], cell_overwrite_ok=False)
    sheet.paper_size_code = PAPER[layout.get("paper", "A4")]
    sheet.portrait = ORIENTATION[layout.get("orientation", "portrait")]
    for letter, width in layout.get("columns", {}).items():
        sheet.col(cell_index(letter + "1")[1]).width = int(width * 256)
    for row, height in layout.get("rows", {}).items():
        sheet.row(int(row) - 1).height_mismatch = True
        sheet.row(int(row) - 1).height = int(height * 20)
    for where, text, style_name in layout["cells"]:
        style = styles[style_name]
        if ":" in where:
            first, last = (cell_index(part) for part in where.split(":"))
            sheet.write_merge(first[0], last[0], first[1], last[1], text, style)
        else:
            row, column = cell_index(where)
            sheet.write(row, column, text, style)


def make_workbook(layout_path, out_folder):
    folder = os.path.dirname(layout_path)
    layout = load(layout_path)
    style_file = load(os.path.join(folder, "styles.json"))
    styles = {name: make_style(style_file["font"], look) for name, look in style_file["styles"].items()}
    book = xlwt.Workbook(encoding="utf-8")
    for sheet in layout["sheets"]:
        if "use" in sheet:
            sheet = load(os.path.join(folder, sheet["use"]))
        write_sheet(book, sheet, styles)
    target = os.path.join(out_folder, *layout["file"].split("/"))
    os.makedirs(os.path.dirname(target), exist_ok=True)
    # Write beside and rename, so that a failed run leaves no half file.
    book.save(target + ".part")
    os.replace(target + ".part", target)
    return target


def main(argv):
    if len(argv) < 3:
        sys.stderr.write(__doc__)
        return 2
    for layout_path in argv[2:]:
        print("make_templates:", make_workbook(layout_path, argv[1]))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
