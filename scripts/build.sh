#!/usr/bin/env bash
# build.sh <build-dir> [cmake options...]: configures when the directory is new or the options
# changed (CMake's warnings stay visible), then builds incrementally.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$1
shift
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
options="${launcher[*]} $*"
stamp="$dir/.tessaly-configure-options"
if [ ! -f "$dir/build.ninja" ] || [ "$(cat "$stamp" 2>/dev/null)" != "$options" ]; then
    cmake -S . -B "$dir" -G Ninja "${launcher[@]}" "$@" >/dev/null
    printf '%s' "$options" >"$stamp"
fi
cmake --build "$dir"
