#!/usr/bin/env bash
# Mutation check, run by hand: applies each one-line fault in scripts/mutants/
# in turn, rebuilds what its tests need (-j2), runs those tests and prints one
# line per mutant: killed, SURVIVED (every test still passed), stale (its
# original line is no longer there exactly once) or build failed. Exits
# non-zero when any survived or is stale. The mutated file is always put back,
# also on Ctrl-C, and the targets rebuilt from the real sources at the end.
#
#   scripts/mutate.sh [--build DIR] [NAME...]   # NAME: a mutant's file name or its start, as 07
#
# A mutant file holds: file (from the root), tests (ctest arguments), targets
# (what to build; all when empty), original (the line, indentation aside) and
# mutant (its replacement, indented like the original).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
names=()
while (($#)); do
    case $1 in
    --build) build=$(realpath "$2"); shift 2 ;;
    -h | --help) sed -n '2,13p' "$0"; exit 0 ;;
    *) names+=("$1"); shift ;;
    esac
done
[[ -f $build/CTestTestfile.cmake ]] || { echo "no configured build in $build" >&2; exit 2; }

mutants=()
if ((${#names[@]})); then
    for name in "${names[@]}"; do
        found=("$root"/scripts/mutants/"${name%.mutant}"*.mutant)
        [[ -f ${found[0]} ]] || { echo "no mutant named $name" >&2; exit 2; }
        mutants+=("${found[@]}")
    done
else
    mutants=("$root"/scripts/mutants/*.mutant)
fi

# field FILE KEY: the value after "KEY: ".
field() { sed -n "s/^$2: //p" "$1" | head -n1; }

# apply FILE ORIGINAL MUTANT: replaces the one line that reads ORIGINAL.
apply() {
    python3 - "$@" <<'PY'
import sys
path, original, mutant = sys.argv[1:]
with open(path, encoding="utf-8", newline="") as f:
    lines = f.read().splitlines(keepends=True)
hits = [i for i, line in enumerate(lines) if line.strip() == original.strip()]
if len(hits) != 1:
    sys.exit(3)
line = lines[hits[0]]
indent = line[: len(line) - len(line.lstrip())]
ending = line[len(line.rstrip("\r\n")):]
lines[hits[0]] = indent + mutant.strip() + ending
with open(path, "w", encoding="utf-8", newline="") as f:
    f.write("".join(lines))
PY
}

work=$(mktemp -d)
target=""
# Written back, not moved: the fresh time makes the next build recompile it.
restore() {
    if [[ -n $target ]]; then
        cat "$work/original" >"$target"
        target=""
    fi
}
trap 'restore; rm -rf "$work"' EXIT
trap 'exit 130' INT TERM

survived=0 stale=0 unbuilt=0 built=() build_all=0
start=$SECONDS
for mutant in "${mutants[@]}"; do
    name=$(basename "$mutant" .mutant)
    file=$root/$(field "$mutant" file)
    read -ra tests <<<"$(field "$mutant" tests)"
    read -ra targets <<<"$(field "$mutant" targets)"
    ((${#targets[@]})) && built+=("${targets[@]}") || build_all=1
    began=$SECONDS
    cp "$file" "$work/original" 2>/dev/null || { echo "stale         $name (no $file)"; ((stale++)); continue; }
    target=$file
    if ! apply "$file" "$(field "$mutant" original)" "$(field "$mutant" mutant)"; then
        restore
        echo "stale         $name (original line not there exactly once)"
        ((stale++))
        continue
    fi
    if ! (cd "$build" && ctest -N "${tests[@]}" | grep -c '^ *Test *#' >/dev/null); then
        restore
        echo "stale         $name (no test matches: ${tests[*]})"
        ((stale++))
        continue
    fi
    if ! cmake --build "$build" -j2 ${targets[@]/#/--target } >"$work/build.log" 2>&1; then
        restore
        ((unbuilt++))
        echo "build failed  $name ($((SECONDS - began)) s; $(grep -m1 -i 'error' "$work/build.log"))"
        continue
    fi
    if (cd "$build" && timeout 900 ctest -j2 "${tests[@]}" >"$work/test.log" 2>&1); then
        echo "SURVIVED      $name ($((SECONDS - began)) s; ${tests[*]})"
        ((survived++))
    else
        failed=$(sed -n '/tests FAILED:/,$s/.* - \([^ ]*\) (\(.*\))$/\1 (\2)/p' "$work/test.log" | paste -sd' ')
        echo "killed        $name ($((SECONDS - began)) s; by ${failed:-a timeout})"
    fi
    restore
done

# Leaves no mutant compiled into the build.
((build_all)) && built=()
mapfile -t built < <(((${#built[@]})) && printf '%s\n' "${built[@]}" | sort -u)
cmake --build "$build" -j2 ${built[@]/#/--target } >"$work/build.log" 2>&1 ||
    echo "rebuilding from the real sources failed: see a build by hand" >&2
echo "${#mutants[@]} mutants: $((${#mutants[@]} - survived - stale - unbuilt)) killed," \
    "$survived survived, $stale stale, $unbuilt build failed ($((SECONDS - start)) s)"
((survived == 0 && stale == 0))
