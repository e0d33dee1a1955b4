#!/usr/bin/env bash
# Runs a QtTest program under Wine and prints its log. A test program under
# Wine has no console window, so QtTest would send its log to the debugger
# output; it writes it into a file instead.
# Usage: run-under-wine.sh WINE TEST.exe [test arguments]
set -uo pipefail
wine=$1
program=$2
shift 2
log=$(mktemp)
"$wine" "$program" -o "$(winepath -w "$log" 2>/dev/null || echo "Z:${log//\//\\}"),txt" "$@"
status=$?
tr -d '\r' <"$log"
rm -f "$log"
exit "$status"
