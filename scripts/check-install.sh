#!/usr/bin/env bash
# check-install.sh <build-dir>: installs the build into a temporary prefix and checks that the
# program lands there as a desktop application: the launcher, the icon in every size, the
# software-centre entry and the manual page, each accepted by its validator.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

id=org.tessaly.Wizard
share=$prefix/share
for file in bin/tessaly-wizard lib/tessaly-wizard/libtessaly-gui.so \
    share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
    share/man/man1/tessaly-wizard.1 share/icons/hicolor/scalable/apps/$id.svg \
    share/icons/hicolor/{16x16,32x32,48x48,64x64}/apps/$id.png; do
    [ -f "$prefix/$file" ] || { echo "not installed: $file"; exit 1; }
done

# Each validator must pass without a hint or warning.
hints=$(desktop-file-validate "$share/applications/$id.desktop")
if [ -n "$hints" ]; then
    echo "$hints"
    exit 1
fi
appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml"
warnings=$(MANWIDTH=80 man --warnings -l "$share/man/man1/tessaly-wizard.1" 2>&1 >/dev/null)
if [ -n "$warnings" ]; then
    echo "$warnings"
    exit 1
fi
"$prefix/bin/tessaly-wizard" --version
echo "Installed files are valid."
