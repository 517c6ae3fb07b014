#!/usr/bin/env bash
# Installs what is missing, builds, and starts the wizard; arguments go to the wizard.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build/release -DCMAKE_BUILD_TYPE=Release -DTESSALY_BUILD_TESTS=OFF >&2
exec build/release/app/tessaly-wizard "$@"
