#!/usr/bin/env python3
"""Reads the exported CSV and XLSX files with readers that are not ours (Python's csv module,
xlsx2csv and the sheet's own XML) and compares them, row by row and value by value, with the
texts of the result store the probe wrote beside them.

Usage: export_readers.py <export probe executable>
"""

import csv
import io
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
import zipfile

PLAIN_NUMBER = re.compile(r"-?[0-9]+(\.[0-9]+)?(E[+-]?[0-9]+)?")
TEXT_COLUMNS = ["nuclide", "half_life", "exposure_group", "intake_route", "intake_scenario",
                "tissue"]
PERIODS = ["5y", "70y"]  # the probe chooses the 5-year and 70-year periods
COLUMNS = TEXT_COLUMNS + ["in_utero_Sv_per_Bq"] + [
    f"{view}_{p}_Sv_per_Bq" for p in PERIODS for view in ("postnatal", "offspring")]
SHEET_NS = {"m": "http://schemas.openxmlformats.org/spreadsheetml/2006/main"}

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def store_rows(folder, separator):
    """The store's texts as the tables give them, turned into what an export must hold."""
    rows = []
    with open(f"{folder}/store.tsv", "rb") as f:
        for line in f.read().decode("cp1252").splitlines():
            heading, group, route, scenario, tissue, *doses = line.split("\t")
            nuclide, half_life = heading.split(", half-life is ", 1)
            texts = [t.strip(" ") for t in (nuclide, half_life, group, route, scenario, tissue)]
            values = [float(d.strip().replace(separator, ".")) for d in doses]
            rows.append((texts, values, doses))
    return rows


def compare_rows(kind, got_rows, expected):
    check(len(got_rows) == len(expected), f"{kind}: {len(got_rows)} rows, expected {len(expected)}")
    for i, (got, (texts, values, _)) in enumerate(zip(got_rows, expected)):
        check(len(got) == len(COLUMNS), f"{kind} row {i + 1}: {len(got)} fields")
        check(got[:6] == texts, f"{kind} row {i + 1}: texts {got[:6]} != {texts}")
        got_values = [float(v) for v in got[6:]]
        check(got_values == values, f"{kind} row {i + 1}: values {got_values} != {values}")


def check_csv(folder, separator, expected):
    raw = open(f"{folder}/tables.csv", "rb").read()
    check(not raw.startswith(b"\xef\xbb\xbf"), "csv: starts with a byte order mark")
    check(raw.endswith(b"\r\n") and raw.count(b"\n") == raw.count(b"\r\n"),
          "csv: a line does not end with CR LF")
    records = list(csv.reader(io.StringIO(raw.decode("utf-8"), newline="")))
    provenance = []
    while records and records[0][0].startswith("# "):
        check(len(records[0]) == 1, f"csv: provenance line of {len(records[0])} fields")
        provenance.append(records.pop(0)[0][2:])
    check(len(provenance) > 5, "csv: no provenance lines")
    check(records[0] == COLUMNS, f"csv: header {records[0]}")
    for i, row in enumerate(records[1:]):
        for value in row[6:]:
            check(PLAIN_NUMBER.fullmatch(value) is not None,
                  f"csv row {i + 1}: {value!r} is not a plain number")
    for row, (_, _, doses) in zip(records[1:], expected):
        # The digits are the tables' own: only the decimal mark, blanks and signs may change.
        for got, text in zip(row[6:], doses):
            digits = re.sub(r"[^0-9Ee]", "", text.replace("e", "E"))
            check(re.sub(r"[^0-9E]", "", got).lstrip("0") == digits.lstrip("0"),
                  f"csv: {got!r} does not carry the digits of {text!r}")
    compare_rows("csv", records[1:], expected)
    return provenance


def check_xlsx(folder, expected, provenance):
    path = f"{folder}/tables.xlsx"
    out = subprocess.run(["xlsx2csv", "-n", "Dose coefficients", path], check=True,
                         capture_output=True).stdout.decode("utf-8")
    records = list(csv.reader(io.StringIO(out, newline="")))
    check(records[0] == COLUMNS, f"xlsx: header {records[0]}")
    compare_rows("xlsx", records[1:], expected)

    out = subprocess.run(["xlsx2csv", "-n", "Provenance", path], check=True,
                         capture_output=True).stdout.decode("utf-8")
    lines = [r[0] for r in csv.reader(io.StringIO(out, newline="")) if r]
    check(lines == provenance, f"xlsx: provenance {lines} != csv's {provenance}")

    # The cells themselves: doses are numbers in scientific format, texts are texts; the header
    # row is frozen and filterable.
    with zipfile.ZipFile(path) as book:
        sheet = ET.fromstring(book.read("xl/worksheets/sheet1.xml"))
        styles = ET.fromstring(book.read("xl/styles.xml"))
    formats = {f.get("numFmtId"): f.get("formatCode")
               for f in styles.iterfind("m:numFmts/m:numFmt", SHEET_NS)}
    cell_formats = [x.get("numFmtId") for x in styles.iterfind("m:cellXfs/m:xf", SHEET_NS)]
    for row in sheet.iterfind("m:sheetData/m:row", SHEET_NS):
        if row.get("r") == "1":
            continue
        for cell in row.iterfind("m:c", SHEET_NS):
            column = re.match(r"[A-Z]+", cell.get("r")).group(0)
            if column <= "F":
                check(cell.get("t") in ("s", "inlineStr", "str"), f"xlsx: {cell.get('r')} not text")
            else:
                check(cell.get("t") in (None, "n"), f"xlsx: {cell.get('r')} is not a number")
                style = int(cell.get("s", "0"))
                check(formats.get(cell_formats[style]) == "0.0E+00",
                      f"xlsx: {cell.get('r')} not in the format 0.0E+00")
    pane = sheet.find("m:sheetViews/m:sheetView/m:pane", SHEET_NS)
    check(pane is not None and pane.get("ySplit") == "1" and pane.get("state") == "frozen",
          "xlsx: the header row is not frozen")
    check(sheet.find("m:autoFilter", SHEET_NS) is not None, "xlsx: no filter on the header row")


def main():
    probe = sys.argv[1]
    for separator in (".", ","):
        with tempfile.TemporaryDirectory(prefix="fetaldose-readers-") as folder:
            subprocess.run([probe, folder, separator], check=True)
            expected = store_rows(folder, separator)
            check(len(expected) > 50, f"only {len(expected)} rows to compare")
            provenance = check_csv(folder, separator, expected)
            name = "comma" if separator == "," else "full stop"
            check(f"Decimal separator of the run: {name} (the values here use the full stop)"
                  in provenance, f"provenance does not name the separator: {provenance}")
            check_xlsx(folder, expected, provenance)
    for failure in failures[:30]:
        print("FAILED:", failure)
    if failures:
        print(f"{len(failures)} failures")
        return 1
    print("CSV and XLSX read back equal to the store, with '.' and ',' runs")
    return 0


if __name__ == "__main__":
    sys.exit(main())
