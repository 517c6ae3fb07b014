#!/usr/bin/env bash
# windows-screenshot.sh <win64 build> [<folder>]
# The pictures of the Windows program: runs tessaly-wizard.exe under Wine on an Xvfb display of
# its own (no cursor, no window manager: Wine draws the frames), walks the wizard with the
# keyboard (xdotool) through every page and dialog, and saves each window, cropped to its frame,
# as <folder>/windows-*.png (default docs/screenshots). DPI=144 runs the same walk with the
# prefix's font DPI at 144 and names the pictures windows-144dpi-*.png.
# One Wine prefix (a copy of the build's) and one display for the whole run.
set -euo pipefail
build=$(realpath "$1")
out=$(realpath "${2:-$(dirname "$0")/../docs/screenshots}")
dpi=${DPI:-96}
name_prefix=windows-
[ "$dpi" = 96 ] || name_prefix=windows-${dpi}dpi-
golden=$(realpath "$(dirname "$0")/../tests/golden")
exe=$build/app/tessaly-wizard.exe
work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEDEBUG=-all LANG=C.UTF-8
unset LC_ALL
cleanup() {
    wineserver -k 2>/dev/null || true
    kill "${xvfb:-}" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
wineserver -k 2>/dev/null || true
cp -a "$build/wine-prefix" "$WINEPREFIX"
# The I/O library's folder, as where it is installed; the device's own folder is asked for.
mkdir -p "$WINEPREFIX/drive_c/vxipnp/winnt"

mkdir "$work/fb"
Xvfb -displayfd 3 -screen 0 1600x1200x24 -fbdir "$work/fb" -nolisten tcp -nocursor \
    3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")

wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
# Wine draws the caption and frame itself, as Windows would; the real-time product is
# "installed" so that page 7 offers the FTP choice and leads to page 8.
cat >"$work/setup.reg" <<REG
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]
"Decorated"="N"

[HKEY_CURRENT_USER\\Control Panel\\Desktop]
"LogPixels"=dword:$(printf '%08x' "$dpi")

[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Fonts]
"LogPixels"=dword:$(printf '%08x' "$dpi")

[HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Quorvane\\Vantorix\\5.1.2]
REG
"$wine" regedit /S "$(winepath -w "$work/setup.reg")" >/dev/null 2>&1
wineserver -w

# fail <message>: says what went wrong and keeps the whole screen as it was, to see why.
fail() {
    echo "windows-screenshot.sh: $*" >&2
    screen=${TMPDIR:-/tmp}/windows-screenshot-failed.png
    grab "$screen" 0 0 1600 1200 && echo "the screen: $screen" >&2
    exit 1
}

# window <title pattern>: waits for the window and gives it the keyboard; $id is the window.
window() {
    id=$(timeout 20 xdotool search --sync --onlyvisible --limit 1 --name "$1" || true)
    [ -n "$id" ] || fail "no window \"$1\""
    for _ in $(seq 50); do
        xdotool windowfocus "$id" 2>/dev/null && break
        sleep 0.1
    done
    sleep 0.4
}

# gone <title pattern>: waits until the window has closed.
gone() {
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    fail "\"$1\" is still open"
}

keys() {
    for key in "$@"; do
        xdotool key "$key"
        sleep 0.3
    done
}

field() {
    keys "$1"
    xdotool type --delay 15 "$2"
    sleep 0.2
}

# shot <title pattern> <name>: the window, once painted, as <folder>/<prefix><name>.png.
shot() {
    window "$1"
    sleep 0.6
    eval "$(xdotool getwindowgeometry --shell "$id")"
    grab "$out/$name_prefix$2.png" "$X" "$Y" "$WIDTH" "$HEIGHT"
    echo "$out/$name_prefix$2.png"
}

# grab <png> <x> <y> <width> <height>: that part of the screen.
grab() {
    python3 - "$work/fb/Xvfb_screen0" "$@" <<'PY'
import struct, sys, zlib
# Xvfb keeps its screen as an XWD file: 24-bit pixels, 32 bits each, least significant first.
data = open(sys.argv[1], "rb").read()
h = struct.unpack(">25I", data[:100])
header, width, height, line, colours = h[0], h[4], h[5], h[12], h[19]
pixels = data[header + 12 * colours:]
x0, y0, w, hh = map(int, sys.argv[3:7])
# A window partly off the screen: only what shows.
x0, y0 = max(x0, 0), max(y0, 0)
w, hh = min(w, width - x0), min(hh, height - y0)
rows = b"".join(
    b"\0" + b"".join(pixels[y * line + x * 4:y * line + x * 4 + 3][::-1]
                     for x in range(x0, x0 + w))
    for y in range(y0, y0 + hh))
def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
open(sys.argv[2], "wb").write(
    b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, hh, 8, 2, 0, 0, 0))
    + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))
PY
}

start_wizard() {
    "$wine" "$exe" "$@" >/dev/null 2>&1 &
    wizard=$!
}

# Ends the wizard where it stands (its files are in the throw-away prefix).
stop_wizard() {
    kill "$wizard" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
    wait "$wizard" 2>/dev/null || true
}

# The PXI/PCI path, every page and dialog on the way.
start_wizard
shot '^Tessaly Wizard - Hardware Bus$' page1-hardware-bus
keys alt+p Return
pxi='^Tessaly Wizard - PXI - Basic Device Information$'
window "$pxi"
keys alt+k
shot '^Attached PCI Devices$' dialog-attached-devices
keys Escape
window "$pxi"
keys alt+l
shot '^Open Module Description File$' dialog-open-file
xdotool type --delay 15 "$(winepath -w "$golden/module_combination.ini")"
keys Return
shot '^ZEL-VISA PXI Combination Module Device Selection$' dialog-function-chooser
keys Escape
window "$pxi"
field alt+m 0x1A2B
field alt+o 0x0042
field alt+r "Tessaly Instruments"
field alt+a "TX-4021 Digitizer"
keys alt+g
shot "$pxi" page2-pxi-device
# A quoted name, for the warnings on the output page.
field alt+a 'TX-4021 "Pro" Digitizer'
keys Return
detect='^Tessaly Wizard - PXI - Interrupt Detection Information$'
editor='^ZEL-VISA PXI Interrupt Information$'
window "$detect"
keys space
window "$editor"
keys alt+w End alt+a b
field alt+f 0x10
field alt+m 0x1
field alt+v 0x1
shot "$editor" dialog-step-editor
keys Return
gone "$editor"
window "$detect"
keys alt+a
window "$editor"
keys alt+w Down alt+a b
field alt+f 0x14
field alt+m 0x8000
field alt+v 0x8000
keys Return
gone "$editor"
shot "$detect" page4-interrupt-detection
keys alt+n
removal='^Tessaly Wizard - PXI - Interrupt Removal Information$'
window "$removal"
keys alt+a
window "$editor"
keys alt+w End alt+a b
field alt+f 0x10
keys Return
gone "$editor"
window "$removal"
keys alt+a
window "$editor"
keys alt+t End alt+w End alt+a b
field alt+f 0x10
field alt+v 0x1
keys Return
gone "$editor"
shot "$removal" page5-interrupt-removal
keys alt+n
output='^Tessaly Wizard - PXI - Output Files$'
window "$output"
field alt+p tx4021
field alt+d 'C:\vxipnp\winnt\tx4021'
shot "$output" page6-output-files
keys alt+r
shot '^Browse for Folder$' dialog-folder-browser
keys Escape
window "$output"
keys F1
shot '^Tessaly Wizard Help$' help-window
keys Escape
window "$output"
keys alt+p Return
shot '^Tessaly Wizard$' dialog-message-box
keys Return
shot '^Tessaly Wizard - Installation Options$' page7-installation-options
keys alt+f Return
ftp='^Tessaly Wizard - FTP'
window "$ftp"
field alt+h rt-target
field alt+u admin
shot "$ftp" page8-ftp
stop_wizard

# The USB device page: a compound device of three interfaces.
start_wizard
window '^Tessaly Wizard - Hardware Bus$'
keys alt+u Return
usb='^Tessaly Wizard - USB - Basic Device Information$'
window "$usb"
field alt+m 0x1A2B
field alt+o 0x0043
field alt+r "Tessaly Instruments"
field alt+a "TX-4021 USB Digitizer"
keys alt+c Tab
xdotool type 3
shot "$usb" page3-usb-device
stop_wizard

# A module file that cannot be read: the message box a failed start shows.
start_wizard 'Z:\no such folder\module.ini'
shot '^Tessaly Wizard$' message-box
keys Return
stop_wizard
