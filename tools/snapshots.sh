#!/usr/bin/env bash
# Writes a PNG of each window (splash, main window in display and edit mode,
# settings, About, support, the report window after a transfer of ISO 2768-m
# into the stand-in's sample part program, "Freigeben…" filled in), of the
# three menus and of an edit box's context menu into the folder given,
# "snapshots" by default.
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-snapshots}"
cmake --preset default >/dev/null
cmake --build --preset default --target dalmerin-snapshots korvant-sim
# On a private session bus, beside the headless stand-in.
export OUT="$out"
QT_QPA_PLATFORM=offscreen dbus-run-session -- sh -c '
    build/default/korvant-sim/korvant-sim --headless korvant-sim/samples/Lagerdeckel.json &
    sim=$!
    for i in $(seq 50); do
        dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
            string:KVTLRN.Application 2>/dev/null | grep -q true && break
        sleep 0.1
    done
    build/default/tools/snapshots/dalmerin-snapshots "$OUT"
    status=$?
    kill "$sim"
    exit $status' 2>&1 | grep -v "Failed to set fd limit"
