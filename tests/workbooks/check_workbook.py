"""Reads an exported workbook with an independent reader and checks it against what it must hold.

    check_workbook.py KIND WORKBOOK [VIEW_LINES]

KIND is database, task, solution or stats. VIEW_LINES is the output of `kov-batch view` for the
same task: the workbook's cells must be the viewer's texts. Exits 1 with the differences found.
"""
import sys

import openpyxl

# Column widths (character units) and header row heights (points) of each layout.
WIDTHS = {
    "database": [[63, 75], [7, 7, 51, 10.5, 14, 10.5], [7, 14, 51, 14, 14, 10, 13],
                 [7, 14, 9, 12, 20, 1, 7, 14, 13, 21, 24],
                 [7, 14, 9.5, 11, 23, 21.5, 1, 7, 14, 13, 11, 25.5, 24]],
    "task": [[76, 75], [11, 21, 21, 14], [7, 7, 51, 11, 12.5, 14, 15],
             [11.5, 14, 51, 12.5, 14, 10], [11.5, 14, 13, 11, 18], [11.5, 14, 13, 10.5, 22, 18]],
    "solution": [[74, 80], [11.5, 12.5, 14, 11.5, 15, 12.5, 11.5, 7.5, 41, 10, 10, 14, 14, 13, 14]],
    "stats": [[59, 114], [11, 15, 15, 16, 19, 24, 24, 17, 17, 39]],
}
HEADING_HEIGHT = {
    "database": [None, 52.5, 52.5, 65.25, 52.5],
    "task": [None, 39.75, 52.5, 52.5, 65.25, 52.5],
    "solution": [None, 77.25],
    "stats": [None, 52],
}
# The column whose text sets a data row's height, and its characters per line.
TEXT_ROWS = {"database": {1: (3, 50), 2: (3, 50)}, "task": {2: (3, 50), 3: (3, 50)},
             "solution": {1: (9, 40)}, "stats": {}}

problems = []


def check(condition, what):
    if not condition:
        problems.append(what)


def letter(c):
    return openpyxl.utils.get_column_letter(c)


def cell_texts(ws):
    rows = []
    for row in ws.iter_rows(min_row=1, max_row=ws.max_row, max_col=ws.max_column):
        rows.append(["" if c.value is None else c.value for c in row])
        for c in row:
            check(c.value is None or c.data_type == "s",
                  f"{ws.title}!{c.coordinate} is not a text cell")
    return rows


def view_lines(path):
    params, grids = [], {}
    with open(path, encoding="utf-8") as f:
        for line in f.read().split("\n"):
            fields = [x.replace("\\t", "\t").replace("\\n", "\n").replace("\\\\", "\\")
                      for x in line.split("\t")]
            if fields[0] == "param":
                params.append(fields[1:3])
            elif fields[0] == "grid":
                grids[int(fields[1])] = [fields[2:]]
            elif fields[0] == "row":
                grids[int(fields[1])].append(fields[2:])
            elif fields[0] == "sep":
                grids[int(fields[1])].append(None)
    return params, grids


def main():
    kind, path = sys.argv[1], sys.argv[2]
    wb = openpyxl.load_workbook(path)
    sheets = wb.worksheets
    check(len(sheets) in (len(WIDTHS[kind]), 4), f"{len(sheets)} sheets")
    for i, ws in enumerate(sheets):
        check(len(ws.title) <= 31, f"sheet name {ws.title!r} is longer than 31")
        texts = cell_texts(ws)
        widths = list(WIDTHS[kind][i])
        if kind == "task" and i == 2 and ws["D1"].value is None:
            widths[3] = 1  # mode 2
        if kind == "database" and i == 1 and ws.max_column == 5:
            widths = [7, 7, 51, 14, 10.5]  # type B
        if kind == "solution" and i == 1 and ws["J1"].value is None:
            widths[9] = 1
        for c, w in enumerate(widths, start=1):
            stored = ws.column_dimensions[letter(c)].width
            if kind == "task" and i == 1 and c == 4 and ws.max_column < 4:
                continue
            if kind == "task" and i == 3 and c == 6:
                continue  # by task type
            # A workbook stores the width with its padding, rounded to whole pixels of 7.
            check(stored is not None and w <= stored <= w + 0.72 + 1 / 7,
                  f"{ws.title} column {letter(c)} width {stored}, expected {w}")
        height = HEADING_HEIGHT[kind][i]
        if height is not None:
            stored = ws.row_dimensions[1].height
            if not (kind == "task" and i == 4):
                check(stored == height, f"{ws.title} row 1 height {stored}, expected {height}")
            for c in range(1, ws.max_column + 1):
                if texts[0][c - 1]:
                    check(ws.cell(1, c).alignment.wrap_text, f"{ws.title}!{letter(c)}1 not wrapped")
        if i == 0:
            for r in range(1, ws.max_row + 1):
                check(ws.cell(r, 1).alignment.horizontal == "left", f"{ws.title}!A{r} not left")
                if texts[r - 1][1]:
                    check(ws.cell(r, 2).font.b and ws.cell(r, 2).alignment.horizontal == "left",
                          f"{ws.title}!B{r} not bold and left")
        elif kind != "task":
            for c in range(1, ws.max_column + 1):
                if texts[0][c - 1]:
                    check(ws.cell(1, c).font.b, f"{ws.title}!{letter(c)}1 not bold")
        for sheet_index, (col, per_line) in TEXT_ROWS[kind].items():
            if sheet_index != i:
                continue
            for r in range(2, ws.max_row + 1):
                text = texts[r - 1][col - 1] if col <= len(texts[r - 1]) else ""
                expected = (len(text) // per_line + 1) * 12.75
                check(ws.row_dimensions[r].height == expected,
                      f"{ws.title} row {r} height {ws.row_dimensions[r].height}, expected {expected}")
                check(not text or ws.cell(r, col).alignment.wrap_text,
                      f"{ws.title}!{letter(col)}{r} not wrapped")
    if kind == "task":
        # Bold and italic headings of the grids.
        check(sheets[1]["A1"].font.b and sheets[1]["C1"].font.b, "task variants headings not bold")
        check(sheets[2]["A1"].font.b and sheets[2]["B1"].font.i and sheets[2]["F1"].font.i
              and sheets[2]["G1"].font.b, "task objects headings")
        check(sheets[3]["B1"].font.b and sheets[3]["C1"].font.i, "task variants headings")
    if len(sys.argv) > 3:
        params, grids = view_lines(sys.argv[3])
        got = [[str(v) for v in row] for row in cell_texts(sheets[0])]
        expected = [[k, v] for k, v in params] + ([["", ""]] if kind == "task" else [])
        # openpyxl leaves off trailing empty rows.
        while expected and expected[-1] == ["", ""] and len(expected) > len(got):
            expected.pop()
        check(got == expected, f"parameters differ:\n{got}\n{expected}")
        for g, rows in grids.items():
            if g + 1 > len(sheets):
                break
            ws = sheets[g]
            got = cell_texts(ws)
            for r, want in enumerate(rows):
                if want is None:
                    check(r >= len(got) or not any(got[r]), f"{ws.title} row {r + 1} not empty")
                    continue
                have = got[r][:len(want)] if r < len(got) else []
                have += [""] * (len(want) - len(have))
                if r == 0:
                    want = [w if h else "" for w, h in zip(want, have)]  # collapsed headings
                check(have == want, f"{ws.title} row {r + 1}: {have} != {want}")
    if problems:
        print(f"{path}:\n  " + "\n  ".join(problems[:30]))
        sys.exit(1)


main()
