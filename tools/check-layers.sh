#!/bin/sh
# Layers depend one way. The transfer: app -> gui -> core <- host. The table
# and its files: gui -> core. A core names no Qt and no gui or host; a host
# names no gui. Lists every include that goes against that, and every include
# that does not name its folder; exits non-zero on any.
cd "$(dirname "$0")/.."
found=$(
    grep -nE '#include ("(transfer|table|files)/(gui|host)/|<Q)' \
        transfer/core/*.cpp transfer/core/*.h table/core/*.cpp table/core/*.h files/core/*.cpp files/core/*.h
    grep -nE '#include "transfer/gui/' transfer/host/*.h transfer/host/*/*.cpp transfer/host/*/*.h
    grep -rnE --include='*.cpp' --include='*.h' '#include "[^/"]+\.h"' \
        app base files resources table transfer korvant-sim tests tools
)
[ -z "$found" ] && exit 0
echo "Includes gegen die Schichtung oder ohne Ordner:"
echo "$found"
exit 1
