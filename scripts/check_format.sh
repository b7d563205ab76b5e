#!/usr/bin/env bash
# Fails, naming the lines, when any C++ source differs from .clang-format.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(find app bench cli engine fhir fuzz output pages records tests -name '*.cpp' -o -name '*.h' | sort)
if ! clang-format --dry-run --Werror "${files[@]}"; then
  echo "Not formatted: run clang-format -i on the files named above." >&2
  exit 1
fi
