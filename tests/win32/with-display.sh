#!/bin/sh
# with-display.sh <command...>: runs the command under Wine on a display of its own (Xvfb), for
# tests of real windows. CTest runs it alone: Wine's server starts afresh with the display and
# is ended afterwards, so the other tests keep running without one.
set -eu
wineserver -w
display_file=$(mktemp)
Xvfb -displayfd 4 -screen 0 1024x768x24 -nolisten tcp 4>"$display_file" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wineserver -k 2>/dev/null || true; rm -f "$display_file"' EXIT
for _ in $(seq 100); do
    [ -s "$display_file" ] && break
    sleep 0.1
done
[ -s "$display_file" ] || { echo "Xvfb did not start" >&2; exit 1; }
DISPLAY=:$(cat "$display_file")
export DISPLAY
status=0
"$@" || status=$?
exit $status
