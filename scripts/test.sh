#!/usr/bin/env bash
# Installs, builds and runs every test; fails when any test fails.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2
