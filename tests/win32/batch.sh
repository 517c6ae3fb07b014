#!/bin/sh
# batch.sh <wine> <tessaly-wizard.exe> <golden folder> <PnpProbe.exe> <CatalogProbe.exe>
#          <key fixtures folder>
# The build-script mode of the Windows program, in the Wine prefix $WINEPREFIX, with the cases
# the Linux build's end-to-end tests run: golden files, bad module files between good ones, a
# combination module, a prefix written twice, USB devices, usage errors, nothing outside DIR;
# and driver packages, checked by osslsigncode, wintrust and setupapi.
set -eu
wine=$1 exe=$2 golden=$3 pnp_probe=$4 catalog_probe=$5 fixtures=$6
drive_c=$WINEPREFIX/drive_c
out=$drive_c/batch/new
work=$(mktemp -d)
device='PCI\VEN_ABCD&DEV_4321'
rm -rf "$drive_c/batch" "$drive_c/BatchRM"
cleanup() {
    rm -rf "$work" "$drive_c/batch" "$drive_c/BatchRM"
    "$wine" reg delete 'HKLM\SOFTWARE\Quorvane\ZEL-PXIRM' /reg:32 /f >/dev/null 2>&1 || true
    "$wine" "$pnp_probe" remove "$device" >/dev/null 2>&1 || true
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# run <expected status> <arguments...>: standard output and error (without CR) in $work.
run() {
    expected=$1
    shift
    status=0
    "$wine" "$exe" "$@" >"$work/stdout.raw" 2>"$work/stderr.raw" || status=$?
    tr -d '\r' <"$work/stdout.raw" >"$work/stdout"
    tr -d '\r' <"$work/stderr.raw" >"$work/stderr"
    [ "$status" -eq "$expected" ] ||
        fail "exit status $status, not $expected, for $*: $(cat "$work/stderr")"
}

# same <file> <golden name>
same() {
    cmp "$1" "$golden/$2" || fail "$1 differs from $2"
}

count() {
    find "$1" -type f | wc -l
}

module() { # module <registration> <model name>
    printf '[Module]\r\nModuleName = "%s"\r\nModelCode = 0x1234\r\nManufCode = 0xABCD\r\nVISARegistration = %s\r\n' \
        "$2" "$1" >"$work/$3"
}

# Module files into one folder, byte for byte; --list prints the paths, nothing else.
run 0 --list --output 'C:\batch\new' "Z:$golden/pxi_subsys.ini" "Z:$golden/pxi_lower.ini" \
    "Z:$golden/mdf_simple.ini"
for pair in abcde_RT.inf:pxi_subsys_RT.inf abcdefgh_9x.inf:pxi_subsys_9x.inf \
    abcdefgh_NT4.inf:pxi_subsys_NT4.inf abcdefgh_NT5.inf:pxi_subsys_NT5.inf \
    abcdefgh.ini:pxi_subsys.ini; do
    same "$out/abcdefgh/${pair%%:*}" "${pair#*:}"
done
for suffix in RT 9x NT4 NT5; do
    same "$out/lc/lc_$suffix.inf" "pxi_lower_$suffix.inf"
done
same "$out/lc/lc.ini" pxi_lower.ini
same "$out/PXI-4321Digitizer/PXI-4321Digitizer.ini" mdf_simple.ini
[ "$(count "$out")" -eq 15 ] || fail "not 15 files: $(find "$out" -type f)"
[ "$(wc -l <"$work/stdout")" -eq 15 ] || fail "list: $(cat "$work/stdout")"
grep -qxF 'C:\batch\new\lc\lc_NT5.inf' "$work/stdout" || fail "list: $(cat "$work/stdout")"
[ "$(grep -c ': warning: ' "$work/stderr")" -eq 2 ] || fail "warnings: $(cat "$work/stderr")"

# Bad module files between good ones: each named, the good ones written, status 1.
rm -rf "$drive_c/batch"
module One One one.ini
module Two Two two.ini
module Blocked Blocked blocked.ini
printf '[Notes]\r\n' >"$work/notes.txt"
mkdir -p "$work/folder.ini" "$out"
printf 'a file where the folder goes' >"$out/Blocked"
run 1 -o 'C:\batch\new' "Z:$work/one.ini" "Z:$work/missing.ini" "Z:$work/folder.ini" \
    "Z:$work/notes.txt" "Z:$work/blocked.ini" "Z:$work/two.ini"
for line in 'missing.ini: There is no such file.' 'folder.ini: The file "' \
    'notes.txt: The file you selected is not a valid module description file.' \
    'blocked.ini: The files cannot be written into "C:\batch\new\Blocked".'; do
    grep -qF "$line" "$work/stderr" || fail "no \"$line\" in: $(cat "$work/stderr")"
done
[ "$(ls "$out" | tr '\n' ' ')" = "Blocked One Two " ] || fail "folders: $(ls "$out")"
[ "$(count "$out/Two")" -eq 5 ] || fail "Two: $(ls "$out/Two")"

# A combination module: every function, each as a /Function:<n> run writes it alone.
printf '[Module]\r\nModuleName = "Combo"\r\nFunctionList = 1,2,3\r\n[Function1]\r\nModelCode = 0x1111\r\nManufCode = 0xABCD\r\nVISARegistration = One\r\n[Function2]\r\nType = InternalBridge\r\nDeviceList = 0\r\n[Device0]\r\nModelCode = 0x2222\r\nManufCode = 0xABCD\r\nVISARegistration = Two\r\n[Function3]\r\nModelCode = 0x3333\r\nManufCode = 0xABCD\r\nVISARegistration = Simple\r\n' \
    >"$work/combo.ini"
rm -rf "$drive_c/batch"
run 0 --output 'C:\batch\new' "Z:$work/combo.ini"
for n in 1 2 3; do
    run 0 "--output=C:\\batch\\single" "Z:$work/combo.ini" "/Function:$n"
done
[ "$(count "$out")" -eq 15 ] || fail "combination: $(find "$out" -type f)"
diff -r "$out" "$drive_c/batch/single" >/dev/null || fail "the functions differ from single runs"

# The same prefix twice, in any letter case: the later one refused, the first one's files kept.
rm -rf "$drive_c/batch"
module Scope9 First first.ini
module SCOPE9 Upper upper.ini
run 1 -o 'C:\batch\new' "Z:$work/first.ini" "Z:$work/upper.ini"
grep -qF 'upper.ini: The prefix "SCOPE9" is already written by' "$work/stderr" ||
    fail "no refusal: $(cat "$work/stderr")"
[ "$(ls "$out")" = Scope9 ] || fail "folders: $(ls "$out")"
grep -qF 'ModuleName = "First"' "$out/Scope9/Scope9.ini" || fail "the first module's file changed"

# USB devices: the wizard's WDM INF for the same entries; refused values write nothing.
rm -rf "$drive_c/batch"
run 0 -o 'C:\batch\new' --usb 0x1234:0xABCD --prefix dev --manufacturer 'Acme Instruments' \
    --model 'Model 42 Counter'
same "$out/dev/dev_WDM.inf" wdm_simple.inf
run 0 -o 'C:\batch\new' --usb=4660:0125715 --prefix=dev --manufacturer 'Acme Instruments' \
    --model 'Model 42 Counter' --interfaces 3
same "$out/dev/dev_WDM.inf" wdm_compound.inf
run 0 -o 'C:\batch\new' --usb 1:2 --prefix 'Café' --model '5 µs'
grep -q "$(printf 'Caf\351_WDM.inf\r')" "$out/Café/Café_WDM.inf" || fail "prefix not in cp1252"
grep -q "$(printf 'DeviceDesc="5 \265s"')" "$out/Café/Café_WDM.inf" || fail "name not in cp1252"
rm -rf "$drive_c/batch"
run 1 -o 'C:\batch\new' --usb 0:0x1FFFF --prefix 'a b' --interfaces 100
[ ! -e "$drive_c/batch" ] || fail "refused values wrote: $(find "$drive_c/batch")"
[ "$(grep -c '^Tessaly Wizard: --' "$work/stderr")" -eq 3 ] || fail "$(cat "$work/stderr")"

# Usage errors: status 2, the usage, nothing written.
for arguments in "Z:$work/one.ini /SilentAutoInstal" "--outptu C:\\batch Z:$work/one.ini" \
    "--output" "-o C:\\batch --usb 1:2" "-o C:\\batch --package --sign-key k Z:$work/one.ini"; do
    # shellcheck disable=SC2086
    run 2 $arguments
    grep -q '^Usage: tessaly-wizard' "$work/stderr" || fail "no usage for $arguments"
done
[ ! -e "$drive_c/batch" ] || fail "a usage error wrote: $(find "$drive_c/batch")"

# Nothing outside DIR without --install, though the registry names the I/O library's folder and
# the resource manager's; with it, the INF is installed and the module file copied.
"$wine" reg add 'HKLM\SOFTWARE\Quorvane\ZEL-PXIRM\CurrentVersion' /v Path /d 'C:\BatchRM' \
    /reg:32 /f >/dev/null 2>&1
mkdir -p "$drive_c/BatchRM/Hardware Descriptions"
inf_before=$(ls "$drive_c/windows/inf")
vxipnp_before=$(find "$drive_c/vxipnp" "$drive_c/Instruments" 2>/dev/null | sort)
run 0 -o 'C:\batch\new' "Z:$work/one.ini"
run 0 -o 'C:\batch\new' --usb 1:2 --prefix Usb
[ "$(ls "$drive_c/windows/inf")" = "$inf_before" ] || fail "the Windows inf folder changed"
[ "$(find "$drive_c/vxipnp" "$drive_c/Instruments" 2>/dev/null | sort)" = "$vxipnp_before" ] ||
    fail "the default folder changed"
[ -z "$(ls "$drive_c/BatchRM/Hardware Descriptions")" ] || fail "the resource manager got a copy"
run 0 --install -o 'C:\batch\new' "Z:$work/one.ini"
cmp "$drive_c/windows/inf/One_NT5.inf" "$out/One/One_NT5.inf" || fail "installed INF"
grep -qF 'one.ini: warning: 64-bit Windows does not use this INF file' "$work/stderr" ||
    fail "no warning that 64-bit Windows ignores the INF: $(cat "$work/stderr")"
cmp "$drive_c/BatchRM/Hardware Descriptions/Modules/One.ini" "$out/One/One.ini" ||
    fail "resource manager copy"
rm -f "$drive_c/windows/inf/One_NT5.inf" "$drive_c/windows/inf/One_NT5.pnf"

# Driver packages. With the fixture key, SOURCE_DATE_EPOCH and a driver version, the golden
# device's package is the one the Linux build writes, byte for byte. The golden device is the
# golden module's with a second detection sequence.
rm -rf "$drive_c/batch"
cr=$(printf '\r')
LC_ALL=C sed "s/^NumDetectSequences = 1$cr\$/NumDetectSequences = 2$cr\\
InterruptDetect1 = \"C8 CFG 0x00000044 0xFF 0x01;\"$cr/" "$golden/pxi_subsys.ini" >"$work/golden.ini"
export SOURCE_DATE_EPOCH=1700000000
run 0 -o 'C:\batch\new' --list --package --driver-version 1.2.3.4 \
    --sign-key "Z:$fixtures/signer.key" --sign-cert "Z:$fixtures/signer.crt" "Z:$work/golden.ini"
unset SOURCE_DATE_EPOCH
same "$out/abcdefgh/package/abcdefgh.inf" package_pxi_subsys.inf
same "$out/abcdefgh/package/abcdefgh.cat" package_pxi_subsys.cat
[ "$(ls "$out/abcdefgh/package" | tr '\n' ' ')" = "abcdefgh.cat abcdefgh.inf " ] ||
    fail "package: $(ls "$out/abcdefgh/package")"
grep -qxF 'C:\batch\new\abcdefgh\package\abcdefgh.inf' "$work/stdout" || fail "list: $(cat "$work/stdout")"

# A key that is not the certificate's: named, no package, the seed's files written.
rm -rf "$drive_c/batch"
run 1 -o 'C:\batch\new' --package --sign-key "Z:$fixtures/other.key" \
    --sign-cert "Z:$fixtures/signer.crt" "Z:$work/one.ini"
grep -qF 'one.ini: The driver package was not written: the key in Z:' "$work/stderr" ||
    fail "no refusal: $(cat "$work/stderr")"
[ "$(count "$out")" -eq 5 ] || fail "not the seed's five files: $(find "$out" -type f)"

# A package with a certificate made for it, installed for a device that is there: the program
# says what it trusts, and the three readers accept what it wrote. osslsigncode on Linux checks
# the signature against the written certificate; wintrust finds the INF's member and its
# SHA-256; setupapi installs the package (only its x64 models can match in this 64-bit prefix).
rm -rf "$drive_c/batch"
printf '[Module]\r\nModuleName = "Dev 4321"\r\nModelCode = 0x4321\r\nManufCode = 0xABCD\r\nVISARegistration = Dev\r\n' \
    >"$work/dev.ini"
"$wine" "$pnp_probe" remove "$device" >/dev/null 2>&1 || true
"$wine" "$pnp_probe" create "$device" >/dev/null 2>&1 || fail "cannot create the test device"
run 0 -o 'C:\batch\new' --package --install "Z:$work/dev.ini"
package=$out/Dev/package
[ "$(ls "$package" | tr '\n' ' ')" = "Dev.cat Dev.cer Dev.inf " ] || fail "package: $(ls "$package")"
openssl x509 -inform DER -in "$package/Dev.cer" -out "$work/dev.pem" || fail "Dev.cer"
osslsigncode verify -in "$package/Dev.cat" -CAfile "$work/dev.pem" >"$work/verify" 2>&1 ||
    fail "osslsigncode: $(cat "$work/verify")"
"$wine" "$catalog_probe" 'C:\batch\new\Dev\package\Dev.cat' 'C:\batch\new\Dev\package\Dev.inf' \
    >"$work/catalog" 2>&1 || fail "wintrust: $(cat "$work/catalog")"
"$wine" "$pnp_probe" describe "$device" >"$work/device" 2>/dev/null || fail "the test device is gone"
[ "$(head -n 1 "$work/device" | tr -d '\r')" = "Dev 4321" ] ||
    fail "the package is not installed: $(cat "$work/device")"
thumbprint=$(openssl x509 -inform DER -in "$package/Dev.cer" -noout -fingerprint -sha1 |
    sed 's/.*=//; s/://g')
grep -qF "Thumbprint: $thumbprint" "$work/stderr" || fail "thumbprint not said: $(cat "$work/stderr")"
grep -qF 'Subject: CN=Dev driver package' "$work/stderr" || fail "subject: $(cat "$work/stderr")"
# In the XP/2000 INF's place: that one is not installed.
[ ! -e "$drive_c/windows/inf/Dev_NT5.inf" ] || fail "the XP/2000 INF was installed too"
echo "ok"
