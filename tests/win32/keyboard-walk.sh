#!/bin/sh
# keyboard-walk.sh <wine> <tessaly-wizard.exe> <golden folder>
# Started with no argument, as from the desktop, the wizard is walked with the keyboard alone:
# keys typed into its X window on Xvfb (xdotool), as a person without a mouse would, along the
# USB compound path and the PXI/PCI path with interrupts, using every mnemonic each page offers
# (the dialogs they open are looked at and closed), the step lists' keys and the help key. The
# written files must equal the golden files byte for byte. Runs in $WINEPREFIX on $DISPLAY.
set -eu
wine=$1 exe=$2 golden=$3
work=$(mktemp -d)
drive_c=$WINEPREFIX/drive_c
trap 'kill "$wizard" 2>/dev/null || true; rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    echo "windows: $(xdotool search --onlyvisible --name . getwindowname %@ 2>/dev/null |
        grep -v 'Default IME' | tr '\n' '|')" >&2
    exit 1
}

# same <written> <golden>: byte for byte, else the first differing lines are shown.
same() {
    cmp -s "$1" "$2" && return 0
    diff -a "$2" "$1" | head -n 6 >&2 || true
    fail "$1 differs from $2"
}

# window <title>: waits for the window of that exact title and gives it the keyboard.
window() {
    echo "window: $1" >&2
    id=$(timeout 20 xdotool search --sync --limit 1 --name "^$1\$" || true)
    [ -n "$id" ] || fail "no window \"$1\""
    # Found before it is on screen, it cannot take the focus yet.
    for _ in $(seq 50); do
        xdotool windowfocus "$id" 2>/dev/null && break
        sleep 0.1
    done
    sleep 0.3
}

# gone <title>: waits until no window has that title (a dialog that closed).
gone() {
    for _ in $(seq 100); do
        xdotool search --name "^$1\$" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    fail "\"$1\" is still open"
}

# keys <key...>: each pressed in turn, with time for the focus to move between them.
keys() {
    echo "keys: $*" >&2
    for key in "$@"; do
        xdotool key "$key"
        sleep 0.3
    done
}

# field <mnemonic key> <text>: moves to a field by its label and types over it.
field() {
    keys "$1"
    xdotool type --delay 20 "$2"
    sleep 0.2
}

# dialog <title> <key...>: the dialog a key opened, closed with the keys given.
dialog() {
    title=$1
    shift
    window "$title"
    keys "$@"
    gone "$title"
}

# start_wizard [argument...]: starts the program (with no argument, as from the desktop) and
# remembers it.
start_wizard() {
    # The package's date is fixed as build tools fix it.
    SOURCE_DATE_EPOCH=1700000000 "$wine" "$exe" "$@" >"$work/stdout" 2>"$work/stderr" &
    wizard=$!
}

finished() {
    for _ in $(seq 100); do
        kill -0 "$wizard" 2>/dev/null || { wait "$wizard" || fail "exit status $?"; return; }
        sleep 0.2
    done
    fail "the wizard is still open: $(xdotool search --name 'Tessaly' getwindowname %@ 2>/dev/null)"
}

# The Latin-1 letters typed below get keys of their own before Wine reads the keyboard: xdotool
# would otherwise map a spare key for each while typing, and Wine may read the key before the map.
spare=$(xmodmap -pke | awk 'NF == 3 { print $2 }' | head -n 2 | tr '\n' ' ')
[ "$(echo $spare | wc -w)" -eq 2 ] || fail "no spare keys: $spare"
xmodmap -e "keycode ${spare%% *} = eacute Eacute" -e "keycode $(echo $spare | cut -d' ' -f2) = mu"

# A USB compound device: vendor and product IDs, names, three interfaces, and a signed driver
# package beside the INF.
usb=$work/usb
start_wizard
window "Tessaly Wizard - Hardware Bus"
keys F1
dialog "Tessaly Wizard Help" Escape
window "Tessaly Wizard - Hardware Bus"
keys alt+u Return
page="Tessaly Wizard - USB - Basic Device Information"
window "$page"
field alt+m 0x1234
field alt+o 0xABCD
field alt+r "Acme Instruments"
field alt+a "Model 42 Counter"
keys alt+c Tab
xdotool type 3
# Whatever Wine lists (it may list nothing), the picker is left without a choice.
keys alt+k
dialog "Attached USB Devices" Escape
window "$page"
keys alt+n
page="Tessaly Wizard - USB - Output Files"
window "$page"
field alt+p dev
field alt+d "Z:$usb"
keys alt+a alt+b
window "Tessaly Wizard - USB - Basic Device Information"
keys alt+n
window "$page"
keys alt+n
window "Tessaly Wizard"  # may the missing folder be created?
keys Return
window "Tessaly Wizard - Installation Options"
keys alt+n Return
finished
same "$usb/dev_WDM.inf" "$golden/wdm_compound.inf"
[ "$(ls "$usb" | tr '\n' ' ')" = "dev_WDM.inf package " ] || fail "USB: $(ls "$usb")"
[ "$(ls "$usb/package" | tr '\n' ' ')" = "dev.cat dev.cer dev.inf " ] ||
    fail "USB package: $(ls "$usb/package")"
# The golden package of the same device, with this run's prefix, names and default version.
sed -e 's/scope\./dev./g' -e 's/="Acme"/="Acme Instruments"/' -e 's/="Scope 5"/="Model 42 Counter"/' \
    -e 's/,1\.2\.3\.4/,1.0.0.0/' "$golden/package_usb_compound.inf" >"$work/package.inf"
same "$usb/package/dev.inf" "$work/package.inf"

# A PXI/PCI device with subsystem IDs and interrupts; Latin-1 names typed as they are.
pxi=$work/pxi
editor="ZEL-VISA PXI Interrupt Information"
start_wizard
window "Tessaly Wizard - Hardware Bus"
keys alt+u alt+p Return
page="Tessaly Wizard - PXI - Basic Device Information"
window "$page"
keys alt+l
dialog "Open Module Description File" Escape
window "$page"
keys alt+k
dialog "Attached PCI Devices" Escape
window "$page"
field alt+m 0xABCD
field alt+o 0x1234
keys alt+d
field alt+s 0x5678
field alt+u 0x9ABC
field alt+r 'Café "Labs" 100%'
field alt+a '5 µs Timer'
keys alt+g Return

page="Tessaly Wizard - PXI - Interrupt Detection Information"
window "$page"
# Next waits for a Compare step, with the focus on "Add a step after".
keys space
window "$editor"
keys alt+a b
field alt+f 0x10
field alt+m 0xFFFF
field alt+v 1
keys Return
gone "$editor"
window "$page"
# A second sequence, a step begun in it and given up, and the sequence removed again.
keys alt+s alt+b
dialog "$editor" alt+c
window "$page"
keys alt+q
# A step added before the first, chosen in the list and removed by its button.
keys alt+b
window "$editor"
field alt+f 0x20
keys alt+o
gone "$editor"
window "$page"
keys shift+Tab Home alt+r
# The list keys: F2 edits the chosen step (kept as it was), "Edit a step" too.
keys F2
dialog "$editor" Return
window "$page"
keys alt+e
dialog "$editor" Escape
window "$page"
keys alt+n

page="Tessaly Wizard - PXI - Interrupt Removal Information"
window "$page"
# The removal steps, each added after the last.
keys alt+a
window "$editor"
keys alt+t Home alt+w Home
field alt+f 4
keys Return
gone "$editor"
window "$page"
keys alt+a
window "$editor"
keys alt+t End alt+w End alt+a b Down
field alt+f 0x100
field alt+v 1
keys Return
gone "$editor"
window "$page"
# One added before the first and removed with Delete in the list; then edited in place.
keys alt+b
window "$editor"
field alt+f 0x30
keys Return
gone "$editor"
window "$page"
keys shift+Tab Home Delete F2
dialog "$editor" Return
window "$page"
keys alt+e
dialog "$editor" Escape
window "$page"
keys alt+r alt+b
window "$editor"
keys alt+t Home alt+w Home
field alt+f 4
keys Return
gone "$editor"
window "$page"
keys alt+n

page="Tessaly Wizard - PXI - Output Files"
window "$page"
field alt+p abcdefgh
field alt+d "Z:$pxi"
# The folder browser, left without a choice; Back keeps every entry.
keys alt+r
window "Browse for Folder"
keys Escape
gone "Browse for Folder"
window "$page"
keys alt+b
window "Tessaly Wizard - PXI - Interrupt Removal Information"
keys alt+n
window "$page"
keys alt+n
window "Tessaly Wizard"
keys Return
window "Tessaly Wizard - Installation Options"
keys alt+t alt+i Return
# 64-bit Windows ignores the seed INF: the wizard says so before installing it.
window "Tessaly Wizard"
keys Return
finished
for pair in abcde_RT.inf:pxi_subsys_RT.inf abcdefgh_9x.inf:pxi_subsys_9x.inf \
    abcdefgh_NT4.inf:pxi_subsys_NT4.inf abcdefgh_NT5.inf:pxi_subsys_NT5.inf \
    abcdefgh.ini:pxi_subsys.ini; do
    same "$pxi/${pair%%:*}" "$golden/${pair#*:}"
done
same "$drive_c/windows/inf/abcdefgh_NT5.inf" "$golden/pxi_subsys_NT5.inf"

# Started with a module file, the wizard writes the files into the default folder, once the user
# agrees to create it, and opens at the installation options. The default folder is the I/O
# library's own, whatever an earlier run of the program set.
"$wine" reg delete 'HKLM\SOFTWARE\Quorvane\ZEL-VISA for Windows 95/NT' /v InstDir /reg:32 /f \
    >/dev/null 2>&1 || true
mkdir -p "$drive_c/vxipnp/winnt"
rm -rf "$drive_c/vxipnp/winnt/abcdefgh"
start_wizard "Z:$golden/pxi_subsys.ini"
window "Tessaly Wizard"
keys Return
window "Tessaly Wizard - Installation Options"
keys alt+n Return
finished
grep -q '^Tessaly Wizard: warning: ManufName ' "$work/stderr" ||
    fail "the names' warning: $(cat "$work/stderr")"
same "$drive_c/vxipnp/winnt/abcdefgh/abcdefgh_NT5.inf" "$golden/pxi_subsys_NT5.inf"
same "$drive_c/vxipnp/winnt/abcdefgh/abcdefgh.ini" "$golden/pxi_subsys.ini"
echo ok
