#!/usr/bin/env bash
# Fuzzes kinevo-calc's input handling with libFuzzer for SECONDS (default 60):
# installs clang and its libFuzzer runtime, builds with AddressSanitizer and
# UBSan in build-fuzz/, seeds from examples/ and tests/cli/regression/.
# The corpus grows in build-fuzz/corpus/ from run to run; each finding (crash,
# leak, timeout after 10 s, out of memory) of a run lands in
# build-fuzz/findings/DATE-TIME/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
scripts/setup.sh clang libclang-rt-dev
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DKINEVO_FUZZ=ON >/dev/null
cmake --build build-fuzz --target kinevo-calc-fuzz --parallel 2

findings=build-fuzz/findings/$(date +%Y%m%d-%H%M%S)
mkdir -p build-fuzz/corpus build-fuzz/seeds "$findings"
cp examples/*.json tests/cli/regression/*.json build-fuzz/seeds/
# One forked worker: a finding is saved and the run goes on, so one slow
# input does not end it early.
build-fuzz/bin/kinevo-calc-fuzz -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 \
  -dict=fuzz/json.dict -artifact_prefix="$findings/" \
  build-fuzz/corpus build-fuzz/seeds 2>&1 | tee build-fuzz/fuzz.log | grep -E '^#|INFO: exiting|ERROR' || true

echo "last figures: $(grep -E '^#[0-9]+' build-fuzz/fuzz.log | tail -1)"
echo "findings of this run in $findings/: $(find "$findings" -type f | wc -l)"
find "$findings" -type f | sort
