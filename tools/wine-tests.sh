#!/usr/bin/env bash
# The Windows program under Wine: builds Qt for MinGW once (or takes it from
# its cache, tools/build-qt-mingw.sh), cross-builds Dalmerin, the stand-in COM
# host and the Windows tests (preset "windows", folder build/windows), makes a
# fresh headless Wine prefix in that folder, registers the stand-in KORVANT's
# COM class and runs the Windows tests with ctest under Wine; then builds the
# installer and the zip file and tests installing, starting (on a private X
# display, with a screenshot) and uninstalling.
# Installs nothing (tools/deps.sh does). Ends with the line "N passed, N failed"
# and exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/wine-prefix.sh

seconds() { date +%s.%N; }
elapsed() { awk -v from="$1" -v to="$(seconds)" 'BEGIN { printf "%.1f", to - from }'; }

started=$(seconds)
DALMERIN_QT_MINGW=$(tools/build-qt-mingw.sh)
export DALMERIN_QT_MINGW
qtTime=$(elapsed "$started")

buildStarted=$(seconds)
build=$PWD/build/windows
cmake --preset windows >/dev/null
cmake --build --preset windows
cmake --build --preset windows --target windows-packages
buildTime=$(elapsed "$buildStarted")

prefixStarted=$(seconds)
wineprefix::fresh "$build/wineprefix" null
# For the user and for the machine: Wine 8 reads no HKCU\Software\Classes.
"$WINE" "$build/korvant-sim/com/korvant-sim-com.exe" --register
prefixTime=$(elapsed "$prefixStarted")

passed=0
failed=0
count() { if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); fi; }

testsStarted=$(seconds)
set +e
ctest --preset windows 2>&1 | tee "$build/wine-tests.log"
set -e
ctestPassed=$(grep -cE '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .* +Passed' "$build/wine-tests.log" || true)
ctestRun=$(grep -cE '^ *[0-9]+/[0-9]+ Test +#[0-9]+: ' "$build/wine-tests.log" || true)
passed=$((passed + ctestPassed))
failed=$((failed + ctestRun - ctestPassed))
[ "$ctestRun" -gt 0 ] || failed=$((failed + 1))
testsTime=$(elapsed "$testsStarted")

"$WINESERVER" -k 2>/dev/null || true

installStarted=$(seconds)
count tools/windows-installer-test.sh "$build" "$build/dalmerin-windows.png"
installTime=$(elapsed "$installStarted")

echo "Windows-Tests unter Wine: $(elapsed "$started") s (Qt $qtTime s, Bau $buildTime s, Präfix $prefixTime s," \
    "Tests $testsTime s, Installation und Programmstart $installTime s)"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
