#!/usr/bin/env bash
# Runs fuzz targets for a bounded number of inputs each: run-fuzz.sh BUILD_DIR RUNS TARGET...
# (TARGET without its "fuzz_" prefix). Each starts from its committed seeds in tests/fuzz/corpus/
# (read only); the inputs it adds go to BUILD_DIR/fuzz/corpus/, an input that breaks a property or
# trips a sanitizer to BUILD_DIR/fuzz/artifacts/, its whole output to BUILD_DIR/fuzz/TARGET.log.
set -euo pipefail

build_dir=$(cd "$1" && pwd)
runs=$2
shift 2
root=$(cd "$(dirname "$0")/.." && pwd)
out="$build_dir/fuzz"
mkdir -p "$out/artifacts"

# The picture targets write a file per input: on tmpfs that costs no disk.
scratch=$(mktemp -d "${FUZZ_TMPDIR:-$( [ -d /dev/shm ] && echo /dev/shm || echo /tmp )}/tqwall-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
export TMPDIR="$scratch"
export QT_QPA_PLATFORM=offscreen
# Short allocation stacks and a small quarantine keep a million runs fast and the memory flat.
export ASAN_OPTIONS=malloc_context_size=8:quarantine_size_mb=32:detect_leaks=1
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

status=0
for target in "$@"; do
    corpus="$out/corpus/$target"
    log="$out/$target.log"
    mkdir -p "$corpus"
    args=(-runs="$runs" -timeout=60 -print_final_stats=1 -artifact_prefix="$out/artifacts/$target-")
    dict="$root/tests/fuzz/dict/$target.dict"
    [ -f "$dict" ] && args+=(-dict="$dict")
    echo "fuzz_$target: $runs runs (log: $log)"
    if "$build_dir/bin/fuzz_$target" "${args[@]}" "$corpus" "$root/tests/fuzz/corpus/$target" >"$log" 2>&1; then
        grep -E '^Done [0-9]+ runs|stat::number_of_executed_units|stat::peak_rss_mb' "$log" | sed 's/^/    /'
    else
        echo "fuzz_$target FAILED; the end of its log:"
        tail -n 40 "$log"
        status=1
    fi
done
exit $status
