#!/usr/bin/env bash
# Runs each libFuzzer target of fuzz/ for ZANTRO_FUZZ_SECONDS (default 30)
# on its corpus in fuzz/corpus/, two at a time, in the sanitizer build that
# test.sh makes (built here when it is missing). New inputs go to
# <build>/fuzz/work/<target>/, and so does an input that breaks a target.
# Exits 1 when a target finds a crash, a leak, a broken invariant or a slow
# input.
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

SECONDS_EACH="${ZANTRO_FUZZ_SECONDS:-30}"
install_packages "${RUN_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
configure_sanitize
targets=()
for corpus in "$ROOT"/fuzz/corpus/*/; do
    targets+=("$(basename "$corpus")")
done
cmake --build "$SANITIZE_DIR" -j2 --target "${targets[@]}"

fuzz_one() {
    local target="$1"
    local work="$SANITIZE_DIR/fuzz/work/$target"
    rm -rf "$work"
    mkdir -p "$work"
    if "$SANITIZE_DIR/fuzz/$target" -max_total_time="$SECONDS_EACH" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$work/" "$work" "$ROOT/fuzz/corpus/$target" \
        >"$work.log" 2>&1; then
        echo "fuzz $target: passed ${SECONDS_EACH} s, $(ls "$work" | wc -l) new inputs"
    else
        cat "$work.log"
        echo "fuzz $target: FAILED; the input is kept in $work" >&2
        return 1
    fi
}
export -f fuzz_one
export SANITIZE_DIR ROOT SECONDS_EACH
printf '%s\n' "${targets[@]}" | xargs -P 2 -I{} bash -c 'fuzz_one {}'
