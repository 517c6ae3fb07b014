#!/usr/bin/env bash
# build.sh <build-dir> [cmake options...]: configures once and builds incrementally.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$1
shift
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
if [ ! -f "$dir/build.ninja" ]; then
    cmake -S . -B "$dir" -G Ninja "${launcher[@]}" "$@" >/dev/null
fi
cmake --build "$dir"
