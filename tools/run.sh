#!/usr/bin/env bash
# Installs what is missing, builds Dalmerin and starts it beside the stand-in
# KORVANT with its sample part program. Without a session bus, one is started
# for the two programs.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/deps.sh
cmake --preset default
cmake --build --preset default

if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ]; then
    exec dbus-run-session -- "$0" "$@"
fi
build=build/default
"$build/korvant-sim/korvant-sim" korvant-sim/samples/Lagerdeckel.json &
sim=$!
trap 'kill $sim 2>/dev/null || true' EXIT
"$build/app/dalmerin"
