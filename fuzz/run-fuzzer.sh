#!/bin/sh
# Usage: run-fuzzer.sh FUZZER SEED_CORPUS RUNS [libFuzzer options...]
# Runs FUZZER over the seed corpus and then for RUNS inputs of its own, always from the same
# random seed, so that a run is repeatable. New inputs go to a scratch folder, never into the
# seed corpus; an input that fails is left beside the fuzzer as crash-*, leak-* or timeout-*.
fuzzer=$1 corpus=$2 runs=$3
shift 3
scratch=$(mktemp -d) || exit 1
trap 'rm -rf "$scratch"' EXIT
ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0} UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1} \
    "$fuzzer" -runs="$runs" -seed=1 -timeout=10 -rss_limit_mb=4096 \
    -artifact_prefix="$(dirname "$fuzzer")/" "$@" "$scratch" "$corpus"
