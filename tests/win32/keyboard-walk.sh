#!/bin/sh
# keyboard-walk.sh <wine> <tessaly-wizard.exe> <golden folder>
# Started with no argument, as from the desktop, the wizard is walked with the keyboard alone:
# keys typed into its X window on Xvfb (xdotool), as a person without a mouse would, along the
# USB compound path and the PXI/PCI path with interrupts, using the mnemonics each page offers.
# The written files must equal the golden files byte for byte. Runs in $WINEPREFIX on $DISPLAY.
set -eu
wine=$1 exe=$2 golden=$3
work=$(mktemp -d)
drive_c=$WINEPREFIX/drive_c
trap 'kill "$wizard" 2>/dev/null || true; rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# same <written> <golden>: byte for byte, else the first differing lines are shown.
same() {
    cmp -s "$1" "$2" && return 0
    diff "$2" "$1" | head -n 6 >&2 || true
    fail "$1 differs from $2"
}

# window <title>: waits for the window of that exact title and gives it the keyboard.
window() {
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

# wizard_run <folder>: starts the program with no argument and remembers it.
start_wizard() {
    "$wine" "$exe" >"$work/stdout" 2>"$work/stderr" &
    wizard=$!
}

finished() {
    for _ in $(seq 100); do
        kill -0 "$wizard" 2>/dev/null || { wait "$wizard" || fail "exit status $?"; return; }
        sleep 0.2
    done
    fail "the wizard is still open: $(xdotool search --name 'Tessaly' getwindowname %@ 2>/dev/null)"
}

# A USB compound device: vendor and product IDs, names, three interfaces.
usb=$work/usb
start_wizard
window "Tessaly Wizard - Hardware Bus"
keys alt+u Return
window "Tessaly Wizard - USB - Basic Device Information"
field alt+m 0x1234
field alt+o 0xABCD
field alt+r "Acme Instruments"
field alt+a "Model 42 Counter"
keys alt+c Tab
xdotool type 3
keys Return
window "Tessaly Wizard - USB - Output Files"
field alt+p dev
field alt+d "Z:$usb"
keys Return
window "Tessaly Wizard"  # may the missing folder be created?
keys Return
window "Tessaly Wizard - Installation Options"
keys alt+n Return
finished
same "$usb/dev_WDM.inf" "$golden/wdm_compound.inf"
[ "$(ls "$usb")" = dev_WDM.inf ] || fail "USB: more than the one file: $(ls "$usb")"

# A PXI/PCI device with subsystem IDs and interrupts; Latin-1 names typed as they are.
pxi=$work/pxi
start_wizard
window "Tessaly Wizard - Hardware Bus"
keys alt+u alt+p Return
window "Tessaly Wizard - PXI - Basic Device Information"
field alt+m 0xABCD
field alt+o 0x1234
keys alt+d
field alt+s 0x5678
field alt+u 0x9ABC
field alt+r 'Café "Labs" 100%'
field alt+a '5 µs Timer'
keys alt+g Return
window "Tessaly Wizard - PXI - Interrupt Detection Information"
# Next waits for a Compare step, with the focus on "Add a step after".
keys space
window "ZEL-VISA PXI Interrupt Information"
keys alt+a b
field alt+f 0x10
field alt+m 0xFFFF
field alt+v 1
keys Return
window "Tessaly Wizard - PXI - Interrupt Detection Information"
keys alt+n
window "Tessaly Wizard - PXI - Interrupt Removal Information"
# The removal steps, each added after the last.
keys alt+a
window "ZEL-VISA PXI Interrupt Information"
keys alt+t Home alt+w Home
field alt+f 4
keys Return
gone "ZEL-VISA PXI Interrupt Information"
window "Tessaly Wizard - PXI - Interrupt Removal Information"
keys alt+a
window "ZEL-VISA PXI Interrupt Information"
keys alt+t End alt+w End alt+a b Down
field alt+f 0x100
field alt+v 1
keys Return
gone "ZEL-VISA PXI Interrupt Information"
window "Tessaly Wizard - PXI - Interrupt Removal Information"
keys alt+n
window "Tessaly Wizard - PXI - Output Files"
field alt+p abcdefgh
field alt+d "Z:$pxi"
keys Return
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
echo ok
