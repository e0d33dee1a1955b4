#!/usr/bin/env bash
# COM transfer benchmark under Wine (null driver): part programs of 1,000 and
# 10,000 commands transferred into the stand-in COM host, by Dalmerin's
# transfer and COM adapter and by a bare client that makes the same calls with
# plain IDispatch::Invoke, in turns (Dalmerin, bare, Dalmerin, bare, ...), each
# run a process of its own with a fresh stand-in. Prints per size the medians,
# the median of the pairs' ratios, the host calls per second and the peak
# memory of both. A benchmark: it prints figures and asserts nothing about time.
# Usage: tools/bench-transfer-com.sh [ROUNDS [COMMANDS...]] (3 rounds of 1,000 and
# of 10,000 commands by default)
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/wine-prefix.sh
rounds=${1:-3}
sizes=("${@:2}")
[ ${#sizes[@]} -gt 0 ] || sizes=(1000 10000)

DALMERIN_QT_MINGW=$(tools/build-qt-mingw.sh)
export DALMERIN_QT_MINGW
build=$PWD/build/windows
cmake --preset windows >/dev/null
cmake --build --preset windows --target bench_transfer_com korvant-sim-com >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"; "$WINESERVER" -k 2>/dev/null || true' EXIT
wineprefix::fresh "$build/bench-prefix" null
"$WINE" "$build/korvant-sim/com/korvant-sim-com.exe" --register

run() { "$WINE" "$build/tests/windows/bench_transfer_com.exe" "$1" "$2" | tr -d '\r' | tail -n 1 >>"$work/$1-$2"; }
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
column() { awk -v c="$2" '{ print $c }' "$work/$1"; }

for count in "${sizes[@]}"; do
    for _ in $(seq "$rounds"); do
        run dalmerin "$count"
        run bare "$count"
    done
    ratios=$(paste <(column "dalmerin-$count" 3) <(column "bare-$count" 3) | awk '{ printf "%.3f\n", $1 / $2 }')
    echo "== $count Befehle, $rounds Runden abwechselnd"
    for mode in dalmerin bare; do
        ms=$(column "$mode-$count" 3 | median)
        calls=$(column "$mode-$count" 4 | head -n 1)
        written=$(column "$mode-$count" 6 | sort -u | tr '\n' ' ')
        label=$([ "$mode" = dalmerin ] && echo "Dalmerin" || echo "bloßer Client")
        printf '%-14s Median %8.1f ms, %s Aufrufe, %.0f Aufrufe/s, Spitzenspeicher %s KiB, geschriebene Maße %s\n' \
            "$label:" "$ms" "$calls" "$(awk -v c="$calls" -v m="$ms" 'BEGIN { print c / m * 1000 }')" \
            "$(column "$mode-$count" 5 | median)" "$written"
    done
    echo "Verhältnis Dalmerin/bloß: $(median <<<"$ratios") (Median der Runden: $(tr '\n' ' ' <<<"$ratios"))"
done
