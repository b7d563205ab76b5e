#!/usr/bin/env bash
# Installs what is missing, builds, and makes the Debian package
# build/package/kinevo_VERSION_ARCH.deb (programs stripped, dependencies
# found by dpkg-shlibdeps). Install it with: sudo apt install ./build/package/kinevo_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
(cd build && cpack -G DEB >/dev/null)
ls build/package/*.deb
