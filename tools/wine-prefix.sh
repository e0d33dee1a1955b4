# Sourced by the scripts that run the Windows program under Wine: the Wine
# commands, a quiet Wine without Mono or Gecko, and a fresh prefix with Wine's
# own TrueType fonts.
WINE=$(command -v wine64 || echo /usr/lib/wine/wine64)
WINESERVER=$(command -v wineserver || echo /usr/lib/wine/wineserver)
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=" # no Mono or Gecko in the prefix

# wineprefix::fresh FOLDER DRIVER: a new prefix in FOLDER, used from now on.
# DRIVER "null": windows exist, nothing is drawn (no display needed);
# "x11": Wine's X11 driver on $DISPLAY.
wineprefix::fresh() {
    export WINEPREFIX=$1
    "$WINESERVER" -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
    "$WINE" wineboot -i >/dev/null 2>&1
    # Debian's Wine does not load its own fonts: without them "MS Shell Dlg"
    # names a missing Tahoma. Only the TrueType ones: a bitmap font would
    # become the first family Qt knows.
    cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
    if [ "$2" = null ]; then
        "$WINE" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null
    fi
    "$WINESERVER" -w
}

# The Linux path of a Windows folder variable such as LOCALAPPDATA.
wineprefix::folder() {
    "$WINE" winepath -u "$("$WINE" cmd /c echo "%$1%" | tr -d '\r')" 2>/dev/null
}
