#!/usr/bin/env bash
# Builds Dalmerin and runs every test: the Linux tests (GUI tests headless on
# the offscreen platform, end-to-end tests over a private D-Bus session bus),
# the same again built with AddressSanitizer and UBSan, a short soak in that
# build, and the Windows transfer tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/deps.sh
cmake --preset default
cmake --build --preset default
ctest --preset default
cmake --preset asan
cmake --build --preset asan
ctest --preset asan
tools/soak.sh --short build/asan
if [ -x tools/wine-tests.sh ]; then
    tools/wine-tests.sh
fi
