#!/usr/bin/env bash
# Installs the Debian packages Kinevo builds and tests with, and any packages
# named as arguments; a no-op when all are present.
set -euo pipefail
packages=(
  cmake ninja-build g++ pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libsqlite3-dev sqlite3 libpq-dev postgresql nlohmann-json3-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev libxkbcommon-dev
  xvfb xauth poppler-utils openbox clang-format
  dpkg-dev
  "$@"
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -y
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y --no-install-recommends "${missing[@]}"
fi
