#!/usr/bin/env bash
# Runs a command with an X display: the current $DISPLAY, or a private Xvfb started
# for the command and stopped after it (together with the Wine server of $WINEPREFIX,
# whose processes would otherwise outlive their display).
set -euo pipefail

if [ -n "${DISPLAY:-}" ]; then
    exec "$@"
fi

display=""
for n in $(seq 90 199); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
        display=":$n"
        break
    fi
done
[ -n "$display" ] || { echo "with-display: no free display number" >&2; exit 1; }

Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
stop() {
    if [ -n "${WINEPREFIX:-}" ]; then DISPLAY="$display" wineserver -k >/dev/null 2>&1 || true; fi
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
}
trap stop EXIT

for _ in $(seq 100); do
    xdpyinfo -display "$display" >/dev/null 2>&1 && break
    kill -0 "$xvfb_pid" 2>/dev/null || { echo "with-display: Xvfb did not start" >&2; exit 1; }
    sleep 0.1
done

DISPLAY="$display" "$@"
