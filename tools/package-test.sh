#!/usr/bin/env bash
# Builds the Debian packages, installs them, validates the menu entry, starts
# Dalmerin through its command on the PATH under a private Xvfb display, checks
# that the main window "Dalmerin Version <version>" appears and that its open
# dialog (Ctrl+A) lists the four ISO 2768 sample tables, then removes the
# packages and checks that nothing of them is left. Runs as root (or with
# sudo) on a Debian 12 machine; installs what it needs itself.
# Usage: tools/package-test.sh [BUILD_FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/private-display.sh
build=${1:-build/package}
# The version as project() in CMakeLists.txt gives it, the one place it is written.
version=$(sed -n 's/^project(Dalmerin VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
fail() { echo "FEHLER: $*"; exit 1; }

tools/deps.sh
[ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target dalmerin korvant-sim korvant-sim-generate
rm -f "$build"/*.deb
(cd "$build" && cpack -G DEB >/dev/null)
packages=(dalmerin dalmerin-korvant-sim)

work=$(mktemp -d)
xvfb=""
program=""
cleanup() {
    [ -n "$program" ] && kill "$program" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

echo "== Installieren"
$sudo apt-get purge -y -qq "${packages[@]}" >/dev/null 2>&1 || true
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
    "$PWD/$build/dalmerin_${version}_amd64.deb" "$PWD/$build/dalmerin-korvant-sim_${version}_amd64.deb" >/dev/null
for package in "${packages[@]}"; do dpkg-query -L "$package"; done | sort -u >"$work/files"

echo "== Menüeintrag und Symbol"
desktop-file-validate /usr/share/applications/dalmerin.desktop || fail "Menüeintrag ungültig"
grep -q '^Categories=.*\(Office\|Engineering\)' /usr/share/applications/dalmerin.desktop || fail "keine Kategorie"
[ -f /usr/share/icons/hicolor/scalable/apps/dalmerin.svg ] || fail "Programmsymbol fehlt"
[ "$(command -v dalmerin)" = /usr/bin/dalmerin ] || fail "Befehl dalmerin nicht im PATH"
[ -x /opt/dalmerin/korvant-sim/korvant-sim ] || fail "korvant-sim fehlt"

echo "== Start unter Xvfb"
start_private_display || fail "Xvfb startet nicht"
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_CONFIG_HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
printf '[Settings]\nStart=0\n' >"$XDG_CONFIG_HOME/KORVANT_Dalmerin.conf"
# Started from elsewhere, by its command on the PATH: the tables must be found
# in the folder of the real program, not in the working folder.
(cd / && exec dalmerin) >"$work/program.log" 2>&1 &
program=$!

title="Dalmerin Version $version"
# The windows titled so, oldest first; waits until there are at least $1.
windows() {
    for _ in $(seq 200); do
        local found
        found=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null || true)
        [ "$(echo "$found" | grep -c .)" -ge "$1" ] && { echo "$found"; return 0; }
        sleep 0.05
    done
    return 1
}
main=$(windows 1) || fail "Fenster \"$title\" erscheint nicht"
echo "Fenster \"$title\" erscheint"

echo "== Öffnen-Dialog"
xdotool windowfocus --sync "$main" key ctrl+a
dialog=$(windows 2 | grep -v -x "$main" | head -n 1) || fail "Öffnen-Dialog erscheint nicht"
xdotool windowfocus --sync "$dialog"
sleep 0.2
# The focus starts on OK; Tab goes OK, Abbrechen, Laufwerke, Verzeichnisse,
# then the file list, which chooses its first file. Each chosen name is read
# from the name box (the next field) through the clipboard.
xdotool key --delay 50 Tab Tab Tab Tab
listed=()
for _ in 1 2 3 4 5; do
    xdotool key --delay 50 Tab ctrl+c
    sleep 0.1
    name=$(xclip -o -selection clipboard 2>/dev/null || true)
    [ ${#listed[@]} -gt 0 ] && [ "$name" = "${listed[-1]}" ] && break # the end of the list
    listed+=("$name")
    xdotool key --delay 50 shift+Tab Down
done
printf '  %s\n' "${listed[@]}"
expected=$(printf '%s\n' "ISO 2768-c.tabelle" "ISO 2768-f.tabelle" "ISO 2768-m.tabelle" "ISO 2768-v.tabelle")
[ "$(printf '%s\n' "${listed[@]}" | sort)" = "$expected" ] || fail "die Liste zeigt nicht die vier ISO-2768-Tabellen"
kill "$program"
wait "$program" 2>/dev/null || true
program=""

echo "== Entfernen"
DEBIAN_FRONTEND=noninteractive $sudo apt-get purge -y -qq "${packages[@]}" >/dev/null
for package in "${packages[@]}"; do
    ! dpkg-query -W -f='${Status}\n' "$package" 2>/dev/null | grep -q installed || fail "$package noch installiert"
done
left=0
while read -r path; do
    # Folders shared with other packages (/usr, /usr/bin …) stay; files and our own folders go.
    if [ -e "$path" ] || [ -L "$path" ]; then
        if [ ! -d "$path" ] || [ "${path#/opt/dalmerin}" != "$path" ]; then
            echo "  übrig: $path"
            left=1
        fi
    fi
done <"$work/files"
[ -e /opt/dalmerin ] && { echo "  übrig: /opt/dalmerin"; left=1; }
[ "$left" -eq 0 ] || fail "nach dem Entfernen ist etwas übrig"
echo "Paketprüfung bestanden"
