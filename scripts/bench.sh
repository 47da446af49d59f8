#!/usr/bin/env bash
# Deletion benchmark under Wine (real registry implementation): deletes the same
# product tree with DeleteKeyTree (the sweep), with the platform's RegDeleteTreeW, and
# with `reg delete /f`, at several sizes and two shapes (wide: every key right below
# the product key; deep: chains of 50 levels), alternating the contenders, and prints
#  - the median milliseconds per 1,000 keys over the repetitions (wall time under Wine
#    varies by 30 to 50 percent between runs on shared machines), and
#  - the registry server requests per key: the requests of the deleting thread in a
#    WINEDEBUG=+server trace of a fresh wineserver, minus the same run on a tree of
#    the product key alone, divided by the keys beyond it. Unlike time, this count
#    repeats exactly. (A run with no key at all is no baseline for reg: it takes an
#    error path that costs more requests than a small deletion.)
# TAVIX_BENCH_SIZES (default "1000 10000 50000") and TAVIX_BENCH_REPS (default 5 up to
# 1,000 keys, 3 above) change the grid. Takes about 20 minutes with the defaults.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target delete_bench -j "$(nproc)" >/dev/null

out="$root/build/bench"
mkdir -p "$out"
export WINEPREFIX="$out/prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then wineboot -i >/dev/null 2>&1; fi
wineserver -w

bench="$root/build/windows/delete_bench.exe"
key='HKCU\Software\TavixDelRegBench\Tavix'
sizes=${TAVIX_BENCH_SIZES:-"1000 10000 50000"}
contenders=(sweep tree reg)
trace="$out/trace.txt"

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# Milliseconds one contender takes to delete the tree that is there now.
delete_ms() {
    local contender=$1 line start
    case $contender in
        sweep | tree)
            line=$(wine "$bench" delete "$contender" | tr -d "\r")
            [[ $line == *"result 1" ]] || { echo "bench: $contender did not delete the tree: $line" >&2; exit 1; }
            awk '{print $4}' <<<"$line"
            ;;
        reg)
            start=$(now_ms)
            wine reg delete "$key" /f >/dev/null
            echo $(($(now_ms) - start - reg_startup_ms))
            ;;
    esac
}

# Requests of the deleting thread with a fresh server tracing them.
delete_requests() {
    local contender=$1 tid
    wineserver -w
    case $contender in
        sweep | tree)
            tid=$(WINEDEBUG=+server wine "$bench" delete "$contender" 2>"$trace" | tr -d "\r" | awk '{print $2}')
            ;;
        reg)
            WINEDEBUG=+server wine reg delete "$key" /f >/dev/null 2>"$trace" || true
            # reg's deleting thread: the one that opens the benchmark's key (Wine's own
            # services delete keys of their own at start-up too).
            tid=$(grep -E '^[0-9a-f]{4}: open_key\( .*TavixDelRegBench' "$trace" | awk -F: 'NR==1 {print $1}')
            ;;
    esac
    wineserver -w
    grep -cE "^$tid: [a-z0-9_]+\\( " "$trace"
    rm -f "$trace"
}

median() { sort -n | awk '{v[NR]=$1} END {print (NR % 2) ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'; }

# What `reg` takes to delete the product key alone, to take its process start out of
# its time.
reg_startup_ms=0
samples=()
for _ in 1 2 3 4 5; do
    wine "$bench" build wide 1
    start=$(now_ms)
    wine reg delete "$key" /f >/dev/null
    samples+=($(($(now_ms) - start)))
done
reg_startup_ms=$(printf '%s\n' "${samples[@]}" | median)

declare -A baseline
for contender in "${contenders[@]}"; do
    wine "$bench" build wide 1
    baseline[$contender]=$(delete_requests "$contender")
done

results="$out/results.md"
{
    echo "Machine: $(. /etc/os-release && echo "$PRETTY_NAME"), $(nproc) cores, $(lscpu | sed -n 's/^Model name: *//p'), $(free -g | awk '/Mem:/ {print $2}') GiB;" \
        "$(wine --version); $(date -u +%Y-%m-%d)."
    echo
    echo "| keys | shape | contender | median ms per 1,000 keys | runs | server requests per key |"
    echo "|---:|---|---|---:|---:|---:|"
} >"$results"

for n in $sizes; do
    reps=${TAVIX_BENCH_REPS:-$([ "$n" -le 1000 ] && echo 5 || echo 3)}
    for shape in wide deep; do
        declare -A times=()
        for ((rep = 0; rep < reps; rep++)); do
            # Alternate the order, so no contender always runs first.
            for ((i = 0; i < ${#contenders[@]}; i++)); do
                contender=${contenders[$(((i + rep) % ${#contenders[@]}))]}
                wine "$bench" build "$shape" "$n"
                times[$contender]+="$(delete_ms "$contender") "
            done
        done
        for contender in "${contenders[@]}"; do
            wine "$bench" build "$shape" "$n"
            requests=$(delete_requests "$contender")
            per_key=$(awk -v r="$requests" -v b="${baseline[$contender]}" -v n="$n" 'BEGIN {printf "%.2f", (r - b) / (n - 1)}')
            ms=$(tr ' ' '\n' <<<"${times[$contender]}" | grep . | median)
            per_1000=$(awk -v m="$ms" -v n="$n" 'BEGIN {printf "%.0f", m * 1000 / n}')
            name=$(case $contender in sweep) echo DeleteKeyTree ;; tree) echo RegDeleteTreeW ;; reg) echo "reg delete /f" ;; esac)
            echo "| $n | $shape | $name | $per_1000 | $reps | $per_key |" | tee -a "$results"
        done
    done
done
echo
cat "$results"
