#!/usr/bin/python3
"""Reads an .xls file with xlrd, a reader independent of our writer, and
prints what the tests check as JSON: sheets, cells with their texts and
formats, row heights, column widths. With "--column N" each sheet also
carries the values of its column N, every row's ("" where empty), which the
cell list shortens for large sheets."""
import json
import sys

import xlrd


def main(path, column=None):
    book = xlrd.open_workbook(path, formatting_info=True)
    fonts = book.font_list

    def xf_info(index):
        xf = book.xf_list[index]
        border = xf.border
        fmt = book.format_map.get(xf.format_key)
        return {
            "bold": bool(fonts[xf.font_index].bold),
            "weight": fonts[xf.font_index].weight,
            "font": fonts[xf.font_index].name,
            "format": fmt.format_str if fmt else None,
            "horizontal": xf.alignment.hor_align,
            "vertical": xf.alignment.vert_align,
            "wrap": bool(xf.alignment.text_wrapped),
            "bottom": [border.bottom_line_style, border.bottom_colour_index],
            "top": [border.top_line_style, border.top_colour_index],
            "left": [border.left_line_style, border.left_colour_index],
            "right": [border.right_line_style, border.right_colour_index],
        }

    sheets = []
    for sheet in book.sheets():
        cells = []
        for r in range(sheet.nrows):
            for c in range(sheet.row_len(r)):
                cell = sheet.cell(r, c)
                if cell.ctype == xlrd.XL_CELL_EMPTY:
                    continue
                cells.append({"row": r, "col": c, "type": cell.ctype, "value": cell.value, "xf": cell.xf_index})
        if column is not None:
            extra = {"column": [sheet.cell_value(r, column) if column < sheet.row_len(r) else ""
                                for r in range(sheet.nrows)]}
        else:
            extra = {}
        sheets.append({
            **extra,
            "name": sheet.name,
            "nrows": sheet.nrows,
            "ncols": sheet.ncols,
            "cells": cells if len(cells) <= 2000 else cells[:1000] + cells[-1000:],
            "cellCount": len(cells),
            "rows": {str(r): {"height": info.height, "custom": bool(info.height_mismatch)}
                     for r, info in sheet.rowinfo_map.items()},
            "columns": {str(c): {"width": info.width, "xf": info.xf_index, "hidden": bool(info.hidden)}
                        for c, info in sheet.colinfo_map.items()},
            "defaultColumnWidth": sheet.defcolwidth,
        })
    used_xfs = sorted({cell["xf"] for s in sheets for cell in s["cells"]} |
                      {col["xf"] for s in sheets for col in s["columns"].values()})
    print(json.dumps({
        "sheets": sheets,
        "xfs": {str(i): xf_info(i) for i in used_xfs},
    }, ensure_ascii=False))


if __name__ == "__main__":
    if len(sys.argv) == 4 and sys.argv[2] == "--column":
        main(sys.argv[1], int(sys.argv[3]))
    else:
        main(sys.argv[1])
