#!/bin/sh
# imports.sh <objdump> <program.exe>: the program imports only DLLs that every Windows has, so it
# runs when copied alone onto a bare machine (no C++ runtime, no toolkit beside it).
set -eu
objdump=$1 exe=$2
# The system's own DLLs: the Windows API, its common controls and dialogs, and the cryptography
# that signs driver packages.
allowed=$(echo ADVAPI32 BCRYPT COMCTL32 COMDLG32 CRYPT32 GDI32 KERNEL32 MSVCRT NCRYPT OLE32 \
    SETUPAPI SHELL32 USER32 WININET)
imports=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'a-z' 'A-Z')
[ -n "$imports" ] || { echo "FAIL: no import list in $exe" >&2; exit 1; }
status=0
for dll in $imports; do
    case " $allowed " in
    *" ${dll%.DLL} "*) ;;
    *) echo "FAIL: $exe imports $dll" >&2; status=1 ;;
    esac
done
[ $status -eq 0 ] && echo "ok: $(echo $imports)"
exit $status
