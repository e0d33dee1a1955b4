#!/usr/bin/env bash
# Start-up benchmark: the time from process start to the main window
# "Dalmerin Version <version>" being mapped on the X display, with "Start" = "0",
# against the smallest Qt Widgets program showing one empty window. Both run
# alternately on one private Xvfb display; the window is seen from outside,
# by a watcher on the root window (dalmerin-window-timer), so the program
# runs unchanged. Prints both medians and their ratio (goal: at most 1.25).
# Usage: tools/bench-startup.sh [RUNS] [BUILD_FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-25}
build=${2:-build/default}
# The version as project() in CMakeLists.txt gives it, the one place it is written.
export BENCH_TITLE="Dalmerin Version $(sed -n 's/^project(Dalmerin VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
[ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target dalmerin dalmerin-window-timer dalmerin-empty-window >/dev/null

work=$(mktemp -d)
xvfb=""
cleanup() {
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

source tools/private-display.sh
start_private_display || { echo "Xvfb startet nicht"; exit 1; }

# Settings of their own: "Start" = "0", so the splash window closes at its first tick.
export XDG_CONFIG_HOME=$work/config
mkdir -p "$XDG_CONFIG_HOME"
printf '[Settings]\nStart=0\n' >"$XDG_CONFIG_HOME/KORVANT_Dalmerin.conf"
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=xcb

# As on a desktop, a session bus runs (Qt's accessibility bridge asks it at the
# first label). One warm-up run each fills the file cache; then the two alternate.
export BENCH_RUNS=$runs BENCH_WORK=$work BENCH_TIMER=$build/tools/startup/dalmerin-window-timer
export BENCH_DALMERIN=$build/app/dalmerin BENCH_EMPTY=$build/tools/startup/dalmerin-empty-window
dbus-run-session -- sh -c '
    measure() { "$BENCH_TIMER" "$1" 20000 "$2" >>"$3"; }
    measure "$BENCH_TITLE" "$BENCH_DALMERIN" /dev/null
    measure "Leeres Fenster" "$BENCH_EMPTY" /dev/null
    for _ in $(seq "$BENCH_RUNS"); do
        measure "$BENCH_TITLE" "$BENCH_DALMERIN" "$BENCH_WORK/dalmerin.ms"
        measure "Leeres Fenster" "$BENCH_EMPTY" "$BENCH_WORK/empty.ms"
    done' 2>&1 | grep -v -e "Failed to set fd limit" -e "^$" || true

median() { sort -n "$1" | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
dalmerin=$(median "$work/dalmerin.ms")
empty=$(median "$work/empty.ms")
ratio=$(awk -v a="$dalmerin" -v b="$empty" 'BEGIN { printf "%.2f", a / b }')
echo "Start bis Hauptfenster, Median aus $runs Läufen:"
echo "  Dalmerin:        $dalmerin ms"
echo "  Leeres Fenster:  $empty ms"
echo "  Verhältnis:      $ratio (Ziel: höchstens 1.25)"
awk -v r="$ratio" 'BEGIN { exit !(r <= 1.25) }' || { echo "Ziel verfehlt"; exit 1; }
