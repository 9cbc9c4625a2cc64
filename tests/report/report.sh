#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The report on paper and in files. plenix-calc --pdf and --csv export a
# 60-row route with no display; then the window's Print Report prints it
# from Qt's preview through a real CUPS spooler to a cups-pdf queue, once on
# A4 and once on Letter. Every PDF is read back with poppler: at most three
# pages of the expected size, every used row's description and the route
# total in its text; so is the window's Export PDF, which takes the
# printer's paper under a locale of the other. The CSV is read back with Python's csv module.
#
# The spooler is a private cupsd on a socket of its own, so a system spooler
# is left alone. cups-pdf runs only under a cupsd started as root: as
# another user the printing half is skipped (exit 77) once the exports pass.
#
# Usage: report.sh PLENIX_CALC TST_APP_REPORT ROUTE WORK_DIR
set -euo pipefail

calc=$1 window_test=$2 route=$3 work=$4
rm -rf "$work"
mkdir -p "$work"
status=0
fail() {
    echo "FAIL: $*"
    status=1
}
for tool in pdftotext pdfinfo python3; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

# What every copy of the report must hold: the route total, as plenix-calc
# calculates it, and the description of every used row.
env -u DISPLAY -u WAYLAND_DISPLAY "$calc" "$route" >"$work/table.tsv"
total=$(tail -n 1 "$work/table.tsv" | cut -f 10)

check_pdf() { # PDF PAGE_SIZE LABEL
    local pdf=$1 size=$2 label=$3 info
    [[ -s $pdf ]] || { fail "$label: no PDF"; return; }
    info=$(pdfinfo "$pdf")
    local pages
    pages=$(awk '/^Pages:/ { print $2 }' <<<"$info")
    ((pages >= 1 && pages <= 3)) || fail "$label: $pages pages"
    grep -q "^Page size: *$size pts" <<<"$info" || fail "$label: not $size pts: $(grep '^Page size' <<<"$info")"
    pdftotext "$pdf" "$work/text.txt"
    python3 - "$route" "$work/text.txt" "$total" "$label" <<'EOF' || status=1
import sys, unicodedata
route, text, total, label = sys.argv[1:]
grid = open(route, "rb").read().partition(b"\x80")[0].decode("cp1252")
wanted = [row.split("\t")[4] for row in grid.split("\r") if len(row.split("\t")) > 4]
# NFKC: poppler gives ligatures such as "ff" as one character.
words = " ".join(unicodedata.normalize("NFKC", open(text, encoding="utf-8").read()).split())
missing = [d for d in wanted if d and " ".join(d.split()) not in words]
if missing or f"Route total: {total} in wg" not in words:
    print(f"FAIL: {label}: missing {missing[:3]} of {len(wanted)} descriptions, total {total}")
    sys.exit(1)
EOF
}

# ---------------------------------------------------------------- exports
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
    "$calc" --pdf="$work/route.pdf" --csv="$work/route.csv" "$route" ||
    fail "plenix-calc --pdf --csv exited with $?"
check_pdf "$work/route.pdf" "595 x 842" "plenix-calc --pdf"
pdfinfo "$work/route.pdf" | grep -q "^Title: *$(basename "$route" .txt)$" || fail "PDF title"
python3 - "$work/route.csv" "$work/table.tsv" <<'EOF' || status=1
import csv, sys
raw = open(sys.argv[1], "rb").read()
rows = list(csv.reader(open(sys.argv[1], encoding="utf-8-sig", newline="")))
tsv = [line.split("\t") for line in open(sys.argv[2], encoding="utf-8").read().splitlines()]
problems = [p for p, bad in [
    ("no byte order mark", not raw.startswith(b"\xef\xbb\xbf")),
    ("a line end other than CR LF", raw.count(b"\n") != raw.count(b"\r\n")),
    ("rows differ from the table", rows != tsv),
    ("not the header and 60 rows", len(rows) != 61)] if bad]
if problems:
    print("FAIL: CSV:", "; ".join(problems))
    sys.exit(1)
EOF

# A description of 200,000 lines is cut after twenty pages, with a note of
# what was left out.
python3 -c 'import sys; sys.stdout.buffer.write(b"\t1000\t12\t100\x80" + b"\r\n".join(b"line %d" % i for i in range(200000)))' >"$work/long.txt"
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$calc" --pdf="$work/long.pdf" "$work/long.txt" ||
    fail "plenix-calc --pdf of a long description exited with $?"
long_pages=$(pdfinfo "$work/long.pdf" | awk '/^Pages:/ { print $2 }')
((long_pages == 21)) || fail "a long description: $long_pages pages, not 20 of description and the table's"
pdftotext "$work/long.pdf" "$work/long-text.txt"
python3 - "$work/long-text.txt" <<'EOF' || status=1
import re, sys
text = " ".join(open(sys.argv[1], encoding="utf-8").read().split())
note = re.search(r"The rest of the description is not printed: (\d+) more bytes, (\d+) more lines", text)
last = max(int(n) for n in re.findall(r"\bline (\d+)\b", text))
# Lines 0..last were printed; the note counts the bytes and lines after them.
cut = last + 1
expected = (sum(len(f"line {i}") for i in range(cut, 200000)) + 2 * (200000 - cut - 1),
            200000 - cut)
if not note or (int(note[1]), int(note[2])) != expected:
    print(f"FAIL: a long description: note {note and note.groups()}, expected {expected}")
    sys.exit(1)
EOF

# ---------------------------------------------------------------- printing
if [[ $(id -u) -ne 0 ]]; then
    echo "SKIP: printing through CUPS needs root (cups-pdf); exports checked"
    exit $((status ? status : 77))
fi
spool=$work/cups
mkdir -p "$spool"/{spool/tmp,cache,state,log}
chmod -R go+rx "$work"
socket=$spool/cups.sock
cat >"$spool/cupsd.conf" <<EOF
Listen $socket
LogLevel warn
WebInterface No
Browsing No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
cat >"$spool/cups-files.conf" <<EOF
ServerRoot $spool
RequestRoot $spool/spool
TempDir $spool/spool/tmp
StateDir $spool/state
CacheDir $spool/cache
ErrorLog $spool/log/error_log
AccessLog $spool/log/access_log
PageLog $spool/log/page_log
ServerBin /usr/lib/cups
DataDir /usr/share/cups
EOF
cupsd -f -c "$spool/cupsd.conf" -s "$spool/cups-files.conf" &
cupsd_pid=$!
trap 'kill "$cupsd_pid" 2>/dev/null || true' EXIT
export CUPS_SERVER=$socket
for _ in $(seq 50); do [[ -S $socket ]] && break; sleep 0.1; done

# The cups-pdf driver as this system names it.
ppd=$(lpinfo -m | awk '/CUPS-PDF_opt/ { print $1; exit }')
[[ -n $ppd ]] || { echo "FAIL: no cups-pdf driver (printer-driver-cups-pdf)"; exit 1; }
lpadmin -p PlenixPDF -E -v cups-pdf:/ -m "$ppd" 2>/dev/null
# cups-pdf takes PostScript. Converted by Ghostscript, the default, the text
# of Qt's PDF comes back as glyphs poppler cannot read; poppler's Cairo
# renderer keeps it text.
lpadmin -p PlenixPDF -o pdftops-renderer-default=pdftocairo
lpadmin -d PlenixPDF
# cups-pdf writes each job into the PDF folder of the user who printed.
out=$(getent passwd "$(id -un)" | cut -d: -f6)/PDF

# The queue's default paper is its administrator's choice; CUPS here takes
# it from the driver, not from any locale. The window follows the printer,
# whatever the user's locale says: an A4 printer in the US, a Letter one in
# Germany.
print_report() { # PAGE_SIZE_NAME PAGE_SIZE_PTS LOCALE
    lpadmin -p PlenixPDF -o "PageSize=$1"
    touch "$work/before-$1"
    env -u LANGUAGE -u LC_MEASUREMENT -u LC_PAPER LC_ALL="$3" QT_QPA_PLATFORM=offscreen \
        PLENIX_REPORT_PRINTER=PlenixPDF PLENIX_REPORT_EXPORT="$work/exported-$1.pdf" \
        "$window_test" preview_shows_and_prints_the_report >"$work/print-$1.log" 2>&1 ||
        { fail "$1: the preview test failed"; cat "$work/print-$1.log"; return; }
    check_pdf "$work/exported-$1.pdf" "$2" "exported under $3 for a $1 printer"
    local pdf=""
    for _ in $(seq 300); do
        pdf=$(find "$out" -name '*.pdf' -newer "$work/before-$1" 2>/dev/null | head -n 1)
        [[ -n $pdf && -z $(lpstat -o PlenixPDF) ]] && break
        sleep 0.2
    done
    [[ -n $pdf ]] || { fail "$1: no job came out of the queue"; cat "$spool/log/error_log"; return; }
    mv "$pdf" "$work/printed-$1.pdf"
    check_pdf "$work/printed-$1.pdf" "$2" "printed on $1"
}
print_report A4 "595 x 842" en_US.UTF-8
print_report Letter "612 x 792" de_DE.UTF-8
exit "$status"
