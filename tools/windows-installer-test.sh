#!/usr/bin/env bash
# The Windows installer under Wine, as a user would meet it: a silent install
# (/S) into a fresh prefix, its files, Start-menu entry and uninstall entry
# checked; the installed program started with Wine's X11 driver on a private
# Xvfb display until its main window "Dalmerin Version 1.2.1" appears, and a
# screenshot of it written with a table typed in; while it runs, a silent install over it and a
# silent uninstall each refuse with a non-zero exit code and change nothing;
# then a silent uninstall, after which nothing it installed is left while a
# table of the user's own in that folder, and the settings, are kept. Also
# checks the zip file's contents.
# Usage: tools/windows-installer-test.sh [build folder] [screenshot.png]
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/wine-prefix.sh
source tools/private-display.sh

build=$(realpath "${1:-build/windows}")
screenshot=${2:-$build/dalmerin-windows.png}
version=$(sed -n 's/^project(Dalmerin VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
installer=$build/packages/Dalmerin-$version-Setup.exe
zip=$build/packages/Dalmerin-$version-win64.zip
tables=("ISO 2768-c.tabelle" "ISO 2768-f.tabelle" "ISO 2768-m.tabelle" "ISO 2768-v.tabelle")
uninstallKey='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Dalmerin'

fail() { echo "Installationstest: $*" >&2; exit 1; }
check() { local what=$1; shift; "$@" || fail "$what"; }

listing=$(unzip -l "$zip")
for name in dalmerin.exe "${tables[@]}"; do
    grep -qF "Dalmerin-$version-win64/$name" <<<"$listing" || fail "$name fehlt in der Zip-Datei"
done

start_private_display || fail "Xvfb startet nicht"
trap 'kill "$xvfb" 2>/dev/null; "$WINESERVER" -k 2>/dev/null || true' EXIT
wineprefix::fresh "$build/wineprefix-install" x11

"$WINE" "$installer" /S
"$WINESERVER" -w
folder=$(wineprefix::folder LOCALAPPDATA)/Programs/Dalmerin
startMenu=$(wineprefix::folder APPDATA)/Microsoft/Windows/Start\ Menu/Programs
installed=(dalmerin.exe Deinstallieren.exe "${tables[@]}")
for name in "${installed[@]}"; do
    check "$name nicht installiert" test -f "$folder/$name"
done
check "Startmenü-Eintrag fehlt" test -f "$startMenu/Dalmerin.lnk"
grep -q "$version" <<<"$("$WINE" reg query "$uninstallKey" /v DisplayVersion 2>/dev/null)" ||
    fail "nicht unter den Apps des Benutzers eingetragen"
for name in "${tables[@]}"; do
    cmp -s "$folder/$name" "resources/tables/$name" || fail "$name anders als mitgeliefert"
done

# The installed program, without the splash window, until its main window shows.
"$WINE" reg add 'HKCU\Software\KORVANT_Dalmerin\Settings' /v Start /t REG_SZ /d 0 /f >/dev/null
"$WINE" "$folder/dalmerin.exe" &
program=$!
window=""
for _ in $(seq 300); do
    window=$(xdotool search --onlyvisible --name "^Dalmerin Version $version\$" 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || fail "das Hauptfenster erscheint nicht"
# A new table with ISO 2768-m's values, typed in Tab order as a user would.
sleep 1
xdotool windowfocus --sync "$window" key ctrl+n
sleep 1
xdotool mousemove --window "$window" 116 181 click 1 # the first box, range 1's "bis"
sleep 0.3
for value in 3 0.1 0.1 3 6 0.1 0.1 6 30 0.2 0.2 30 120 0.3 0.3 120 400 0.5 0.5 \
    400 1000 0.8 0.8 1000 2000 1.2 1.2 2000 4000 2 2; do
    xdotool type --delay 10 "$value"
    xdotool key Tab
done
sleep 1 # let it paint
import -window "$window" "$screenshot"
echo "Bildschirmfoto: $screenshot"

# While it runs, neither the installer nor the uninstaller touches anything.
# The uninstaller runs in place (_?=), so that its exit code is its own.
installedState() {
    sha256sum "$folder"/* "$startMenu/Dalmerin.lnk"
    "$WINE" reg query "$uninstallKey" 2>/dev/null | tr -d '\r'
}
before=$(installedState)
set +e
"$WINE" "$installer" /S
installStatus=$?
"$WINE" "$folder/Deinstallieren.exe" /S "_?=$("$WINE" winepath -w "$folder" 2>/dev/null | tr -d '\r')"
uninstallStatus=$?
set -e
[ "$installStatus" -ne 0 ] || fail "die Installation über das laufende Programm meldet Erfolg"
[ "$uninstallStatus" -ne 0 ] || fail "die Deinstallation bei laufendem Programm meldet Erfolg"
[ "$(installedState)" = "$before" ] || fail "Installation oder Deinstallation bei laufendem Programm hat etwas geändert"
echo "Installation und Deinstallation verweigert, solange Dalmerin läuft"
"$WINESERVER" -k
wait "$program" || true

# A table of the user's own in the program's folder stays, and so do the settings.
printf '"1"\r\n' >"$folder/Eigene.tabelle"
"$WINE" "$folder/Deinstallieren.exe" /S
"$WINESERVER" -w
# The uninstaller copies itself away and finishes from there.
for _ in $(seq 100); do [ -f "$folder/Deinstallieren.exe" ] || break; sleep 0.1; done
for name in "${installed[@]}"; do
    check "$name nach dem Deinstallieren noch da" test ! -e "$folder/$name"
done
check "Startmenü-Eintrag nach dem Deinstallieren noch da" test ! -e "$startMenu/Dalmerin.lnk"
if "$WINE" reg query "$uninstallKey" >/dev/null 2>&1; then fail "Eintrag unter den Apps noch da"; fi
check "die eigene Tabelle wurde gelöscht" test -f "$folder/Eigene.tabelle"
check "nur die eigene Tabelle bleibt" test "$(ls -A "$folder")" = Eigene.tabelle
"$WINE" reg query 'HKCU\Software\KORVANT_Dalmerin\Settings' /v Start >/dev/null 2>&1 ||
    fail "die Einstellungen wurden gelöscht"
echo "Installationstest bestanden"
