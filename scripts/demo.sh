#!/usr/bin/env bash
# The demonstration run (scripts/run.sh starts it on a private virtual display): in a
# throwaway Wine prefix it seeds sample leftovers, shows what is there, runs
# TavixDelReg.exe, prints each box and answers it with OK, saves a PNG screenshot of
# each box, and shows what is left. Usage: demo.sh EXE DIALOG_DRIVER OUTPUT_DIR
set -euo pipefail
exe=$1
driver=$2
out=$3

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX="$out/prefix"
rm -rf "$WINEPREFIX"
mkdir -p "$out"
echo "== A throwaway Wine prefix: $WINEPREFIX"
wineboot -i >/dev/null 2>&1
# No window manager runs on the virtual display: let Wine draw the boxes' title bars.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null

vendor='Software\Kelsburo'
store='Software\Classes\VirtualStore\MACHINE\SOFTWARE\Kelsburo'
seed() { wine reg add "$@" /f >/dev/null; }
echo "== Seeding sample leftovers"
seed "HKLM\\$vendor" /v InstallDir /d 'C:\Program Files\Kelsburo' /reg:32
seed "HKLM\\$vendor\\Tavix\\Settings" /v Skin /d Blue /reg:32
seed "HKLM\\$vendor\\RurevAvo" /reg:32
seed "HKLM\\$vendor\\Other\\Tavix" /reg:32
seed "HKCU\\$vendor\\Ta.vix\\Recent" /v File1 /d 'notes.txt'
seed "HKCU\\$vendor\\Tavix 2000"
seed "HKCU\\$vendor\\Ta_vix"
seed "HKCU\\$store\\Ta.vix9\\Window" /v Left /t REG_DWORD /d 100

show() {
    echo "== $1"
    {
        wine reg query "HKLM\\$vendor" /s /reg:32 2>/dev/null | sed 's/^HKEY_LOCAL_MACHINE/HKEY_LOCAL_MACHINE (32-bit view)/'
        wine reg query "HKCU\\$vendor" /s 2>/dev/null
        wine reg query "HKCU\\$store" /s 2>/dev/null
    } | tr -d '\r' | grep -v '^$' || true
}
show "Before"

wine "$exe" &
app=$!
for box in question result; do
    if ! wine "$driver" wait 60 >"$out/$box.txt"; then
        echo "no $box box appeared" >&2
        kill "$app" 2>/dev/null || true
        exit 1
    fi
    echo "== The $box box"
    tr -d '\r' <"$out/$box.txt" | sed 's/^/   /'
    import -window root -trim +repage "$out/$box.png"
    echo "   screenshot: $out/$box.png"
    echo "   pressing OK"
    wine "$driver" answer ok 10 >/dev/null
done
set +e
wait "$app"
status=$?
set -e
echo "== TavixDelReg exited with code $status"

show "After"
