#!/usr/bin/env bash
# The whole test suite: installs what is missing, builds, and runs every test
# with CTest (unit tests headless on Mesa's software OpenGL, end-to-end tests
# under Xvfb). Extra arguments go to ctest, e.g. scripts/test.sh -L gpu
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
cd build
ctest --output-on-failure --timeout 900 -j 2 "$@"
