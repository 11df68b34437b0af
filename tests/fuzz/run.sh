#!/usr/bin/env bash
# Runs every fuzz target of a fuzz-preset build under ASan and UBSan.
# First the seed generator's hostile inputs run one by one under the memory and time limits;
# then each target fuzzes from the generated seeds, the kept crashers, the kept corpus
# (tests/fuzz/corpus/<target>) and, for the MP3 targets, the peer corpus beside the checkout.
#
#   tests/fuzz/run.sh [build-dir] [runs-per-target]
#       What CI runs: a fixed seed and a fixed number of runs, and nothing learnt is kept, so
#       the same inputs run on every machine and the outcome depends on the code alone.
#   tests/fuzz/run.sh [build-dir] --explore SECONDS
#       What scripts/fuzz runs: random seeds for SECONDS per target. Inputs that reach new
#       code are merged into tests/fuzz/corpus/<target>/; a failing input is copied to
#       tests/fuzz/crashers/<target>/found-* (fix the fault, then give it a name that says why).
#
# Any crash, leak, timeout or over-allocation fails the run; its input is left in
# <build>/fuzz-run/artifacts/<target>/.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$root/build-fuzz}"
runs="${2:-}"
explore=""
if [ "$runs" = "--explore" ]; then
    explore="${3:?--explore needs a number of seconds}"
fi
runs="${runs:-20000}"
work="$build/fuzz-run"
peers="$root/../shared/corpus/peers"
kept="$root/tests/fuzz/corpus"
limits=(-rss_limit_mb=2048 -malloc_limit_mb=64 -timeout=10)

rm -rf "$work/seeds" "$work/artifacts" "$work/scratch"
"$build/tests/fuzz/velmora_fuzz_seeds" "$work/seeds"

failed=()
for target in csv mp3_load mp3_save regex rename settings xml_writer; do
    binary="$build/tests/fuzz/fuzz_$target"
    artifacts="$work/artifacts/$target"
    log="$work/$target.log"
    case "$target" in
        mp3_*) max_len=65536 ;;
        regex) max_len=2048 ;; # long patterns mostly buy slow compiles of counted repeats
        *) max_len=8192 ;;
    esac
    # New inputs go to the first folder: kept between explorations, thrown away in CI.
    if [ -n "$explore" ]; then
        found="$work/corpus/$target"
        mode=(-max_total_time="$explore")
    else
        found="$work/scratch/$target"
        mode=(-seed=1 -runs="$runs")
    fi
    mkdir -p "$artifacts" "$found" "$kept/$target"
    inputs=("$found" "$kept/$target" "$work/seeds/$target")
    [ -d "$root/tests/fuzz/crashers/$target" ] && inputs+=("$root/tests/fuzz/crashers/$target")
    [[ "$target" == mp3_* && -d "$peers" ]] && inputs+=("$peers")
    hostile=("$work/seeds/$target"/*)
    status=0
    {
        "$binary" "${limits[@]}" -artifact_prefix="$artifacts/" "${hostile[@]}" &&
            "$binary" "${limits[@]}" -max_len="$max_len" "${mode[@]}" -print_final_stats=1 \
                -artifact_prefix="$artifacts/" "${inputs[@]}"
    } >"$log" 2>&1 || status=$?
    executed="$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || true)"
    seed="$(grep -o 'Seed: [0-9]*' "$log" | tail -n 1 | grep -o '[0-9]*$' || true)"
    if [ -n "$explore" ]; then
        "$binary" "${limits[@]}" -max_len="$max_len" -merge=1 "$kept/$target" "$found" \
            >>"$log" 2>&1 || true
        for artifact in "$artifacts"/*; do
            [ -f "$artifact" ] || continue
            mkdir -p "$root/tests/fuzz/crashers/$target"
            cp "$artifact" "$root/tests/fuzz/crashers/$target/found-$(basename "$artifact")"
        done
    fi
    if [ "$status" -ne 0 ]; then
        echo "fuzz $target: FAILED (exit $status, seed ${seed:-?}); last lines of $log:"
        tail -n 40 "$log"
        failed+=("$target")
    else
        echo "fuzz $target: ${executed:-?} executions (seed ${seed:-?}), no crash"
    fi
done
if [ ${#failed[@]} -ne 0 ]; then
    echo "fuzz: failing targets: ${failed[*]}"
    exit 1
fi
