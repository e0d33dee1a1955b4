#!/bin/sh
# Transfer benchmark: 1,000 and 10,000 commands against the headless korvant-sim
# on a private session bus, the transfer keeping its report; then the report
# window with 10,000 rows (offscreen). Usage: tools/bench-transfer.sh [BUILD_FOLDER]
set -eu
cd "$(dirname "$0")/.."
build=${1:-build/default}
cmake --build "$build" --target korvant-sim korvant-sim-generate bench_transfer bench_report_window >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for count in 1000 10000; do
    "$build/korvant-sim/korvant-sim-generate" "$count" "$work/program-$count.json"
done
export BUILD="$build" WORK="$work"
dbus-run-session -- sh -c '
    for count in 1000 10000; do
        echo "== $count Befehle"
        "$BUILD/korvant-sim/korvant-sim" --headless "$WORK/program-$count.json" &
        sim=$!
        "$BUILD/tests/transfer/bench_transfer" "$WORK/program-$count.json" || echo "Nachrichtenzahl weicht ab"
        kill "$sim"; wait "$sim" || true
    done' 2>&1 | grep -v "Failed to set fd limit"
echo "== Berichtsfenster"
QT_QPA_PLATFORM=offscreen "$build/tests/transfer/bench_report_window" 10000 2>&1 | grep -v "propagateSizeHints"
