#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The deliberate-fault check. Applies each mutant of tests/mutants/mutants.txt
# in turn to a scratch copy of the working tree, builds it with the dev
# preset, runs the tests and reports whether they caught the fault. The
# working tree itself is never changed.
#
#   scripts/mutants.sh [id...]     every mutant, or only the ones named
#   scripts/mutants.sh --list      the ids and the faults they stand for
#
# MUTANTS_TESTS=<regex> runs only the ctest entries it matches, for a quick
# check of the tests of one area; the recorded results come from full runs.
#
# Results: CAUGHT (a test failed), BUILD-FAIL (the fault does not compile,
# which counts as caught), MISSED (every test passed) and NOT-APPLICABLE (the
# original code no longer occurs exactly once: update the mutant). Exits
# non-zero when any mutant is missed or not applicable. The scratch copy and
# its build stay in build/mutants/ so that the next run builds incrementally.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
list=$root/tests/mutants/mutants.txt
scratch=$root/build/mutants
jobs=$(nproc)

# The mutant file's blocks, or one of them applied to a tree.
mutant_tool() {
    python3 - "$@" <<'PYTHON'
import sys

def blocks(path):
    found, current, part = [], None, None
    for line in open(path, encoding="utf-8").read().split("\n"):
        if line.startswith("=== "):
            _, ident, file = line.split(maxsplit=2)
            current = {"id": ident, "file": file, "note": "", "original": [], "mutant": []}
            found.append(current)
            part = "note"
        elif current is None:
            continue
        elif line == "--- original":
            part = "original"
        elif line == "+++ mutant":
            part = "mutant"
        elif part == "note":
            if line.startswith("#"):
                current["note"] = line.lstrip("# ")
        else:
            current[part].append(line)
    for block in found:
        while block["mutant"] and not block["mutant"][-1].strip():
            block["mutant"].pop()
    return found

command, path = sys.argv[1], sys.argv[2]
mutants = blocks(path)
if command == "list":
    for m in mutants:
        print(f"{m['id']}\t{m['file']}\t{m['note']}")
elif command == "apply":
    ident, tree = sys.argv[3], sys.argv[4]
    (m,) = [m for m in mutants if m["id"] == ident]
    target = f"{tree}/{m['file']}"
    with open(target, encoding="utf-8", newline="") as f:
        text = f.read()
    original, mutant = "\n".join(m["original"]), "\n".join(m["mutant"])
    if not original or text.count(original) != 1:
        sys.exit(3)
    with open(target, "w", encoding="utf-8", newline="") as f:
        f.write(text.replace(original, mutant))
PYTHON
}

if [[ ${1:-} == --list ]]; then
    mutant_tool list "$list" | column -t -s $'\t'
    exit 0
fi

mapfile -t all_ids < <(mutant_tool list "$list" | cut -f1)
ids=("$@")
((${#ids[@]})) || ids=("${all_ids[@]}")
# Looked up in a table: grep -q would stop reading at the first match, and the
# writer's broken pipe would fail the check under pipefail.
declare -A known=()
for id in "${all_ids[@]}"; do known[$id]=1; done
for id in "${ids[@]}"; do
    [[ -n ${known[$id]:-} ]] || { echo "no mutant $id" >&2; exit 2; }
done

# The scratch tree: the working tree's files, uncommitted changes included.
# Only files whose content differs are copied, and they get the time of the
# copy, so the build stays incremental and never misses a change.
echo "== Copying the working tree to $scratch/tree"
rm -rf "$scratch/incoming"
mkdir -p "$scratch/tree" "$scratch/incoming"
git ls-files -z -co --exclude-standard | grep -zv '^build/' |
    tar --null -T - -cf - | tar -C "$scratch/incoming" -xf -
(cd "$scratch/incoming" && find . -type f -print0) | while IFS= read -r -d '' file; do
    if ! cmp -s "$scratch/incoming/$file" "$scratch/tree/$file"; then
        mkdir -p "$(dirname "$scratch/tree/$file")"
        cp "$scratch/incoming/$file" "$scratch/tree/$file"
        chmod --reference="$scratch/incoming/$file" "$scratch/tree/$file"
    fi
done
rm -rf "$scratch/incoming"
cd "$scratch/tree"
source scripts/preset-env.sh
jobs=${MUTANTS_JOBS:-$jobs}

build() { cmake --build --preset dev -j "$jobs" >"$scratch/build.log" 2>&1; }
run_tests() {
    ctest --preset dev -j "$jobs" --timeout 300 --stop-on-failure ${MUTANTS_TESTS:+-R "$MUTANTS_TESTS"} \
        >"$scratch/test.log" 2>&1
}

echo "== Building and testing the tree as it is"
cmake --preset dev -DPLENIX_BUILD_BENCH=OFF >"$scratch/configure.log" 2>&1
build || { echo "the unchanged tree does not build: $scratch/build.log" >&2; exit 1; }
run_tests || { echo "the unchanged tree fails its tests: $scratch/test.log" >&2; exit 1; }

results=()
failures=0
report() { # result of the mutant $id in $file
    [[ $1 == MISSED || $1 == NOT-APPLICABLE ]] && failures=$((failures + 1))
    printf '%-28s %s\n' "$id" "$1"
    results+=("| $id | \`$file\` | $1 |")
}
for id in "${ids[@]}"; do
    file=$(mutant_tool list "$list" | awk -F'\t' -v id="$id" '$1 == id { print $2 }')
    if [[ ! -f $file ]]; then
        report NOT-APPLICABLE
        continue
    fi
    cp -p "$file" "$scratch/original"
    if ! mutant_tool apply "$list" "$id" "$scratch/tree"; then
        result=NOT-APPLICABLE
    elif ! build; then
        result=BUILD-FAIL
    elif ! run_tests; then
        # The failed test as ctest's summary names it, at a line's start,
        # not a test's own output that happens to look alike.
        result="CAUGHT by $(grep -m1 -oE '^[[:space:]]*[0-9]+ - [^ ]+ \(' "$scratch/test.log" |
            sed -E 's/^[[:space:]]*[0-9]+ - //; s/ \($//' || echo '?')"
    else
        result=MISSED
    fi
    # The restored file is newer than its objects, so the next build
    # compiles it again.
    cp "$scratch/original" "$file"
    touch "$file"
    report "$result"
done
build || true

echo
echo "| mutant | file | result |"
echo "|---|---|---|"
printf '%s\n' "${results[@]}"
echo
echo "mutants: ${#ids[@]} run, $failures missed or not applicable"
((failures == 0))
