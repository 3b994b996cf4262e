#!/usr/bin/env python3
"""Reads the comparison exports of fetaldose-batch compare back with readers that are not ours
(Python's csv module, xlsx2csv and the workbook's own XML): one post-natal dose of a copy of a
data set is changed, and the files must list exactly that cell (and the offspring doses that add
it in) with both values and their ratio, carry the provenance of both folders, and agree with
each other and with the summary on standard output.

Usage: compare_readers.py <fetaldose-batch> <folder holding the test data set>
"""

import csv
import io
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
import zipfile

SHEET_NS = {"m": "http://schemas.openxmlformats.org/spreadsheetml/2006/main"}
DOSE = re.compile(rb"^[ +-]?[0-9.]+[Ee][+-]?[0-9]+ *$")
NEW_DOSE = b"9.9E-03"

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def change_one_post_natal_dose(path):
    """Changes the first tissue's 1-year post-natal dose of the first record; returns the
    field as it was."""
    lines = open(path, "rb").read().split(b"\r\n")
    for i in range(len(lines) - 6):
        block = lines[i:i + 6]
        if all(len(line.split()) == 18 and all(DOSE.match(f) for f in line.split())
               for line in block):
            post_natal = lines[i + 1]
            old = post_natal[:7]
            lines[i + 1] = NEW_DOSE + post_natal[7:]
            open(path, "wb").write(b"\r\n".join(lines))
            return old.decode().strip()
    raise RuntimeError("no record found in " + path)


def sections(raw):
    """The CSV's '#' lines and its tables, by the '# <sheet>' line that opens each after the
    first."""
    records = list(csv.reader(io.StringIO(raw.decode("utf-8"), newline="")))
    notes = []
    while records and records[0] and records[0][0].startswith("# "):
        notes.append(records.pop(0)[0][2:])
    tables = {"Summary": []}
    current = tables["Summary"]
    for record in records:
        if not record:
            continue
        if len(record) == 1 and record[0].startswith("# "):
            current = tables.setdefault(record[0][2:], [])
            continue
        current.append(record)
    return notes, tables


def xlsx_sheet(path, name):
    out = subprocess.run(["xlsx2csv", "-n", name, path], check=True,
                         capture_output=True).stdout.decode("utf-8")
    return [r for r in csv.reader(io.StringIO(out, newline="")) if r]


def main():
    tool, data = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory(prefix="fetaldose-compare-readers-") as folder:
        shutil.copytree(data, f"{folder}/ref")
        shutil.copytree(data, f"{folder}/cand")
        old = change_one_post_natal_dose(f"{folder}/cand/I-131.dat")
        base = [tool, "compare", "--data", f"{folder}/ref", "--with", f"{folder}/cand", "--all"]
        summary = subprocess.run(base, capture_output=True)
        check(summary.returncode == 4, f"summary: exit status {summary.returncode}")
        for kind in ("csv", "xlsx"):
            done = subprocess.run(base + ["--out", f"{folder}/c.{kind}"], capture_output=True)
            check(done.returncode == 4, f"{kind}: exit status {done.returncode} {done.stderr}")

        raw = open(f"{folder}/c.csv", "rb").read()
        check(raw.endswith(b"\r\n") and raw.count(b"\n") == raw.count(b"\r\n"),
              "csv: a line does not end with CR LF")
        notes, tables = sections(raw)
        for side, where in (("Reference", "ref"), ("Candidate", "cand")):
            check(f"{side} data set: Data folder: {folder}/{where}/" in notes,
                  f"csv: no data folder of the {side.lower()} in {notes}")
            check(any(n.startswith(f"{side} data set: SHA-256 of I-131.dat: ") for n in notes),
                  f"csv: no digest of the {side.lower()}'s I-131.dat")
        summary_lines = summary.stdout.decode("utf-8").splitlines()
        check([r[0] for r in tables["Summary"][1:]] == summary_lines,
              "csv: the summary sheet is not the summary on standard output")

        header, *rows = tables["Differences"]
        column = {name: i for i, name in enumerate(header)}
        post_natal = [r for r in rows if r[column["quantity"]] == "post-natal"]
        check(len(post_natal) == 1, f"csv: {len(post_natal)} post-natal differences")
        if post_natal:
            row = post_natal[0]
            check(row[column["nuclide"]] == "I-131", f"csv: nuclide {row}")
            check(row[column["period"]] == "1y", f"csv: period {row}")
            check(float(row[column["reference_Sv_per_Bq"]]) == float(old), f"csv: reference {row}")
            check(float(row[column["candidate_Sv_per_Bq"]]) == float(NEW_DOSE),
                  f"csv: candidate {row}")
            ratio = float(NEW_DOSE) / float(old)
            check(abs(float(row[column["ratio"]]) / ratio - 1) < 1e-6, f"csv: ratio {row}")
            check(row[column["status"]] == "changed", f"csv: status {row}")
            for other in rows:
                check(other[column["quantity"]] in ("post-natal", "offspring") and
                      other[column["tissue"]] == row[column["tissue"]] and
                      other[column["reference_table"]] == row[column["reference_table"]],
                      f"csv: a difference elsewhere: {other}")

        book = f"{folder}/c.xlsx"
        sheet_rows = xlsx_sheet(book, "Differences")
        check(sheet_rows[0] == header, f"xlsx: header {sheet_rows[0]}")
        check(len(sheet_rows) == len(rows) + 1, "xlsx: not as many differences as the csv")
        for got, want in zip(sheet_rows[1:], rows):
            for i, name in enumerate(header):
                if name in ("reference_Sv_per_Bq", "candidate_Sv_per_Bq", "ratio"):
                    check(abs(float(got[i]) / float(want[i]) - 1) < 1e-6, f"xlsx {name}: {got}")
                elif name.endswith("_table"):
                    check(float(got[i]) == float(want[i]), f"xlsx {name}: {got}")
                else:
                    check(got[i] == want[i], f"xlsx {name}: {got[i]!r} != {want[i]!r}")
        provenance = [r[0] for r in xlsx_sheet(book, "Provenance")]
        # Each file has its own export time; everything else is the same.
        same = [n for n in notes if not re.search(r"Exported: ", n)]
        check([n for n in provenance if not re.search(r"Exported: ", n)] == same,
              "xlsx: provenance differs from the csv's")
        check([r[0] for r in xlsx_sheet(book, "Summary")][1:] == summary_lines,
              "xlsx: the summary sheet is not the summary on standard output")

        # The doses are numbers in the scientific format of the tables.
        with zipfile.ZipFile(book) as z:
            names = z.namelist()
            workbook = ET.fromstring(z.read("xl/workbook.xml"))
            order = [s.get("name") for s in workbook.iterfind("m:sheets/m:sheet", SHEET_NS)]
            sheet = ET.fromstring(z.read(f"xl/worksheets/sheet{order.index('Differences') + 1}.xml"))
            styles = ET.fromstring(z.read("xl/styles.xml"))
        check("xl/worksheets/sheet1.xml" in names, "xlsx: no sheets")
        formats = {f.get("numFmtId"): f.get("formatCode")
                   for f in styles.iterfind("m:numFmts/m:numFmt", SHEET_NS)}
        cell_formats = [x.get("numFmtId") for x in styles.iterfind("m:cellXfs/m:xf", SHEET_NS)]
        for row in sheet.iterfind("m:sheetData/m:row", SHEET_NS):
            if row.get("r") == "1":
                continue
            for cell in row.iterfind("m:c", SHEET_NS):
                letter = re.match(r"[A-Z]+", cell.get("r")).group(0)
                if letter in ("H", "I"):
                    check(cell.get("t") in (None, "n"), f"xlsx: {cell.get('r')} is no number")
                    check(formats.get(cell_formats[int(cell.get("s", "0"))]) == "0.0E+00",
                          f"xlsx: {cell.get('r')} not in the format 0.0E+00")

    for failure in failures[:30]:
        print("FAILED:", failure)
    if failures:
        print(f"{len(failures)} failures")
        return 1
    print("The comparison's CSV and XLSX read back with the changed cell, both provenances and "
          "the summary")
    return 0


if __name__ == "__main__":
    sys.exit(main())
