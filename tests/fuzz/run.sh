#!/usr/bin/env bash
# Runs every fuzz target of a fuzz-preset build for a fixed time under ASan and UBSan.
# First the seed generator's hostile inputs run one by one under the memory and time
# limits; then each target fuzzes from the generated seeds, the kept crashers and (for the
# MP3 targets) the peer corpus beside the checkout. Any crash, leak, timeout or
# over-allocation fails the run; its input is left in <build>/fuzz-run/artifacts/<target>/
# (copy it to tests/fuzz/crashers/<target>/ once the fault is fixed).
# Usage: tests/fuzz/run.sh [build-dir] [seconds-per-target]
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$root/build-fuzz}"
seconds="${2:-20}"
work="$build/fuzz-run"
peers="$root/../shared/corpus/peers"
limits=(-rss_limit_mb=2048 -malloc_limit_mb=64 -timeout=10)

rm -rf "$work/seeds" "$work/artifacts"
"$build/tests/fuzz/velmora_fuzz_seeds" "$work/seeds"

failed=()
for target in mp3_load mp3_save regex rename settings xml_writer; do
    binary="$build/tests/fuzz/fuzz_$target"
    artifacts="$work/artifacts/$target"
    corpus="$work/corpus/$target"
    log="$work/$target.log"
    mkdir -p "$artifacts" "$corpus"
    inputs=("$corpus" "$work/seeds/$target")
    [ -d "$root/tests/fuzz/crashers/$target" ] && inputs+=("$root/tests/fuzz/crashers/$target")
    max_len=8192
    case "$target" in
        mp3_*)
            max_len=65536
            [ -d "$peers" ] && inputs+=("$peers")
            ;;
        regex) max_len=2048 ;; # long patterns mostly buy slow compiles of counted repeats
    esac
    hostile=("$work/seeds/$target"/*)
    status=0
    {
        "$binary" "${limits[@]}" -artifact_prefix="$artifacts/" "${hostile[@]}" &&
            "$binary" "${limits[@]}" -max_len="$max_len" -max_total_time="$seconds" \
                -print_final_stats=1 -artifact_prefix="$artifacts/" "${inputs[@]}"
    } >"$log" 2>&1 || status=$?
    runs="$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || true)"
    if [ "$status" -ne 0 ]; then
        echo "fuzz $target: FAILED (exit $status); last lines of $log:"
        tail -n 40 "$log"
        failed+=("$target")
    else
        echo "fuzz $target: ${runs:-?} executions in ${seconds}s, no crash"
    fi
done
if [ ${#failed[@]} -ne 0 ]; then
    echo "fuzz: failing targets: ${failed[*]}"
    exit 1
fi
