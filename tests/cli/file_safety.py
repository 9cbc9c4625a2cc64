#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""plenix-calc saves that are killed or run side by side. A route with two
names is rewritten in place by -i and killed at random instants: the next
run must find the whole old or the whole new text. Two runs write -o onto
one file at once while a third reads it, over and over: one whole text must
win each time, and the reader must see a whole one. An export through a
second name of the route itself is refused. As root, all of it again as an
ordinary user.

Usage: file_safety.py PLENIX_CALC WORK_DIR"""
import os
import random
import shutil
import signal
import subprocess
import sys
import time
from pathlib import Path

calc, work = sys.argv[1], Path(sys.argv[2])
shutil.rmtree(work, ignore_errors=True)
work.mkdir(parents=True)
env = {k: v for k, v in os.environ.items()
       if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
failures = []


def start(*args):
    return subprocess.Popen([calc, "-q", *map(str, args)], env=env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)


def finish(*args):
    return subprocess.run([calc, "-q", *map(str, args)], env=env, capture_output=True,
                          timeout=60)


def route(flow, description_bytes):
    rows = b"\r".join(b"\t%d\t12\t100" % flow if i == 0 else b"\t\t\t10" for i in range(60))
    return rows + b"\x80" + b"d" * description_bytes


# A few megabytes, so that a kill may land inside the write.
old = route(1000, 2 << 20)
routefile, alias = work / "route.txt", work / "alias.txt"
(work / "expected.txt").write_bytes(old)
os.link(work / "expected.txt", work / "expected-alias.txt")
began = time.monotonic()
finish("-i", work / "expected.txt")
# The write in place comes last: the kills fall in the second half of a run.
duration = time.monotonic() - began
new = (work / "expected.txt").read_bytes()
rng = random.Random(20261207)
restored = 0
for attempt in range(20):
    routefile.write_bytes(old)
    alias.unlink(missing_ok=True)
    os.link(routefile, alias)
    saving = start("-i", routefile)
    time.sleep(rng.uniform(0.5, 1.1) * duration)
    saving.send_signal(signal.SIGKILL)
    saving.wait()
    # The next run puts back a save cut short.
    restored += b"was restored from" in finish(alias).stderr
    if routefile.read_bytes() not in (old, new):
        failures.append(f"kill {attempt}: the route is neither the old nor the new text")
    if list(work.glob(".plenix-backup-*")):
        failures.append(f"kill {attempt}: a backup is left: {sorted(os.listdir(work))}")
print(f"{restored} of 20 kills fell inside the write in place")
# The temporary files of the killed saves go with the next save.
finish("-i", routefile)
if list(work.glob(".plenix-*")):
    failures.append(f"strays left after a save: {sorted(os.listdir(work))}")

# Two writers of one file with two names, and a reader.
first, second = work / "first.txt", work / "second.txt"
first.write_bytes(route(500, 1 << 20))
second.write_bytes(route(900, 700 << 10))
wholes = set()
for source in (first, second):
    finish("-o", work / "whole.txt", source)
    wholes.add((work / "whole.txt").read_bytes())
target = work / "target.txt"
shutil.copy(first, target)
finish("-i", target)
os.link(target, work / "target-alias.txt")
for attempt in range(50):
    runs = [start("-o", target, first), start("-o", work / "target-alias.txt", second),
            start("-o", work / "read.txt", target)]
    statuses = [run.wait() for run in runs]
    if target.read_bytes() not in wholes or statuses != [0, 0, 0]:
        failures.append(f"writers {attempt}: exit {statuses}, the file is not one whole text")
        break
    if (work / "read.txt").read_bytes() not in wholes:
        failures.append(f"writers {attempt}: a reader saw a text half written")
        break

# An export onto the route under a second name.
routefile.write_bytes(old)
done = finish("--csv", alias, routefile)
if done.returncode != 2 or routefile.read_bytes() != old or b"own file" not in done.stderr:
    failures.append(f"--csv onto a hard link of the route: exit {done.returncode}, "
                    f"{done.stderr.decode(errors='replace').strip()}")

# As root, everything again as an ordinary user, in a folder of that user.
if os.geteuid() == 0 and shutil.which("setpriv") and not os.environ.get("PLENIX_AS_USER"):
    user_work = Path("/tmp") / f"plenix-file-safety-{os.getpid()}"
    shutil.rmtree(user_work, ignore_errors=True)
    user_work.mkdir()
    # Copies the user can reach, wherever the build lies.
    shutil.copy(calc, user_work / "plenix-calc")
    shutil.copy(__file__, user_work / "file_safety.py")
    os.chown(user_work, 65534, 65534)
    as_user = subprocess.run(["setpriv", "--reuid=65534", "--regid=65534", "--clear-groups",
                              sys.executable, user_work / "file_safety.py",
                              user_work / "plenix-calc", user_work / "work"],
                             env={**env, "PLENIX_AS_USER": "1", "HOME": str(user_work)},
                             capture_output=True, text=True, timeout=300)
    print(as_user.stdout, end="")
    if as_user.returncode != 0:
        failures.append(f"as an ordinary user: exit {as_user.returncode} {as_user.stderr}")
    shutil.rmtree(user_work, ignore_errors=True)

for failure in failures:
    print("FAIL:", failure)
sys.exit(1 if failures else 0)
