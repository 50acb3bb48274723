#!/bin/bash
# Paired timing of two builds' high-speed joins on the same clips in memory: the old and the new build's
# runs alternate (which goes first swaps every round), so load that comes and goes falls on both alike.
#
#   bench/pair.sh OLD_BUILD NEW_BUILD [--bench merge|join] [--set NAME] [--rounds N] [--runs N] [--folder DIR]
#
# OLD_BUILD and NEW_BUILD are build folders. merge (default) times the library's join (bench_merge), join the
# program's merge driver (bench_join); --set names one of their clip sets (default 444p10-mp4); each round
# runs each build's program once with --runs joins (default 3, default 15 rounds). The clips are made in
# --folder (default /dev/shm/rs-bench, memory) by the new build's bench_merge when missing; every output is
# written there too (bench_join's through TMPDIR).
#
# Both programs must know --ours: for an older tree, copy this tree's bench/bench_merge.cpp and
# bench/bench_join.cpp into it before building them there.
#
# Prints for each build the median [min-max] of the wall time, the CPU time and the context switches of a
# join, then new/old of the median times and the median [min-max] of each round's new/old.
set -euo pipefail

usage() {
    sed -n 4p "$0" | sed 's/^# *//' >&2
    exit 2
}
[ $# -ge 2 ] || usage
old=$1 new=$2
shift 2
bench=merge set=444p10-mp4 rounds=15 runs=3 folder=/dev/shm/rs-bench
while [ $# -gt 0 ]; do
    case $1 in
    --bench) bench=$2 ;;
    --set) set=$2 ;;
    --rounds) rounds=$2 ;;
    --runs) runs=$2 ;;
    --folder) folder=$2 ;;
    *) usage ;;
    esac
    shift 2
done
[ "$bench" = merge ] || [ "$bench" = join ] || usage

mkdir -p "$folder"
"$new/bench/bench_merge" "$folder" --only none --runs 1 >/dev/null # makes the clips once
samples=$(mktemp)
trap 'rm -f "$samples"' EXIT

# One program run of build $2, its joins appended to the samples as "<side> <round> <seconds> <cpu> <switches>".
measure() {
    local side=$1 build=$2 round=$3 out
    out=$(TMPDIR=$folder "$build/bench/bench_$bench" "$folder" --only "$set" --runs "$runs" --ours 2>&1) || true
    if ! grep -q '^  run ' <<<"$out" || grep -q '^  run -1' <<<"$out"; then
        echo "$build/bench/bench_$bench gave no timed join (does it know --ours?):" >&2
        echo "$out" >&2
        exit 1
    fi
    awk -v s="$side" -v r="$round" '$1 == "run" { print s, r, $2, $4, $6 }' <<<"$out" >>"$samples"
}

echo "$(nproc) cores, load average at start: $(cut -d' ' -f1-3 /proc/loadavg)"
for ((r = 0; r < rounds; r++)); do
    if ((r % 2 == 0)); then
        measure old "$old" "$r"
        measure new "$new" "$r"
    else
        measure new "$new" "$r"
        measure old "$old" "$r"
    fi
done
echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"

# median [min-max] of the numbers on standard input
spread() {
    sort -g | awk -v f="$1" '{ v[NR] = $1 } END {
        m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
        printf f " [" f "-" f "]", m, v[1], v[NR] }'
}
median() { spread %.6f | cut -d' ' -f1; }

echo "bench_$bench $set, $rounds rounds of $runs joins per build, old and new alternating"
for side in old new; do
    dir=$old
    [ $side = new ] && dir=$new
    printf '  %s %-40s %s s, cpu %s s, switches %s\n' $side "$dir" \
        "$(awk -v s=$side '$1 == s { print $3 }' "$samples" | spread %.3f)" \
        "$(awk -v s=$side '$1 == s { print $4 }' "$samples" | spread %.3f)" \
        "$(awk -v s=$side '$1 == s { print $5 }' "$samples" | spread %.0f)"
done
o=$(awk '$1 == "old" { print $3 }' "$samples" | median)
n=$(awk '$1 == "new" { print $3 }' "$samples" | median)
echo "  new/old of the medians: $(awk -v o="$o" -v n="$n" 'BEGIN { printf "%.3f", n / o }')"
per_round=$(for ((r = 0; r < rounds; r++)); do
    o=$(awk -v r=$r '$1 == "old" && $2 == r { print $3 }' "$samples" | median)
    n=$(awk -v r=$r '$1 == "new" && $2 == r { print $3 }' "$samples" | median)
    awk -v o="$o" -v n="$n" 'BEGIN { print n / o }'
done | spread %.3f)
echo "  new/old of each round's medians: $per_round"
