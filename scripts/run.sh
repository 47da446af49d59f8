#!/usr/bin/env bash
# Builds TavixDelReg.exe and runs it under Wine.
#  - With an X display ($DISPLAY): the program opens on it, in $WINEPREFIX if set,
#    else in the project's own prefix build/run-prefix.
#  - Without one: a demonstration in a throwaway prefix on a private virtual display.
#    It seeds sample leftovers, shows what is there, answers the question with OK,
#    prints both boxes' texts and what is left, and saves a PNG screenshot of each
#    box under build/demo/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)" >/dev/null
exe="$root/build/windows/TavixDelReg.exe"
driver="$root/build/windows/dialog_driver.exe"

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

if [ -n "${DISPLAY:-}" ]; then
    export WINEPREFIX="${WINEPREFIX:-$root/build/run-prefix}"
    if [ ! -f "$WINEPREFIX/system.reg" ]; then wineboot -i >/dev/null 2>&1; fi
    set +e
    wine "$exe"
    status=$?
    set -e
    echo "TavixDelReg exited with code $status"
    exit "$status"
fi

demo="$root/build/demo"
export WINEPREFIX="$demo/prefix"
bash scripts/with-display.sh bash scripts/demo.sh "$exe" "$driver" "$demo"
