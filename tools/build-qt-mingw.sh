#!/usr/bin/env bash
# Builds Qt (qtbase: Core, Gui, Widgets, Test, the windows, offscreen and
# minimal platform plugins, the windowsvista style) for 64-bit Windows with
# MinGW-w64, as static libraries, from Debian's own qt6-base source package:
# the same Qt version as the host tools Debian installs. The result goes into a
# cache folder outside the repository, keyed by version and options, and is
# reused by later runs. Prints the installed prefix as its last line.
#
# The source comes through a private apt state: its deb-src entries are derived
# from this machine's own apt sources, and apt verifies the source's checksums
# against the signed release files, as for any package.
set -euo pipefail

seconds() { date +%s; }
started=$(seconds)

hostVersion=$(dpkg-query -W -f='${Version}' qt6-base-dev)
upstream=${hostVersion%%+*}

compilerPrefix=x86_64-w64-mingw32
# The posix thread model: the win32 one lacks std::thread and what Qt 6 needs.
cc=$compilerPrefix-gcc-posix
cxx=$compilerPrefix-g++-posix

# Everything Dalmerin, its stand-in COM host and its tests do not use is left
# out, and what is left is built for size: the program links Qt statically, so
# Qt's size is nearly all of its size.
features_off=(
    sql network dbus opengl dynamicgl printsupport concurrent xml icu tabletevent vulkan jpeg gif
    # widgets no window of the program has
    style-fusion style-stylesheet effects treewidget commandlinkbutton datetimeedit textbrowser
    splashscreen lcdnumber fontcombobox toolbox dockwidget mdiarea dial scroller graphicsview
    graphicseffect syntaxhighlighter calendarwidget keysequenceedit colordialog fontdialog
    progressdialog inputdialog errormessage wizard columnview datawidgetmapper undoview whatsthis
    # documents, images and services it neither reads nor offers
    textodfwriter textmarkdownreader textmarkdownwriter pdf movie imageformat_bmp imageformat_ppm
    imageformat_xbm systemtrayicon sessionmanager tuiotouch vnc freetype undocommand undostack undogroup
    mimetype jalalicalendar hijricalendar islamiccivilcalendar sha3-fast transposeproxymodel
    concatenatetablesproxymodel systemsemaphore sharedmemory
)
options=(
    -DBUILD_SHARED_LIBS=OFF
    -DCMAKE_BUILD_TYPE=Release
    -DFEATURE_optimize_size=ON
    "-DCMAKE_C_FLAGS=-ffunction-sections -fdata-sections"
    "-DCMAKE_CXX_FLAGS=-ffunction-sections -fdata-sections"
    -DQT_BUILD_EXAMPLES=OFF
    -DQT_BUILD_TESTS=OFF
    -DQT_QMAKE_TARGET_MKSPEC=win32-g++
    -DQT_HOST_PATH=/usr
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
    -DCMAKE_SYSTEM_NAME=Windows
    -DCMAKE_SYSTEM_PROCESSOR=x86_64
    -DCMAKE_C_COMPILER=$cc
    -DCMAKE_CXX_COMPILER=$cxx
    -DCMAKE_RC_COMPILER=$compilerPrefix-windres
    -DCMAKE_FIND_ROOT_PATH=/usr/$compilerPrefix
    -DCMAKE_FIND_ROOT_PATH_MODE_PROGRAM=NEVER
    -DCMAKE_FIND_ROOT_PATH_MODE_LIBRARY=ONLY
    -DCMAKE_FIND_ROOT_PATH_MODE_INCLUDE=ONLY
    -DCMAKE_FIND_ROOT_PATH_MODE_PACKAGE=ONLY
)
for feature in "${features_off[@]}"; do
    options+=("-DFEATURE_${feature//-/_}=OFF")
done

cache=${XDG_CACHE_HOME:-$HOME/.cache}/dalmerin
key=$(printf '%s\n' "$hostVersion" "$($cxx -dumpfullversion)" "${options[@]}" | sha256sum | cut -c1-12)
prefix=$cache/qt-$upstream-mingw-$key
if [ -f "$prefix/.complete" ]; then
    echo "Qt $upstream für MinGW aus dem Zwischenspeicher" >&2
    echo "$prefix"
    exit 0
fi

work=$cache/qt-$upstream-mingw-work
rm -rf "$work"
mkdir -p "$work"

# A private apt state with deb-src entries for this release's own sources.
echo "Qt $upstream: Quellpaket qt6-base $hostVersion holen" >&2
apt=$work/apt
mkdir -p "$apt/sources.list.d" "$apt/lists/partial" "$apt/cache/archives/partial"
codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
touch "$apt/sources.list"
if [ -f /etc/apt/sources.list ]; then
    grep -E "^deb [^#]*\b$codename\b" /etc/apt/sources.list | sed 's/^deb /deb-src /' >"$apt/sources.list" || true
fi
for sources in /etc/apt/sources.list.d/*.sources; do
    [ -f "$sources" ] || continue
    # Keep the stanzas of this release, each turned into a source stanza.
    awk -v codename="$codename" '
        BEGIN { RS = ""; ORS = "\n\n" }
        $0 ~ ("(^|\n)Suites:[^\n]*" codename) {
            sub(/(^|\n)Types:[^\n]*/, "\nTypes: deb-src"); sub(/^\n/, ""); print
        }' "$sources" >"$apt/sources.list.d/$(basename "$sources")"
done
for list in /etc/apt/sources.list.d/*.list; do
    [ -f "$list" ] || continue
    grep -E "^deb [^#]*\b$codename\b" "$list" | sed 's/^deb /deb-src /' >"$apt/sources.list.d/$(basename "$list")" || true
done
aptOptions=(
    -o "APT::Sandbox::User=root"
    -o "Dir::Etc::SourceList=$apt/sources.list"
    -o "Dir::Etc::SourceParts=$apt/sources.list.d"
    -o "Dir::State::Lists=$apt/lists"
    -o "Dir::Cache=$apt/cache"
)
apt-get -qq "${aptOptions[@]}" update
(cd "$work" && apt-get -qq "${aptOptions[@]}" source "qt6-base=$hostVersion" >/dev/null)
source=$(find "$work" -maxdepth 1 -type d -name 'qt6-base-*' | head -n 1)

# Qt 6.4's Windows Vista style includes the input dialog's header without
# asking whether the input dialog is built.
vistaStyle=$source/src/plugins/styles/windowsvista/qwindowsvistastyle_p_p.h
grep -q '^#include <qinputdialog.h>$' "$vistaStyle"
sed -i 's|^#include <qinputdialog.h>$|#if QT_CONFIG(inputdialog)\n#include <qinputdialog.h>\n#endif|' "$vistaStyle"

# Every library Qt can take from the system is built from Qt's own copy.
while read -r feature; do
    options+=("-DFEATURE_$feature=OFF")
done < <(grep -rhoE 'qt_feature\("system_[a-z0-9_]+"' "$source" --include=configure.cmake |
    sed -E 's/qt_feature\("([^"]+)"/\1/' | sort -u)

echo "Qt $upstream: konfigurieren" >&2
build=$work/build
cmake -S "$source" -B "$build" -G Ninja -DCMAKE_INSTALL_PREFIX="$prefix" "${options[@]}" >"$work/configure.log" 2>&1 ||
    { tail -n 40 "$work/configure.log" >&2; exit 1; }

echo "Qt $upstream: bauen" >&2
# Ninja's progress, one line in a hundred.
progress() {
    local line
    while IFS= read -r line; do
        printf '%s\n' "$line" >>"$work/build.log"
        if [[ $line =~ ^\[([0-9]+)/([0-9]+)\] ]]; then
            local step=${BASH_REMATCH[1]} steps=${BASH_REMATCH[2]}
            if ((step % 100 == 0 || step == steps)); then echo "Qt: Schritt $step von $steps" >&2; fi
        fi
    done
}
cmake --build "$build" 2>&1 | progress || { tail -n 40 "$work/build.log" >&2; exit 1; }
cmake --install "$build" >"$work/install.log" 2>&1

touch "$prefix/.complete"
rm -rf "$work"
echo "Qt $upstream für MinGW gebaut in $(($(seconds) - started)) s" >&2
echo "$prefix"
