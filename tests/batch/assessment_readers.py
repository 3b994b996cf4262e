#!/usr/bin/env python3
"""Works a dose assessment by hand on the generated sample data set, reading the coefficients
straight from the data files' fixed-width fields, and compares it with what
`fetaldose-batch assess` writes, read back with Python's csv module and the workbook's own XML.

Usage: assessment_readers.py <fetaldose-batch> <sample data set maker>
"""

import csv
import math
import os
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
import zipfile

AEROSOL = ["0.001", "0.003", "0.01", "0.03", "0.1", "0.3", "1.0", "3.0", "5.0", "10.0"]
SCENARIOS = [
    "Acute intake (1Bq) 2.5 years prior to conception",
    "Acute intake (1Bq) 6 months prior to conception",
    "Acute intake (1Bq) at conception",
    "Acute intake (1Bq) 5 weeks after conception",
    "Acute intake (1Bq) 10 weeks after conception",
    "Acute intake (1Bq) 15 weeks after conception",
    "Acute intake (1Bq) 25 weeks after conception",
    "Acute intake (1Bq) 35 weeks after conception",
]
TISSUES = ["Bladder", "Bone surface", "Brain (total)", "Brain (7-15 weeks)", "Breast",
           "Oesophagus", "Stomach", "Colon", "Gonads", "Kidney", "Liver", "RBM", "Lungs", "Skin",
           "Spleen", "Thyroid", "Remainder", "Effective dose"]
PERIODS = ["1y", "5y", "10y", "20y", "70y"]
SHEET_NS = {"m": "http://schemas.openxmlformats.org/spreadsheetml/2006/main"}

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def read_data_file(path):
    """{(group, route text, scenario): (in-utero fields, [post-natal fields per period])}"""
    lines = open(path, "rb").read().decode("cp1252").split("\r\n")
    at = 0

    def take():
        nonlocal at
        at += 1
        return lines[at - 1]

    def fields(line):
        return [float(line[8 * i:8 * i + 7]) for i in range(18)]

    records = {}
    for group in (1, 2):
        vapours, types, ingestion = (int(take().split()[0]) for _ in range(3))
        vapour_routes = [take().strip() for _ in range(vapours)]
        type_pairs = [(take(), take()) for _ in range(types)]
        f1s = [take() for _ in range(ingestion)]
        routes = vapour_routes + [
            f"Inhalation: Type {t}, f1 = {f1}, {size} microns AMAD".strip()
            for t, f1 in type_pairs for size in AEROSOL] + [
            f"Ingestion: f1 = {f1}".strip() for f1 in f1s]
        for scenario in range(1, 12):
            take()  # the scenario's heading
            for route in routes:
                record = [take() for _ in range(9)]
                records.setdefault((group, route, scenario),
                                   (fields(record[3]), [fields(l) for l in record[4:9]]))
    return records


def shown(value):
    """A dose as the program rounds it for showing: two significant figures."""
    return float(f"{value:.1E}")


def close_to_shown(got, value):
    """The shown text of `value` within half a unit of its second figure (ties may go either
    way in binary)."""
    if value == 0:
        return got == 0
    unit = 10 ** (math.floor(math.log10(abs(value))) - 1)
    return abs(got - value) <= 0.5 * unit * (1 + 1e-9)


def expected_doses(records, intakes, method):
    """{(intake line, tissue, column): dose in mSv}, and the totals under line 'total'."""
    doses = {}
    days = {"12 weeks after conception": 84, "3 years before conception": -3 * 365.25}
    moments = [-2.5 * 365.25, -6 * 365.25 / 12, 0, 35, 70, 105, 175, 245]
    for line, (nuclide, group, route, time, activity, unit) in intakes.items():
        bq = float(activity) * {"Bq": 1, "kBq": 1e3, "uCi": 37000}[unit]
        table = records[nuclide]
        g = 1 if group == "Member of the public" else 2
        if time in SCENARIOS:
            scenarios, weight = [SCENARIOS.index(time) + 1], None
        else:
            t = days[time]
            if t < moments[0]:
                scenarios, weight = [1], None
            else:
                k = max(i for i in range(8) if moments[i] < t)
                scenarios, weight = [k + 1, k + 2], (t - moments[k]) / (moments[k + 1] - moments[k])

        def coefficient(row, period):
            values = []
            for s in scenarios:
                in_utero, post_natal = table[(g, route, s)]
                if period is None:
                    values.append(in_utero[row])
                elif period[0] == "p":
                    values.append(post_natal[period[1]][row])
                else:
                    values.append(in_utero[row] + post_natal[period[1]][row])
            if len(values) == 1:
                return values[0]
            if method == "interpolated":
                return values[0] + (values[1] - values[0]) * weight
            return max(values)

        for row, tissue in enumerate(TISSUES):
            columns = [("in_utero_mSv", None)] + [
                (f"{v}_{p}_mSv", (v[0], n)) for n, p in enumerate(PERIODS)
                for v in ("postnatal", "offspring")]
            for name, period in columns:
                dose = bq * coefficient(row, period) * 1000
                doses[(str(line), tissue, name)] = dose
                key = ("total", tissue, name)
                doses[key] = doses.get(key, 0) + dose
    return doses


def compare(kind, header, rows, doses):
    check(header[:3] == ["intake", "tissue", "in_utero_mSv"], f"{kind}: header {header}")
    check(len(rows) == len({(k[0], k[1]) for k in doses}), f"{kind}: {len(rows)} rows")
    for row in rows:
        for name, text in zip(header[2:], row[2:]):
            expected = doses[(row[0], row[1], name)]
            check(close_to_shown(float(text), expected),
                  f"{kind}: {row[0]} {row[1]} {name}: {text}, by hand {expected!r}")


def sheet_rows(path):
    with zipfile.ZipFile(path) as book:
        names = book.namelist()
        strings = []
        if "xl/sharedStrings.xml" in names:
            root = ET.fromstring(book.read("xl/sharedStrings.xml"))
            strings = ["".join(t.text or "" for t in si.iter(f"{{{SHEET_NS['m']}}}t"))
                       for si in root.findall("m:si", SHEET_NS)]
        root = ET.fromstring(book.read("xl/worksheets/sheet1.xml"))
    rows = []
    for row in root.iter(f"{{{SHEET_NS['m']}}}row"):
        cells = []
        for cell in row.findall("m:c", SHEET_NS):
            if cell.get("t") == "inlineStr":
                cells.append("".join(t.text or "" for t in cell.iter(f"{{{SHEET_NS['m']}}}t")))
                continue
            value = cell.find("m:v", SHEET_NS)
            text = value.text if value is not None else ""
            cells.append(strings[int(text)] if cell.get("t") == "s" else text)
        rows.append(cells)
    return rows


def main():
    tool, make_sample = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory() as folder:
        data = os.path.join(folder, "data")
        os.mkdir(data)
        subprocess.run([make_sample, data], check=True)
        records = {n: read_data_file(os.path.join(data, n + ".dat")) for n in ("I-131", "Cs-137")}
        route = "Inhalation: Type F, f1 = 1.0, 1.0 microns AMAD"
        check((2, route, 5) in records["I-131"], f"the sample set's I-131 has no '{route}'")
        # Line 3: an untabulated time; line 4: a tabulated one; line 6: before the earliest.
        intakes = {
            3: ("I-131", "Worker", route, "12 weeks after conception", "1", "uCi"),
            4: ("Cs-137", "Member of the public", "Ingestion: f1 = 1.0", SCENARIOS[4], "37", "kBq"),
            6: ("I-131", "Worker", "Ingestion: f1 = 1.0", "3 years before conception", "500", "Bq"),
        }
        path = os.path.join(folder, "intakes.csv")
        with open(path, "w", newline="") as f:
            f.write("# by hand\r\nnuclide,exposure_group,intake_route,intake_time,activity,unit\r\n")
            writer = csv.writer(f, lineterminator="\r\n")
            writer.writerow(intakes[3])
            writer.writerow(intakes[4])
            f.write("# a comment\r\n")
            writer.writerow(intakes[6])

        for method in ("conservative", "interpolated"):
            doses = expected_doses(records, intakes, method)
            out = os.path.join(folder, f"{method}.csv")
            run = subprocess.run([tool, "assess", "--data", data, "--intakes", path, "--out", out,
                                  "--method", method], capture_output=True, text=True)
            check(run.returncode == 0, f"{method}: status {run.returncode}: {run.stderr}")
            with open(out, newline="", encoding="utf-8") as f:
                records_read = list(csv.reader(f))
            body = [r for r in records_read if not r[0].startswith("#")]
            compare(f"{method} csv", body[0], body[1:], doses)
            notes = [r[0] for r in records_read if r[0].startswith("#")]
            check(any(n.startswith("# WARNING: ") for n in notes), f"{method}: no synthetic warning")
            check(notes[-1] in ("# Within the limit", "# EXCEEDS the limit"),
                  f"{method}: last note {notes[-1]}")

            book = os.path.join(folder, f"{method}.xlsx")
            run = subprocess.run([tool, "assess", "--data", data, "--intakes", path, "--out", book,
                                  "--method", method], capture_output=True, text=True)
            check(run.returncode == 0, f"{method} xlsx: status {run.returncode}: {run.stderr}")
            rows = sheet_rows(book)
            compare(f"{method} xlsx", rows[0], rows[1:], doses)

        # The same assessment in mrem: 100 times the mSv, as 1 rem is 0.01 Sv.
        out = os.path.join(folder, "mrem.csv")
        subprocess.run([tool, "assess", "--data", data, "--intakes", path, "--out", out, "--unit",
                        "mrem"], check=True, capture_output=True)
        with open(out, newline="", encoding="utf-8") as f:
            body = [r for r in csv.reader(f) if not r[0].startswith("#")]
        check(body[0][2] == "in_utero_mrem", f"mrem header {body[0]}")
        doses = expected_doses(records, intakes, "conservative")
        for row in body[1:]:
            check(close_to_shown(float(row[2]), 100 * doses[(row[0], row[1], "in_utero_mSv")]),
                  f"mrem {row[:3]}")

    for failure in failures[:40]:
        print(failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
