#!/usr/bin/env bash
# Installs what is missing, then configures and builds rezuro in build/.
# Usage: scripts/build.sh [targets...]   (default: everything)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
jobs=$(nproc 2>/dev/null || echo 2)
if [[ $# -gt 0 ]]; then
    cmake --build build -j "$jobs" --target "$@"
else
    cmake --build build -j "$jobs"
fi
