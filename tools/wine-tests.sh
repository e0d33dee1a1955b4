#!/usr/bin/env bash
# The Windows side under Wine: cross-builds the Qt-free parts with MinGW-w64
# (preset "mingw", folder build/mingw), makes a fresh headless Wine prefix in
# that folder, registers the stand-in KORVANT's COM class and runs the Windows
# tests against it. Installs nothing: it needs g++-mingw-w64-x86-64 and wine64
# (tools/deps.sh installs them). Ends with the line "N passed, N failed" and
# exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds() { date +%s.%N; }
elapsed() { awk -v from="$1" -v to="$(seconds)" 'BEGIN { printf "%.1f", to - from }'; }

started=$(seconds)
build=$PWD/build/mingw
cmake --preset mingw >/dev/null
cmake --build --preset mingw

wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
export WINEPREFIX=$build/wineprefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=" # no Mono or Gecko in the prefix
unset DISPLAY WAYLAND_DISPLAY

# A fresh prefix, with Wine's null graphics driver: windows exist, nothing is drawn.
prefixStarted=$(seconds)
"$wineserver" -k 2>/dev/null || true
rm -rf "$WINEPREFIX"
"$wine" wineboot -i >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null
"$wineserver" -k
prefixTime=$(elapsed "$prefixStarted")

windowsPath() { echo "Z:${1//\//\\}"; }
standIn=$build/korvant-sim/com/korvant-sim-com.exe
# For the user and for the machine: Wine 8 reads no HKCU\Software\Classes.
"$wine" "$standIn" --register

testsStarted=$(seconds)
log=$build/wine-tests.log
set +e
"$wine" "$build/tests/windows/test_transfer_com.exe" "$(windowsPath "$standIn")" 2>&1 | tr -d '\r' | tee "$log" |
    grep -v -E '^[0-9]+ passed, [0-9]+ failed$'
status=${PIPESTATUS[0]}
set -e
testsTime=$(elapsed "$testsStarted")
"$wineserver" -k 2>/dev/null || true

closing=$(grep -E '^[0-9]+ passed, [0-9]+ failed$' "$log" | tail -n 1 || true)
if [ -z "$closing" ]; then
    closing="0 passed, 1 failed" # the test program ended before its closing line
    status=1
fi
echo "Windows-Tests unter Wine: $(elapsed "$started") s (Präfix $prefixTime s, Tests $testsTime s)"
echo "$closing"
exit "$status"
