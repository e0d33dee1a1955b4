#!/usr/bin/env bash
# Runs a QtTest program under Wine and prints its log. A test program under
# Wine has no console window, so QtTest would send its log to the debugger
# output; it writes it into a file instead.
# DALMERIN_WINE_DPI, where set, is the screen's DPI for this run (the prefix's
# LogPixels, removed again afterwards).
# Usage: run-under-wine.sh WINE TEST.exe [test arguments]
set -uo pipefail
wine=$1
program=$2
shift 2
desktop='HKCU\Control Panel\Desktop'
if [ -n "${DALMERIN_WINE_DPI:-}" ]; then
    "$wine" reg add "$desktop" /v LogPixels /t REG_DWORD /d "$DALMERIN_WINE_DPI" /f >/dev/null 2>&1
    trap '"$wine" reg delete "$desktop" /v LogPixels /f >/dev/null 2>&1' EXIT
fi
log=$(mktemp)
"$wine" "$program" -o "$(winepath -w "$log" 2>/dev/null || echo "Z:${log//\//\\}"),txt" "$@"
status=$?
tr -d '\r' <"$log"
rm -f "$log"
exit "$status"
