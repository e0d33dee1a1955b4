#!/usr/bin/env bash
# Writes a PNG of each window (splash, main window in display and edit mode,
# settings, About, support), of the three menus and of an edit box's context
# menu into the folder given, "snapshots" by default.
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-snapshots}"
cmake --preset default >/dev/null
cmake --build --preset default --target dalmerin-snapshots
QT_QPA_PLATFORM=offscreen build/default/tools/snapshots/dalmerin-snapshots "$out"
