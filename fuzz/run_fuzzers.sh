#!/bin/bash
# Runs every fuzzing program of build-fuzz/fuzz for SECONDS each, starting
# from its seeds in fuzz/corpus/<program>/, and prints its executions a
# second and in all. With CORPUS_ROOT, what a program finds is kept in
# CORPUS_ROOT/<program>/ for the next run; without, it goes to a fresh
# directory that is removed afterwards, so that a run tries the seeds and
# their neighbours only. Stops at the first program that fails, after its
# last output lines; the input that failed is left in build-fuzz/.
#
# Usage: fuzz/run_fuzzers.sh SECONDS [CORPUS_ROOT]   (from the repository)

set -u
seconds=$1
corpus_root=${2:-}

for program in build-fuzz/fuzz/fuzz_*; do
    name=$(basename "$program")
    if [ -n "$corpus_root" ]; then
        corpus=$corpus_root/$name
        mkdir -p "$corpus"
    else
        corpus=$(mktemp -d)
    fi
    seeds=
    [ -d "fuzz/corpus/$name" ] && seeds=fuzz/corpus/$name
    log=$(mktemp)
    "$program" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix=build-fuzz/ \
        "$corpus" $seeds >"$log" 2>&1
    status=$?
    [ -z "$corpus_root" ] && rm -rf "$corpus"
    if [ $status -ne 0 ]; then
        tail -n 60 "$log"
        rm -f "$log"
        echo "FAIL: $name"
        exit 1
    fi
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    rm -f "$log"
    printf '%-18s %8s exec/s %11s executions\n' "$name" "$rate" "$runs"
done
