#!/bin/sh
# The transfer's layers depend one way: app -> gui -> core <- host. Lists every
# include that goes against that (core naming Qt, host or gui; host naming
# gui), and every include that does not name its folder; exits non-zero on any.
cd "$(dirname "$0")/.."
found=$(
    grep -nE '#include ("transfer/(gui|host)/|<Q)' transfer/core/*.cpp transfer/core/*.h
    grep -nE '#include "transfer/gui/' transfer/host/*.h transfer/host/*/*.cpp transfer/host/*/*.h
    grep -rnE --include='*.cpp' --include='*.h' '#include "[^/"]+\.h"' \
        app base files resources table transfer korvant-sim tests tools
)
[ -z "$found" ] && exit 0
echo "Includes gegen die Schichtung oder ohne Ordner:"
echo "$found"
exit 1
