#!/usr/bin/env bash
# windows-screenshot.sh <win64 build> <out.png> [program arguments...]
# Runs the Windows program under Wine on a virtual desktop of its own (Xvfb, no cursor), waits
# for its first window, and saves that desktop as a PNG: the pictures of the Windows program in
# docs/screenshots/. SIZE (default 480x160) is the desktop's size: 616x470 holds the wizard's
# first page.
set -euo pipefail
build=$(realpath "$1")
out=$2
shift 2
work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEDEBUG=-all LANG=C.UTF-8
unset LC_ALL
cleanup() {
    wineserver -k 2>/dev/null || true
    kill "${xvfb:-}" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
cp -a "$build/wine-prefix" "$WINEPREFIX"

mkdir "$work/fb"
Xvfb -displayfd 3 -screen 0 800x600x24 -fbdir "$work/fb" -nolisten tcp -nocursor \
    3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")

# The desktop is as large as the picture should be; the box is centred on it.
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
size=${SIZE:-480x160}
"$wine" explorer /desktop=Tessaly,"$size" "$(winepath -w "$build/app/tessaly-wizard.exe")" \
    "$@" >/dev/null 2>&1 &
sleep 8

# Xvfb keeps its screen as an XWD file: 24-bit pixels, 32 bits each, least significant first.
python3 - "$work/fb/Xvfb_screen0" "$out" "${size%x*}" "${size#*x}" <<'PY'
import struct, sys, zlib
data = open(sys.argv[1], "rb").read()
h = struct.unpack(">25I", data[:100])
header, width, height, line, colours = h[0], h[4], h[5], h[12], h[19]
pixels = data[header + 12 * colours:]
# The desktop window sits in the top left corner of the screen.
desk_w, desk_h = int(sys.argv[3]), int(sys.argv[4])
rows = b"".join(
    b"\0" + b"".join(pixels[y * line + x * 4:y * line + x * 4 + 3][::-1] for x in range(desk_w))
    for y in range(desk_h))
def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
open(sys.argv[2], "wb").write(
    b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", desk_w, desk_h, 8, 2, 0, 0, 0))
    + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))
PY
