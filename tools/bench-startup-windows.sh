#!/usr/bin/env bash
# Start-up benchmark of the Windows program under Wine (null driver): the time
# from process start to the main window "Dalmerin Version <version>" being
# visible, with "Start" = "0", against the smallest Qt main window built with
# the same Qt (an empty window with a menu bar), and against that window shown
# after an empty start window, as Dalmerin must start; they run in turns, the
# window is seen from outside (dalmerin-window-timer.exe). Then Dalmerin's own
# start steps, timed one by one (dalmerin-startup-phases.exe). Prints the
# medians, their ratio and the median of each step. A benchmark: it asserts
# nothing about time. Usage: tools/bench-startup-windows.sh [RUNS] (10 by default)
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/wine-prefix.sh
runs=${1:-10}
title="Dalmerin Version $(sed -n 's/^project(Dalmerin VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"

DALMERIN_QT_MINGW=$(tools/build-qt-mingw.sh)
export DALMERIN_QT_MINGW
build=$PWD/build/windows
cmake --preset windows >/dev/null
cmake --build --preset windows --target dalmerin dalmerin-window-timer dalmerin-empty-window \
    dalmerin-startup-phases >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"; "$WINESERVER" -k 2>/dev/null || true' EXIT
wineprefix::fresh "$build/startup-prefix" null
"$WINE" reg add 'HKCU\Software\KORVANT_Dalmerin\Settings' /v Start /d 0 /f >/dev/null

timer=$build/tools/startup/dalmerin-window-timer.exe
emptyWindow=$build/tools/startup/dalmerin-empty-window.exe
measure() { "$WINE" "$timer" "$2" 20000 "${@:3}" | tr -d '\r' >>"$1"; }
# One warm-up run each fills the file cache and starts the Wine server's services.
measure /dev/null "$title" "$build/app/dalmerin.exe"
measure /dev/null "Leeres Fenster" "$emptyWindow"
for _ in $(seq "$runs"); do
    measure "$work/dalmerin.ms" "$title" "$build/app/dalmerin.exe"
    measure "$work/empty.ms" "Leeres Fenster" "$emptyWindow"
    measure "$work/empty-start.ms" "Leeres Fenster" "$emptyWindow" --start-window
done
for _ in $(seq "$runs"); do
    "$WINE" "$build/tools/startup/dalmerin-startup-phases.exe" | tr -d '\r' >>"$work/phases"
done

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
dalmerin=$(median <"$work/dalmerin.ms")
empty=$(median <"$work/empty.ms")
emptyStart=$(median <"$work/empty-start.ms")
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
echo "Start bis Hauptfenster unter Wine, Median aus $runs Läufen im Wechsel:"
echo "  Dalmerin:        $dalmerin ms"
echo "  Leeres Fenster:  $empty ms (leeres Hauptfenster mit Menüleiste, dasselbe Qt)"
echo "  Verhältnis:      $(ratio "$dalmerin" "$empty") (Ziel: höchstens 1.10)"
echo "  Leeres Fenster mit Startfenster davor: $emptyStart ms, Verhältnis $(ratio "$dalmerin" "$emptyStart")"
echo "Dalmerins Startschritte (Median, ms, ab dem Eintritt in main):"
awk '{ name = $0; sub(/ +[0-9.]+$/, "", name); print name }' "$work/phases" | awk '!seen[$0]++' |
    while IFS= read -r name; do
        printf '  %-40s %8.1f\n' "$name" "$(grep -F "$name" "$work/phases" | awk '{ print $NF }' | median)"
    done
