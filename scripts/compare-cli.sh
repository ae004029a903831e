#!/usr/bin/env bash
# Usage: scripts/compare-cli.sh OLD_CLI NEW_CLI
#
# Runs two zantro-cli builds over every filter type, design method, window
# and scaling mode (odd and even taps, with and without x/sin(x)), every
# target filter, Extras > Window, the dialogs' answers and every Make File
# format, and compares what they print: the JSON object without
# design_seconds, the messages on stderr, the exit status and the bytes of
# the files Make File writes. Prints each difference and exits 1 when there
# is one. Needs Debian's python3. ZANTRO_COMPARE_IGNORE names further JSON
# keys to leave out (keys a newer build adds, such as "analysis").
#
# scripts/compare-cli.sh --list-cases FOLDER writes the points files into
# FOLDER and prints the runs' arguments, one run a line, without running
# anything (scripts/compare_python.py runs the same cases).
set -uo pipefail

LIST_ONLY=""
if [ $# -eq 2 ] && [ "$1" = "--list-cases" ]; then
    LIST_ONLY=1
    WORK="$(realpath "$2")"
elif [ $# -ne 2 ]; then
    echo "usage: $0 OLD_CLI NEW_CLI" >&2
    echo "       $0 --list-cases FOLDER" >&2
    exit 2
else
    OLD="$(realpath "$1")"
    NEW="$(realpath "$2")"
    export OLD NEW
    WORK="$(mktemp -d)"
    trap 'rm -rf "$WORK"' EXIT
fi
export WORK

# Frequency sampling points: an odd and an even count.
printf '%s\n' 1 1 1 1 1 0.9 0.5 0.1 0 0 0 0 0 0 0 0 0 > "$WORK/points17.txt"
printf '%s\n' 0 0 0.2 0.7 1 1 1 1 1 0.7 0.2 0 0 0 0 0 0 0 0 0 0 0 0 0 > "$WORK/points24.txt"

cases="$WORK/cases"
{
    for type in 0 1 2 3 4 5 6 7 8; do
        for method in 0 1 2 3; do
            for window in 0 1 2 3 4 5; do
                for scaling in 0 1 2 3; do
                    for taps in 31 32; do
                        input=""
                        [ "$method" = 1 ] && input="--input $WORK/points$([ "$taps" = 31 ] && echo 17 || echo 24).txt"
                        echo "--type $type --method $method --window $window --scaling $scaling --scale 2.5 --taps $taps --fs 8000 --f1 1000 --f2 2500 $input"
                    done
                done
                echo "--type $type --method $method --window $window --scaling 1 --sinx --taps 45 --fs 8000 --f1 900 --f2 3000 --input $WORK/points17.txt"
                echo "--type $type --method $method --window $window --scaling 2 --sinx --taps 46 --fs 44100 --f1 5000 --f2 9000 --input $WORK/points24.txt"
            done
        done
    done
    for preset in 0 1 2 3 4 5 6 7 8 9 10; do
        echo "--preset $preset"
        echo "--preset $preset --sinx --scaling 1"
        echo "--preset $preset --window-only"
    done
    for window in 0 1 2 3 4 5; do
        for taps in 4 5 63 64 1024 1025; do
            echo "--window $window --taps $taps --window-only"
        done
    done
    for beta in 0 0.5 5.44 8.6 20 20.01; do
        echo "--window kaiser --beta $beta --taps 63"
        echo "--window kaiser --beta $beta --taps 64 --window-only"
    done
    for att in 9 10 40 60 100 101; do
        echo "--window chebyshev --att $att --taps 63"
        echo "--window chebyshev --att $att --taps 64 --window-only"
    done
    for gain in pi pi/2 1 0.1 2.5 10 11; do
        echo "--type differentiator --gain $gain --taps 63"
        echo "--type differentiator --method remez --gain $gain --taps 64"
    done
    for sigma in 0.1 0.5 1 3 3.1; do
        echo "--type gaussian --method direct --sigma $sigma --taps 63"
    done
    echo "--type bandpass --method remez --band 0:800:0:1 --band 1000:2000:1:1 --band 2200:4000:0:10 --grid 32 --taps 65"
    echo "--type lowpass --method remez --band 0:1000:1:1 --band 1500:4000:0:1 --grid 8 --taps 128"
    echo "--type differentiator --method remez --taps 128"
    echo "--type hilbert --method remez --taps 129"
    echo "--taps 2000"
    echo "--taps 3"
    echo "--f1 5000"
    echo "--type bandpass --f1 3000 --f2 1000"
    echo "--scaling custom --scale 20"
    echo "--scaling custom --scale 0.05"
    echo "--scaling 1 --f1 20"
    echo "--scaling 1 --f1 0"
    echo "--method fsamp"
} > "$cases"

# Make File: every format and extension for a few designs; files compared byte for byte.
makes="$WORK/makes"
{
    for design in "--taps 63" "--type bandpass --taps 64 --window kaiser --scaling 1" \
                  "--type differentiator --taps 31 --scaling 2" "--window-only --window chebyshev --taps 33"; do
        for ext in c cpp; do
            for format in q7 q15 q31 float double; do
                echo "$design --make coef --ext $ext --format $format"
            done
        done
    done
} > "$makes"

if [ -n "$LIST_ONLY" ]; then
    cat "$cases" "$makes"
    exit 0
fi

# One case: both programs in fresh folders; differences go to stdout.
run_case() {
    local n="$1"
    shift
    local args="$*"
    local side
    for side in old new; do
        local dir="$WORK/$side$n"
        mkdir -p "$dir"
        local cli="$OLD"
        [ "$side" = new ] && cli="$NEW"
        # shellcheck disable=SC2086
        (cd "$dir" && "$cli" $args --json > out.json 2> err.txt; echo $? > status.txt)
        # Messages that name the files written name them in this side's folder.
        sed -i "s|$dir|CASE|g" "$dir/err.txt"
        # Every double read and written back in its shortest exact form.
        /usr/bin/python3 -c 'import json, sys
d = json.load(open(sys.argv[1]))
for key in ["design_seconds"] + sys.argv[2:]:
    d.pop(key, None)
print(json.dumps(d, sort_keys=True, indent=0))' "$dir/out.json" ${ZANTRO_COMPARE_IGNORE:-} > "$dir/norm.json" 2> /dev/null ||
            cp "$dir/out.json" "$dir/norm.json"
    done
    local a="$WORK/old$n" b="$WORK/new$n" f
    for f in norm.json err.txt status.txt; do
        if ! cmp -s "$a/$f" "$b/$f"; then
            echo "DIFFERENT $f: $args"
            diff <(head -c 2000 "$a/$f") <(head -c 2000 "$b/$f") | head -20
        fi
    done
    for f in "$a"/coef.*; do
        [ -e "$f" ] || continue
        if ! cmp -s "$f" "$b/$(basename "$f")"; then
            echo "DIFFERENT $(basename "$f"): $args"
        fi
    done
    if [ -e "$b/coef.h" ] && [ ! -e "$a/coef.h" ]; then
        echo "DIFFERENT files written: $args"
    fi
    rm -rf "$a" "$b"
}
export -f run_case

count=$(cat "$cases" "$makes" | wc -l)
cat "$cases" "$makes" | awk '{ print NR " " $0 }' |
    xargs -P 2 -L 1 bash -c 'run_case "$@"' _ > "$WORK/report"
if [ -s "$WORK/report" ]; then
    cat "$WORK/report"
    echo "$(grep -c '^DIFFERENT' "$WORK/report") differences in $count runs" >&2
    exit 1
fi
echo "identical: $count runs (JSON without design_seconds, stderr, exit status, Make File files)"
