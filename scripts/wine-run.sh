#!/usr/bin/env bash
# Runs a Windows program under Wine in a throwaway 64-bit prefix, making the prefix
# on first use. The prefix is $WINEPREFIX, or build/wineprefix beside this script's
# repository. Exits with the program's exit code.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$root/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko: nothing here needs them, and without them wineboot would ask.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

mkdir -p "$(dirname "$WINEPREFIX")"
(
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        wineboot -i >/dev/null 2>&1
        wineserver -w
    fi
) 9>"$WINEPREFIX.lock"

exec wine "$@"
