#!/usr/bin/env python3
"""read_back.py EXPORT_PROBE DATA: for every row of DATA/export/cases.txt, the table as CSV and as SQLite,
read back with Python's csv and sqlite3 and compared, cell by cell, with the loader's property dumps that
export_probe prints beside it, through the column list DATA/export/columns.txt."""
import csv, datetime, io, re, sqlite3, struct, subprocess, sys, tempfile
from decimal import Decimal, ROUND_HALF_UP
from pathlib import Path

ERAS = {"M": 1867, "T": 1911, "S": 1925, "H": 1988, "R": 2018}
PERIOD = re.compile(r"period=(-?\d+) (-?\d+) \[(.*?)\] \[(.*?)\]")


def full_year(year, old2):
    return year + (2000 if year <= 68 else 1900) if old2 and 0 <= year < 100 else year


def day(year, month, day_):
    try:
        return datetime.date(year, month, day_).isoformat()
    except ValueError:
        return None


def iso(text):
    t = text.strip(" ")
    if len(t) in (6, 8) and t.isdigit():
        return day(full_year(int(t[:-4]), True), int(t[-4:-2]), int(t[-2:]))
    if len(t) == 7 and t[0] in ERAS and t[1:].isdigit() and int(t[1:3]) > 0:
        return day(ERAS[t[0]] + int(t[1:3]), int(t[3:5]), int(t[5:]))
    return None


def decimal(text, places):
    """The shortest decimal that reads back as the same float, rounded to its places, halves away from zero."""
    f32 = lambda x: struct.unpack("f", struct.pack("f", float(x)))[0]
    shortest = next(s for s in (f"{f32(text):.{p}g}" for p in range(1, 10)) if f32(s) == f32(text))
    return str(Decimal(shortest).quantize(Decimal(1).scaleb(-places), ROUND_HALF_UP))


def value(form, text, old2):
    """The cell a dumped figure must give; None for none (an empty CSV field, NULL in SQLite)."""
    if form in ("d1", "d2"):
        return decimal(text, int(form[1]))
    if form in ("int", "year"):
        return str(full_year(int(float(text)), old2 and form == "year"))
    return iso(text) if form in ("era", "ymd") else text.strip(" \u3000")


def dumps(text):
    """[(source, period figures, {racer number: figures of its first record})] in the probe's order."""
    periods = []
    for line in text.split("\n"):
        if line.startswith("source="):
            periods.append((line[7:], None, {}))
        elif m := PERIOD.match(line):
            periods[-1] = (periods[-1][0], dict(zip(("Nen", "Ki", "YmdStart", "YmdEnd"), m.groups())), periods[-1][2])
        elif line.startswith("slot "):
            no = line[line.index("[") + 1:-1]
            racer = None if no in ("", "none") or no in periods[-1][2] else periods[-1][2].setdefault(no, {"-": no})
        elif line.startswith(" ") and racer is not None:
            name, _, figure = line[1:].partition("=")
            racer[name] = figure
    return periods


def expected(columns, periods, old2):
    """The racer rows and course rows as (column, form, cell), newest period first, then by racer number."""
    racers, courses = [], []
    for _, period, found in periods:
        for no in sorted(found):
            figures = found[no] | period
            racers.append([(c, form, value(form, figures[p], old2)) for c, p, form in columns if "{n}" not in c])
            for n in range(6):
                cells = [(c[5:], form, value(form, figures[p].split(" ")[n], old2)) for c, p, form in columns if "{n}" in c]
                courses.append([("year", "int", racers[-1][0][2]), ("half", "int", racers[-1][1][2]), ("racer_no", "key", no),
                                ("course", "int", str(n + 1))] + cells)
    return racers, courses


def csv_failures(path, racers, courses):
    raw = path.read_bytes()
    failures = [] if raw.startswith(b"\xef\xbb\xbf") and raw.count(b"\n") == raw.count(b"\r\n") else ["no BOM or not CR LF"]
    rows = list(csv.reader(io.StringIO(raw.decode("utf-8-sig"), newline="")))
    formula = lambda form, cell: "'" + cell if form == "text" and cell[:1] in ("=", "+", "-", "@") else cell
    want = [[formula(form, cell or "") for _, form, cell in racer + sum((c[4:] for c in courses[6 * i:6 * i + 6]), [])]
            for i, racer in enumerate(racers)]
    names = [c for c, _, _ in racers[0]] + [f"c{n}_{c}" for n in range(1, 7) for c, _, _ in courses[0][4:]] if racers else []
    failures += [] if rows[0] == names or not racers else [f"header {rows[0]}"]
    return failures + [f"CSV row {i}: {got} != {row}" for i, (got, row) in enumerate(zip(rows[1:], want), 1) if got != row][:3] + \
        ([f"{len(rows) - 1} CSV rows, expected {len(want)}"] if len(rows) - 1 != len(want) else [])


def table_failures(db, table, order, rows):
    cursor = db.execute(f"SELECT * FROM {table} ORDER BY {order}")
    typed = lambda form, cell: cell if cell is None or form in ("text", "key", "era", "ymd") else \
        float(cell) if form[0] == "d" else int(cell)
    want = [tuple(typed(form, cell) for _, form, cell in row) for row in rows]
    got = [tuple(row) for row in cursor.fetchall()]
    failures = [f"{table} columns {[d[0] for d in cursor.description]}"] if rows and [d[0] for d in cursor.description] != [c for c, _, _ in rows[0]] else []
    failures += [f"{table}: a value of another type in {g}" for g, w in zip(got, want) if list(map(type, g)) != list(map(type, w))][:1]
    return failures + ([f"{table} rows differ, first {next((g, w) for g, w in zip(got + [None] * len(want), want) if g != w)}"] if got != want else [])


def sqlite_failures(path, racers, courses, periods, old2):
    db = sqlite3.connect(path)
    failures = [] if db.execute("PRAGMA user_version").fetchone() == (1,) else ["user_version is not 1"]
    keys = {t: [r[1] for r in sorted(db.execute(f"PRAGMA table_info({t})")) if r[5]] for t in ("periods", "racers", "courses")}
    if keys != {"periods": ["year", "half"], "racers": ["year", "half", "racer_no"], "courses": ["year", "half", "racer_no", "course"]}:
        failures.append(f"keys {keys}")
    if {r[0] for r in db.execute("SELECT tbl_name FROM sqlite_master WHERE type = 'index' AND sql LIKE '%(racer_no)'")} != {"racers", "courses"}:
        failures.append("no racer_no index on racers and courses")
    failures += table_failures(db, "racers", "year DESC, half DESC, racer_no", racers)
    failures += table_failures(db, "courses", "year DESC, half DESC, racer_no, course", courses)
    want = [(int(value("year", p["Nen"], old2)), int(p["Ki"]), iso(p["YmdStart"]), iso(p["YmdEnd"]), s) for s, p, _ in periods]
    return failures + ([] if db.execute("SELECT * FROM periods ORDER BY year DESC, half DESC").fetchall() == want else ["periods differ"])


def main(probe, data):
    data = Path(data)
    columns = [row.split() for row in (data / "export" / "columns.txt").read_text().splitlines() if row and row[0] != "#"]
    failed = 0
    for case in [row.split() for row in (data / "export" / "cases.txt").read_text().splitlines() if row and row[0] != "#"]:
        old2 = case[0] == "old2"
        fan, older = case[old2], sorted(str(p) for p in data.glob(case[old2 + 1]) if p != data / case[old2]) if case[old2 + 1] != "-" else []
        with tempfile.TemporaryDirectory() as top:
            failures = []
            for name in ("table.csv", "table.db"):
                out = subprocess.run([probe] + ["old2"] * old2 + [str(Path(top, name)), str(data / fan)] + older,
                                     capture_output=True, text=True, check=True).stdout
                periods = dumps(out)
                racers, courses = expected(columns, periods, old2)
                failures += csv_failures(Path(top, name), racers, courses) if name.endswith(".csv") else \
                    sqlite_failures(Path(top, name), racers, courses, periods, old2)
        failed += bool(failures)
        print(("FAIL " if failures else "PASS ") + " ".join(case) + "".join("\n    " + f for f in failures))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
