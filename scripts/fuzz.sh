#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets of fuzz/ with clang (AddressSanitizer and UndefinedBehavior-
# Sanitizer on every library) into build-fuzz/, writes their seed corpora with the project's
# own writers, and runs each target for a bounded time from them and from the committed corpus
# of fuzz/corpus/, two at a time. Prints the inputs run
# per target; fails when a target finds a crash, a leak, a hang or runs out of memory (the
# input is kept in build-fuzz/crashes/).
#   FUZZ_SECONDS  seconds per target (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${FUZZ_SECONDS:-60}"
# The fuzz preset's build folder (CMakePresets.json).
build=build-fuzz

cmake --preset fuzz > /dev/null
cmake --build "$build" --parallel "$(nproc)" --target fuzz

rm -rf "$build/seeds"
mkdir -p "$build/corpus" "$build/crashes" "$build/logs"
"$build/bin/vellumstack-fuzz-seeds" "$build/seeds"

targets=(textcode rtfreader linereader settingsfile tagbracketing searchstep)
run() {
    local target=$1 max_len=4096
    # Deep group nesting needs long documents.
    [ "$target" = rtfreader ] && max_len=65536
    mkdir -p "$build/corpus/$target"
    # New inputs go to build-fuzz/corpus; the committed corpus (fuzz/corpus, minimised
    # with -merge=1, and every input that once found a fault) and the seeds are read only.
    local corpora=("$build/seeds/fuzz_$target")
    [ -d "fuzz/corpus/$target" ] && corpora+=("fuzz/corpus/$target")
    "$build/bin/fuzz_$target" "$build/corpus/$target" "${corpora[@]}" \
        -max_total_time="$seconds" -max_len="$max_len" -timeout=30 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$build/crashes/$target-" \
        > "$build/logs/$target.log" 2>&1
}

pids=()
status=0
for target in "${targets[@]}"; do
    run "$target" &
    pids+=($!)
    # Two targets at a time.
    if [ ${#pids[@]} -eq 2 ]; then
        wait "${pids[0]}" || status=1
        pids=("${pids[1]}")
    fi
done
for pid in "${pids[@]}"; do wait "$pid" || status=1; done

printf '%-14s %12s %10s %8s  %s\n' target inputs corpus cover result
for target in "${targets[@]}"; do
    log="$build/logs/$target.log"
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    corpus=$(ls "$build/corpus/$target" | wc -l)
    cover=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
    result=clean
    if grep -qE '^==[0-9]+==ERROR|^SUMMARY|Test unit written' "$log"; then
        result="FAILED (see $log)"
    fi
    printf '%-14s %12s %10s %8s  %s\n' "$target" "${runs:-?}" "$corpus" "${cover:-?}" "$result"
done
exit $status
