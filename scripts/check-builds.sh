#!/usr/bin/env bash
# What CI checks beyond the README's test command, natively: the formatting of
# every tracked source, a clang Release build with its tests (warnings as
# errors), and the Linux package's contents.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh clang
jobs="$(nproc)"

echo "== formatting"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

echo "== clang build"
cmake --preset clang >/dev/null
cmake --build --preset clang -j"$jobs"
ctest --preset clang -j"$jobs"

echo "== Linux package"
cmake --preset default >/dev/null
cmake --build --preset default -j"$jobs"
bash scripts/check-package.sh build/default
