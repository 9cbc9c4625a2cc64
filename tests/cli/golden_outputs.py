#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Whole outputs of plenix-calc against golden files. Each line of
data/outputs/commands.cases is one command line: its name, the arguments, and
optionally the set-up of its work folder. Its exit status, standard error,
standard output and every file it leaves (a PDF as its fonts and the text of
its pages, the print date, which must be today's, masked and runs of blanks
made one) are written as one text and compared whole with
data/outputs/NAME.golden. --write writes the golden files instead.

Usage: golden_outputs.py PLENIX_CALC DATA_DIR WORK_DIR [--write]"""
import datetime
import os
import re
import shlex
import shutil
import subprocess
import sys
from pathlib import Path

calc, data, work = sys.argv[1], Path(sys.argv[2]), Path(sys.argv[3])
write = sys.argv[4:] == ["--write"]
# One locale for every run, so that the paper of a PDF is the same anywhere;
# a command's set-up may give another. No display and no runtime folder, as
# in a script run from cron: standard error must still hold only
# plenix-calc's own messages.
env = {k: v for k, v in os.environ.items()
       if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LANGUAGE",
                    "XDG_RUNTIME_DIR")
       and not k.startswith("LC_")}
env["LANG"] = "C.UTF-8"
places = {"{routes}": data / "routes", "{projects}": data / "projects", "{work}": work}


def shown(raw):
    """Bytes as readable text: UTF-8 where they are; CR as \\r and a line
    break, and every other byte and control character but LF and TAB
    spelled out."""
    text = raw.decode("utf-8", errors="backslashreplace").replace("\r", "\\r\n")
    return re.sub(r"[\x00-\x08\x0b-\x1f\x7f]", lambda m: f"\\x{ord(m.group()):02x}", text)


def left_file(path):
    if path.suffix == ".pdf" and path.read_bytes().startswith(b"%PDF"):
        pages = subprocess.run(["pdftotext", "-layout", path, "-"], capture_output=True,
                               check=True).stdout.decode()
        fonts = subprocess.run(["pdffonts", path], capture_output=True, check=True).stdout
        names = sorted({line.split()[0] for line in fonts.decode().splitlines()[2:]})
        # The columns pdftotext finds move with the length of the path on
        # the page, so runs of blanks count as one.
        # The date printed must be today's (or yesterday's, for a run
        # across midnight); only then is it masked.
        days = [datetime.date.today() - datetime.timedelta(days=d) for d in (0, 1)]
        dates = "|".join(day.isoformat() for day in days)
        pages = re.sub(rf"(?:{dates}) \d\d:\d\d", "YYYY-MM-DD HH:MM", pages)
        info = subprocess.run(["pdfinfo", path], capture_output=True, check=True).stdout.decode()
        title = re.search(r"^Title: *(.*)$", info, re.M)
        paper = re.search(r"^Page size: *(.*)$", info, re.M)
        return (f"title: {title.group(1) if title else ''}\npaper: {paper.group(1)}\n"
                f"fonts: {' '.join(names)}\n" +
                re.sub(r" +", " ", pages))
    return shown(path.read_bytes())


def set_up(words):
    """The work folder's files, and the command's environment."""
    extra = {}
    for step in words.split(";") if words else []:
        verb, *names = step.split()
        if verb == "copy":
            shutil.copy(data / names[0], work / names[1])
        elif verb == "link":
            os.link(work / names[0], work / names[1])
        elif verb == "symlink":
            os.symlink(names[0], work / names[1])
        elif verb == "fifo":
            os.mkfifo(work / names[0])
        elif verb == "mkdir":
            (work / names[0]).mkdir()
        elif verb == "env":
            key, _, value = names[0].partition("=")
            extra[key] = value
    return extra


def outcome(args, setup):
    shutil.rmtree(work, ignore_errors=True)
    work.mkdir(parents=True)
    extra = set_up(setup)
    words = [str(places.get(w, w)) for w in re.split(r"(\{\w+\})", args)]
    done = subprocess.run([calc, *shlex.split("".join(words))], capture_output=True,
                          env={**env, **extra},
                          cwd=work, timeout=120, stdin=subprocess.DEVNULL)
    text = f"$ plenix-calc {args}\nexit {done.returncode}\n--- stderr\n{shown(done.stderr)}"
    text += f"--- stdout\n{shown(done.stdout)}"
    for path in sorted(p for p in work.rglob("*") if p.is_file() and not p.is_symlink()):
        text += f"--- file {path.relative_to(work)}\n{left_file(path)}"
    for key, place in places.items():
        text = text.replace(str(place), key)
    return text.replace(calc, "plenix-calc")


passed = failures = 0
for line in (data / "outputs" / "commands.cases").read_text().splitlines():
    if not line.strip() or line.startswith("#"):
        continue
    name, args, *setup = line.split("\t")
    golden = data / "outputs" / f"{name}.golden"
    got = outcome(args, setup[0] if setup else "")
    if write:
        golden.write_text(got)
    if golden.exists() and golden.read_text() == got:
        passed += 1
    else:
        failures += 1
        print(f"FAIL: {name}: differs from {golden.name}\n{got}", file=sys.stderr)
print(f"golden outputs: {passed} passed, {failures} failed")
sys.exit(1 if failures else 0)
