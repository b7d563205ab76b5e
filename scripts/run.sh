#!/usr/bin/env bash
# Installs what is missing, builds, and starts the Kinevo program on the
# database a fresh build sets up beside it (build/bin/data/Patients.mdb).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display to show Kinevo on: run it with a display, or under a virtual one: xvfb-run -a build/bin/kinevo"
  exit 0
fi
exec build/bin/kinevo
