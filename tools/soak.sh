#!/usr/bin/env bash
# Soak under AddressSanitizer, UBSan and LeakSanitizer (preset asan, folder
# build/asan unless given): 200 transfer runs against the headless korvant-sim
# with a 2,000-command part program and 1,000 save-and-open cycles of a table,
# in one process, on a private session bus. Prints leaks, crashes, the peak
# of the memory the program holds (the sanitizer's count) after the first 20
# runs and at the end, the resident peak beside it, and whether every run
# wrote the same values. The cycles are spread over the runs, so that
# the peak after 20 runs has seen both. `--short` (for CI): 25 runs of 500
# commands, 125 cycles.
# Usage: tools/soak.sh [--short] [BUILD_FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=200 commands=2000 cycles=1000
if [ "${1:-}" = "--short" ]; then
    runs=25 commands=500 cycles=125
    shift
fi
build=${1:-build/asan}
[ -f "$build/CMakeCache.txt" ] ||
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DDALMERIN_SANITIZE=ON >/dev/null
cmake --build "$build" --target dalmerin-soak >/dev/null
# The stand-in is not what is soaked: it runs from the optimised build, so
# that the run's time goes to the program under the sanitizers.
host=build/default
[ -f "$host/CMakeCache.txt" ] || cmake --preset default >/dev/null
cmake --build "$host" --target korvant-sim korvant-sim-generate >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$host/korvant-sim/korvant-sim-generate" "$commands" "$work/teileprogramm.json"

# The memory figure that counts is the sanitizer's own count of what the
# program holds, so the full quarantine for use-after-free checks can stay.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1
export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
export SOAK_BUILD=$build SOAK_HOST=$host SOAK_WORK=$work SOAK_RUNS=$runs SOAK_COMMANDS=$commands SOAK_CYCLES=$cycles
echo "Dauertest: $runs Übertragungen mit $commands Befehlen, $cycles-mal Speichern und Öffnen"
set +e
dbus-run-session -- sh -c '
    "$SOAK_HOST/korvant-sim/korvant-sim" --headless "$SOAK_WORK/teileprogramm.json" &
    sim=$!
    "$SOAK_BUILD/tools/soak/dalmerin-soak" "resources/tables/ISO 2768-m.tabelle" "$SOAK_COMMANDS" "$SOAK_RUNS" \
        "$SOAK_CYCLES" "$SOAK_WORK"
    status=$?
    kill "$sim"; wait "$sim"; simStatus=$?
    echo "korvant-sim: Rückgabewert $simStatus" >&2
    exit $status' >"$work/out.log" 2>"$work/err.log"
status=$?
set -e
grep -v -e "Failed to set fd limit" "$work/out.log"
grep -E "^(SUMMARY|ERROR): " "$work/err.log" || true

leaks=$(grep -c "ERROR: LeakSanitizer" "$work/err.log" || true)
crashes=$(grep -c -E "ERROR: AddressSanitizer|runtime error:" "$work/err.log" || true)
echo "Lecks (LSan): $leaks, Speicherfehler und Abstürze: $crashes, Rückgabewert: $status"
[ "$status" -eq 0 ] && [ "$leaks" -eq 0 ] && [ "$crashes" -eq 0 ] && { echo "Dauertest bestanden"; exit 0; }
sed -n '1,60p' "$work/err.log"
echo "Dauertest nicht bestanden"
exit 1
