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
shopt -s nullglob
root="$(cd "$(dirname "$0")/../.." && pwd)"
fuzz="$root/tests/fuzz"
build="${1:-$root/build-fuzz}"
work="$build/fuzz-run"
peers="$root/../shared/corpus/peers"
# New inputs go to the first folder: kept between explorations, thrown away in CI.
found="$work/scratch"
mode=(-seed=1 -runs="${2:-20000}")
if [ "${2:-}" = "--explore" ]; then
    found="$work/corpus"
    mode=(-max_total_time="${3:?--explore needs a number of seconds}")
fi

rm -rf "$work/seeds" "$work/artifacts" "$work/scratch"
"$build/tests/fuzz/velmora_fuzz_seeds" "$work/seeds"
# Long regex patterns mostly buy slow compiles of counted repeats.
declare -A max_lens=([mp3_load]=65536 [mp3_save]=65536 [regex]=2048)
failed=()
for target in csv mp3_load mp3_save regex rename settings xml_writer; do
    max_len="${max_lens[$target]:-8192}"
    artifacts="$work/artifacts/$target"
    mkdir -p "$artifacts" "$found/$target" "$fuzz/corpus/$target" "$fuzz/crashers/$target"
    inputs=("$found/$target" "$fuzz/corpus/$target" "$work/seeds/$target"
            "$fuzz/crashers/$target")
    [[ "$target" == mp3_* && -d "$peers" ]] && inputs+=("$peers")
    run=("$build/tests/fuzz/fuzz_$target" -rss_limit_mb=2048 -malloc_limit_mb=64 -timeout=10
         -artifact_prefix="$artifacts/")
    log="$work/$target.log"
    if "${run[@]}" "$work/seeds/$target"/* >"$log" 2>&1 &&
        "${run[@]}" -max_len="$max_len" "${mode[@]}" -print_final_stats=1 "${inputs[@]}" \
            >>"$log" 2>&1; then
        echo "fuzz $target: no crash ($(grep -o 'Seed: [0-9]*' "$log" | tail -n 1)," \
             "$(grep -o 'executed_units: *[0-9]*' "$log"))"
    else
        echo "fuzz $target: FAILED ($(grep -o 'Seed: [0-9]*' "$log" | tail -n 1)); end of $log:"
        tail -n 40 "$log"
        failed+=("$target")
    fi
    if [ "${2:-}" = "--explore" ]; then
        "${run[@]}" -max_len="$max_len" -merge=1 "$fuzz/corpus/$target" "$found/$target" \
            >>"$log" 2>&1 || true
        for artifact in "$artifacts"/*; do
            cp "$artifact" "$fuzz/crashers/$target/found-$(basename "$artifact")"
        done
    fi
done
[ ${#failed[@]} -eq 0 ] || { echo "fuzz: failing targets: ${failed[*]}"; exit 1; }
