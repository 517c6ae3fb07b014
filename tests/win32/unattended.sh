#!/bin/sh
# unattended.sh <wine> <tessaly-wizard.exe> <PnpProbe.exe> <golden folder>
# The Windows program as an installer script runs it, in the Wine prefix $WINEPREFIX: a module
# file with /SilentAutoInstall writes the five files byte for byte as the Linux build does,
# installs the XP/2000 INF and binds the driver to a device carrying one of its hardware IDs.
set -eu
wine=$1 exe=$2 probe=$3 golden=$4
drive_c=$WINEPREFIX/drive_c
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# run <expected status> <arguments...>: the program's standard error is kept in $work/stderr.
run() {
    expected=$1
    shift
    status=0
    "$wine" "$exe" "$@" >"$work/stdout" 2>"$work/stderr" || status=$?
    [ "$status" -eq "$expected" ] ||
        fail "exit status $status, not $expected, for $*: $(cat "$work/stderr")"
}

# same_files <folder>: the five files of the run against the golden set.
same_files() {
    for pair in abcde_RT.inf:pxi_subsys_RT.inf abcdefgh_9x.inf:pxi_subsys_9x.inf \
        abcdefgh_NT4.inf:pxi_subsys_NT4.inf abcdefgh_NT5.inf:pxi_subsys_NT5.inf \
        abcdefgh.ini:pxi_subsys.ini; do
        cmp "$1/${pair%%:*}" "$golden/${pair#*:}" || fail "$1/${pair%%:*}"
    done
    [ "$(ls "$1" | wc -l)" -eq 5 ] || fail "more than the five files in $1: $(ls "$1")"
}

module="Z:$golden/pxi_subsys.ini"
device='PCI\VEN_ABCD&DEV_1234&SUBSYS_9ABC5678'
inf=$drive_c/windows/inf

# Nothing installed but Windows: the default folder is made, level by level.
"$wine" "$probe" create "$device" >/dev/null 2>&1 || fail "cannot create the test device"
printf 'stale' >"$inf/abcdefgh_NT5.pnf"
run 0 "$module" /SilentAutoInstall
# Text-mode standard error ends its lines with CR LF on Windows. The prefix is 64-bit, which
# ignores the XP/2000 INF: that is said before it is installed.
{
    cat "$golden/pxi_subsys_warnings.txt"
    echo "Tessaly Wizard: warning: 64-bit Windows does not use this INF file: its models are" \
        "not decorated for x64 or ARM64 and it has no signed catalog. Install the signed driver" \
        "package instead."
} >"$work/expected"
tr -d '\r' <"$work/stderr" | cmp - "$work/expected" || fail "warnings: $(cat "$work/stderr")"
same_files "$drive_c/vxipnp/winnt/abcdefgh"
cmp "$inf/abcdefgh_NT5.inf" "$golden/pxi_subsys_NT5.inf" || fail "installed INF"
# Setup may compile a new .pnf from the installed INF; the stale one must be gone.
[ "$(cat "$inf/abcdefgh_NT5.pnf" 2>/dev/null)" != stale ] || fail "the stale .pnf is still there"
# The install call succeeds whether or not a device matched: the device tells.
"$wine" "$probe" describe "$device" >"$work/device" || fail "the test device is gone"
[ "$(head -n 1 "$work/device")" = "$(printf '5 \265s Timer')" ] ||
    fail "no driver installed: $(cat "$work/device")"
grep -qx 'class=visaPxiDevice' "$work/device" || fail "device class: $(cat "$work/device")"

# The I/O library's InstDir and the resource manager's folder, as the 32-bit products write them.
"$wine" reg add 'HKLM\SOFTWARE\Quorvane\ZEL-VISA for Windows 95/NT' /v InstDir \
    /d 'C:\Instruments' /reg:32 /f >/dev/null 2>&1
"$wine" reg add 'HKLM\SOFTWARE\Quorvane\ZEL-PXIRM\CurrentVersion' /v Path /d 'C:\PXIRM' \
    /reg:32 /f >/dev/null 2>&1
mkdir -p "$drive_c/PXIRM/Hardware Descriptions"
run 0 "$module" -silentautoinstall
same_files "$drive_c/Instruments/winnt/abcdefgh"
cmp "$drive_c/PXIRM/Hardware Descriptions/Modules/abcdefgh.ini" "$golden/pxi_subsys.ini" ||
    fail "resource manager copy"

run 0 --help
grep -qF 'c:\vxipnp\winnt\<prefix>' "$work/stdout" || fail "usage: $(cat "$work/stdout")"
echo "ok"
