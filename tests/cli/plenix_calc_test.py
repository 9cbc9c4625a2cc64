#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""plenix-calc driven from outside with no display. Every golden route goes
through -o and must give its expected bytes, or stop with its message and
write nothing; --check must name the first row a fresh Calculate changes;
the CSV and JSON are read back by Python's own parsers and must hold the
cells of the expected file. Then the exit statuses of failures, standard
input, --in-place and --version.

Usage: plenix_calc_test.py PLENIX_CALC ROUTES_DIR VERSION WORK_DIR"""
import csv
import io
import json
import math
import os
import pty
import shutil
import subprocess
import sys
from pathlib import Path

calc, routes, version, work = sys.argv[1], Path(sys.argv[2]), sys.argv[3], Path(sys.argv[4])
shutil.rmtree(work, ignore_errors=True)
work.mkdir(parents=True)
env = {k: v for k, v in os.environ.items()
       if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
failures = []


def run(*args, stdin=b""):
    done = subprocess.run([calc, *map(str, args)], input=stdin, capture_output=True,
                          env=env, timeout=60)
    return done.returncode, done.stdout, done.stderr.decode()


def expect(ok, what):
    if not ok:
        failures.append(what)


UNASSIGNED = {0x81, 0x8D, 0x8F, 0x90, 0x9D}  # kept as the control of that code


def text(stored):
    return "".join(chr(b) if b in UNASSIGNED else bytes([b]).decode("cp1252") for b in stored)


def route_cells(stored):
    """The used rows of a route file as ten texts each, and its description."""
    grid, _, description = stored.partition(b"\x80")
    rows = [(row.split("\t") + [""] * 10)[:10] for row in text(grid).split("\r")][:60]
    while rows and not any(rows[-1]):
        rows.pop()
    return rows, text(description)


def close(figure, expected):
    return figure is None or math.isclose(figure, expected, rel_tol=1e-5, abs_tol=1e-9)


def check_figures(name, read):
    """The JSON figures against the formulas worked again at full precision,
    with flow and diameter carried down from the cells."""
    flow = diameter = 0.0
    total = 0.0
    for number, row in enumerate(read["rows"], 1):
        try:
            cells = [float(row[h]) if row[h] else None for h in
                     ("Item Qty", "Flow, cfm", "Diameter, in", "Length, ft", "Loss Coef.")]
        except ValueError:
            return  # an input only Plenix's own reading understands
        qty, given_flow, given_diameter, length, coef = cells
        flow = flow if given_flow is None else given_flow
        diameter = diameter if given_diameter is None else given_diameter
        expect((row["flow"], row["diameter"]) == (flow, diameter), f"{name} row {number}: in force")
        if length is None and coef is None or diameter <= 0 or flow < 0:
            continue
        velocity = 4 * flow / (3.141593 * (diameter / 12) ** 2)
        vp = (velocity / 4005) ** 2
        count = round(qty) if qty is not None else 1
        loss = (count * vp * coef if coef and coef > 0 else
                0.00109136 * count * (length or 0) * flow ** 1.9 / diameter ** 5.02)
        total += loss
        expect(close(row["velocity"], velocity) and close(row["vp"], vp) and
               close(row["loss"], loss) and close(row["total"], total),
               f"{name} row {number}: figures {row}")
    expect(read["stopped"] is False and close(read["total"], total), f"{name}: route total")


for route in sorted(routes.glob("*.route")):
    name, written = route.stem, work / (route.stem + ".out")
    message_file, expected_file = route.with_suffix(".message"), route.with_suffix(".expected")
    status, _, err = run("-o", written, route)
    if message_file.exists():
        message = message_file.read_bytes().decode().replace("\r", " ")
        expect(status == 1 and err == f"{route}: {message}\n", f"{name}: stop gave {status} {err!r}")
        expect(not written.exists(), f"{name}: a stopped route was written")
        rows, description = route_cells(route.read_bytes())
    else:
        message = None
        expect(status == 0 and err == "", f"{name}: -o gave {status} {err!r}")
        expect(written.exists() and written.read_bytes() == expected_file.read_bytes(),
               f"{name}: the written file differs from {expected_file.name}")
        rows, description = route_cells(expected_file.read_bytes())
        before, _ = route_cells(route.read_bytes())
        stale = next((i + 1 for i in range(max(len(rows), len(before)))
                      if (before + [[""] * 10] * 60)[i] != (rows + [[""] * 10] * 60)[i]), None)
        status, _, err = run("--check", route)
        expect((status, err) == ((1, f"{route}: stored results differ from a fresh Calculate. "
                                     f"Inspect row: {stale}\n") if stale else (0, "")),
               f"{name}: --check gave {status} {err!r}, stale row {stale}")
        expect(run("--check", expected_file)[0] == 0, f"{name}: its expected file is stale")

    _, out, _ = run("--format=csv", route)
    table = list(csv.reader(io.StringIO(out.decode(), newline="")))
    header = table[0] if table else []
    expect(len(header) == 10 and table[1:] == rows, f"{name}: CSV {table!r}")
    _, out, _ = run("--format=csv", "--csv-filled", route)
    filled, flow, diameter = [], "", ""
    for row in rows:
        flow, diameter = row[1] or flow, row[2] or diameter
        filled.append([row[0], flow, diameter] + row[3:])
    expect(list(csv.reader(io.StringIO(out.decode(), newline="")))[1:] == filled,
           f"{name}: the filled CSV")
    _, out, _ = run("--format=json", route)
    read = json.loads(out)
    expect([[row[h] for h in header] for row in read["rows"]] == rows, f"{name}: JSON rows")
    expect((read["file"], read["description"], read.get("message")) == (str(route), description, message),
           f"{name}: JSON {read!r}")
    if message is None:
        check_figures(name, read)
    _, out, _ = run(route)
    tsv = [line.split("\t") for line in out.decode().split("\n")]
    expect(tsv == [header] + [[c.replace("\n", " ") for c in row] for row in rows] + [[""]],
           f"{name}: TSV {tsv!r}")

# Failures: each file has its say, the others go on, the worst status wins
# (the readable route comes last, so the last status is not the worst).
good = next(r for r in sorted(routes.glob("*.route")) if r.with_suffix(".expected").exists())
expected = good.with_suffix(".expected").read_bytes()
missing, folder, plain = work / "missing.txt", work / "folder.txt", work / "plain.txt"
folder.mkdir()
plain.write_bytes(b"a text without the separator\r\n")
status, out, err = run(missing, folder, plain, good)
expect(status == 2 and [line.split(": ")[:2] for line in err.splitlines()] ==
       [["plenix-calc", f'"{missing}"'], ["plenix-calc", f'"{folder}"'],
        ["plenix-calc", f'"{plain}"']],
       f"failures gave {status} {err!r}")
rows_of_good = len(expected.partition(b"\x80")[0].split(b"\r"))
expect(out.startswith(f"{good}\n".encode()) and len(out.splitlines()) == rows_of_good + 2,
       f"the readable route among failures printed {out!r}")

# A path too long for the report's "File:" line loses its middle, never the
# file's own name.
deep = work / ("a-folder-with-a-rather-long-name/" * 4)
deep.mkdir(parents=True)
shutil.copy(good, deep / "the-route-itself.txt")
status, _, _ = run("--pdf", work / "deep.pdf", deep / "the-route-itself.txt")
pages = subprocess.run(["pdftotext", work / "deep.pdf", "-"], capture_output=True).stdout.decode()
file_line = next((line for line in pages.splitlines() if line.startswith("File:")), "")
expect(status == 0 and "\u2026" in file_line and file_line.endswith("the-route-itself.txt"),
       f"the report's file line: {file_line!r}")

# A file's message comes between the tables of the files around it.
done = subprocess.run([calc, good, missing, good], stdout=subprocess.PIPE,
                      stderr=subprocess.STDOUT, env=env, timeout=60)
both = done.stdout.decode()
expect(both.index("Route SP") < both.index(f'"{missing}"') < both.rindex(str(good)),
       f"a message out of its place: {both!r}")

copy = work / "in place.txt"
shutil.copy(good, copy)
status, _, _ = run("-i", copy, missing)
expect(status == 2 and copy.read_bytes() == expected, "-i beside a missing file")
status, _, _ = run("-o", work / "no-such-folder" / "x.txt", good)
expect(status == 2 and not (work / "no-such-folder").exists(), "-o into a missing folder")
status, _, _ = run("-o", work / "stdin.txt", "-", stdin=good.read_bytes())
expect(status == 0 and (work / "stdin.txt").read_bytes() == expected, "- read from standard input")
# Standard input takes a route up to the file limit, 64 MiB, as a file does.
limit = 64 * 1024 * 1024
biggest = b"\t1000\t12\t100\x80" + b"d" * (limit - 13)
statuses = [run("--check", "-", stdin=text)[0] for text in (biggest, biggest + b"d")]
expect(statuses == [1, 2], f"standard input at and past the limit gave {statuses}")
expect(run("-o", work / "two.txt", good, good)[0] == 2, "-o with two routes is a usage error")
expect(run("--version")[1] == f"plenix-calc {version}\n".encode(), "--version")
with open("/dev/full", "wb") as full:
    done = subprocess.run([calc, good], stdout=full, stderr=subprocess.PIPE, env=env, timeout=60)
expect(done.returncode == 2 and b"standard output" in done.stderr,
       f"a full standard output gave {done.returncode} {done.stderr!r}")

# A cell with terminal controls: shown as escapes on a terminal, as it is
# into a pipe.
controls = work / "controls.txt"
controls.write_bytes(b"\t500\t\t\t\x1b[2J\x07 bell\x80")
leader, follower = pty.openpty()
shown = subprocess.run([calc, controls], stdout=follower, stderr=subprocess.DEVNULL, env=env,
                       timeout=60)
os.close(follower)
on_terminal = b""
while True:
    try:
        chunk = os.read(leader, 4096)
    except OSError:
        break
    if not chunk:
        break
    on_terminal += chunk
os.close(leader)
expect(b"\\x1b[2J\\x07 bell" in on_terminal and b"\x1b" not in on_terminal,
       f"controls on a terminal gave {on_terminal!r}")
expect(b"\x1b[2J\x07 bell" in run(controls)[1], "controls into a pipe are kept")

# File names in another encoding than UTF-8 name their files; a message
# spells the stray byte out.
latin1 = os.fsencode(work) + b"/caf\xe9.txt"
with open(latin1, "wb") as route:
    route.write(good.read_bytes())
done = subprocess.run([calc, b"-o", os.fsencode(work) + b"/out\xe9.txt", latin1],
                      capture_output=True, env=env, timeout=60)
expect(done.returncode == 0 and os.path.exists(os.fsencode(work) + b"/out\xe9.txt"),
       f"a Latin-1 file name: exit {done.returncode}, {done.stderr!r}")
done = subprocess.run([calc, os.fsencode(work) + b"/gone\xe9.txt"], capture_output=True,
                      env=env, timeout=60)
expect(b"gone\\xE9.txt\": No such file" in done.stderr, f"a missing Latin-1 name: {done.stderr!r}")

for failure in failures:
    print("FAIL:", failure, file=sys.stderr)
print(f"plenix-calc: {len(failures)} failed")
sys.exit(1 if failures else 0)
