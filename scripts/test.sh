#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: once with g++, once under
# AddressSanitizer and UndefinedBehaviorSanitizer with clang (which also runs the fuzz targets
# briefly on their seed corpora), once cross-built for Windows and run under Wine, and checks the
# formatting.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen

echo "== build and test (g++, RelWithDebInfo)"
scripts/build.sh build/ci -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSALY_BENCHMARKS=ON \
    -DTESSALY_WERROR=ON
ctest --test-dir build/ci --output-on-failure -j2

echo "== install into a temporary prefix and validate the desktop files"
scripts/check-install.sh build/ci

echo "== build and test (clang, AddressSanitizer + UndefinedBehaviorSanitizer)"
CXX=clang++ scripts/build.sh build/asan -DCMAKE_BUILD_TYPE=Debug \
    -DTESSALY_SANITIZE=address,undefined -DTESSALY_FUZZ=ON -DTESSALY_WERROR=ON
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build/asan --output-on-failure -j2

echo "== cross-build for Windows (mingw-w64, Release as the README builds it) and test under Wine"
windows_start=$SECONDS
scripts/build.sh build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release -DTESSALY_WERROR=ON
ctest --test-dir build/win64 --output-on-failure -j2
echo "Windows build and tests: $((SECONDS - windows_start)) s"

echo "== formatting"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

echo "All tests passed."
