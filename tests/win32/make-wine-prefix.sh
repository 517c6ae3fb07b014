#!/bin/sh
# make-wine-prefix.sh <prefix>: a fresh 64-bit Wine prefix for the tests of the Windows build.
set -eu
prefix=$1
# The locale sets the ANSI code page of the prefix: 1252, as on a Western Windows.
export WINEPREFIX="$prefix" WINEDEBUG=-all LANG=C.UTF-8
unset LC_ALL
unset DISPLAY WAYLAND_DISPLAY
# A server left from an earlier run would keep the old prefix's registry in memory.
wineserver -k 2>/dev/null || true
rm -rf "$prefix"
wineboot -i
# The wizard's tests open and close many dialogs: as a window no window manager manages, a
# closing dialog does not wait two seconds for Xvfb to confirm it is gone.
for program in win32_wizard_sheet_tests.exe tessaly-wizard.exe; do
    wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$program\\X11 Driver" \
        /v Managed /d N /f >/dev/null
done
# The registry reaches the disk when the server ends; the tests start from that state.
wineserver -w
