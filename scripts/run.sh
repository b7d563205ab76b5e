#!/usr/bin/env bash
# Installs, builds and runs the program's main job on the shipped example case.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
build/bin/kinevo-calc examples/gentamicin.json
