#!/usr/bin/env bash
# Runs clang-tidy with the checked-in .clang-tidy over the files named, or
# over every source of the build; needs a configured build/ folder.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh clang-tidy
[ -f build/compile_commands.json ] || { echo "Configure first: scripts/build.sh" >&2; exit 2; }
if [ $# -gt 0 ]; then
  files=("$@")
else
  mapfile -t files < <(find app cli engine fhir output pages records -name '*.cpp' | sort)
fi
clang-tidy -p build --quiet "${files[@]}"
