#!/usr/bin/env bash
# Sets up, builds and runs every test: once in the normal build and once
# under AddressSanitizer and UndefinedBehaviorSanitizer; in each, the
# validator then checks the module at level 5.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
jobs="$(nproc)"
for preset in default sanitize; do
  echo "== $preset build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j"$jobs"
  ctest --preset "$preset" -j"$jobs"
  echo "== $preset: validate --level 5"
  "build/$preset/driver/cleartrace-host" validate --level 5
done
