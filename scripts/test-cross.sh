#!/usr/bin/env bash
# Cross builds and their tests: Windows x64 (mingw-w64, run under wine) and
# arm64 Linux (run under qemu-user). Installs the cross tools when missing,
# builds both targets, runs their test suites and the validator, checks the shipped folders and
# the packages (their files, the modules' imports and exports), and compares the driver's output
# for every session script on Linux x86-64, Windows x64 and arm64: it must be
# byte-identical.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
bash scripts/setup.sh cross

jobs="$(nproc)"
# One wine prefix per run, made before the tests so they do not race to make
# it, and its wineserver stopped however the run ends.
export WINEPREFIX="$root/build/windows-x64/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
trap 'wineserver -k 2>/dev/null || true' EXIT
wineboot --init >/dev/null 2>&1

cmake --preset default >/dev/null
cmake --build --preset default -j"$jobs"
for preset in windows-x64 linux-arm64; do
  echo "== $preset build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j"$jobs"
  ctest --preset "$preset" -j"$jobs"
done

# The validator on each target, at a short level: its checks start the
# program again, under wine through wine, under qemu through the launcher.
echo "== validate --level 1 on windows-x64"
"$root/cmake/wine-run.sh" "$WINEPREFIX" build/windows-x64/driver/cleartrace-host.exe validate --level 1
echo "== validate --level 1 on linux-arm64"
build/linux-arm64/tests/cleartrace-host-emulated validate --level 1

echo "== shipped folders"
status=0
for build in default windows-x64 linux-arm64; do
  folder="build/$build/Cleartrace"
  module=$(find "$folder" -maxdepth 1 -name 'cleartrace.*' | head -n 1)
  for file in "$module" "$folder/res/strings.txt" "$folder/res/qvx32x32.png" "$folder/Cleartrace.pdf"; do
    if [ -z "$file" ] || [ ! -s "$file" ]; then
      echo "missing in $folder: ${file:-the module file}"
      status=1
    fi
  done
  # grep reads to the end: one that stops at the first match ends pdftotext with SIGPIPE, which pipefail reports.
  pdftotext -q "$folder/Cleartrace.pdf" - | grep "Undoing a removal" >/dev/null || { echo "$folder/Cleartrace.pdf has no text"; status=1; }
done

for build in windows-x64 linux-arm64; do
  echo "== $build package"
  bash scripts/check-package.sh "build/$build" || status=1
done

echo "== driver output on Linux x86-64, Windows x64 and arm64"
native="$root/build/default/driver/cleartrace-host"
windows="$root/build/windows-x64/driver/cleartrace-host.exe"
arm64="$root/build/linux-arm64/driver/cleartrace-host"
compare="$root/build/cross-compare"
rm -rf "$compare"
mkdir -p "$compare"
cd tests/driver/sessions
for script in *.session; do
  name="${script%.session}"
  scene=()
  [ -f "$name.scene.json" ] && scene=("$name.scene.json")
  for format in text json; do
    options=()
    [ "$format" = json ] && options=(--json)
    run() {  # target, program...
      local target="$1"
      shift
      local code=0
      "$@" "${options[@]}" --script "$script" "${scene[@]}" >"$compare/$name.$format.$target" 2>&1 || code=$?
      echo "exit status $code" >>"$compare/$name.$format.$target"
    }
    # The three targets side by side: starting wine or qemu, not the session, takes the time.
    run linux-x64 "$native" &
    run windows-x64 "$root/cmake/wine-run.sh" "$WINEPREFIX" "$windows" &
    run linux-arm64 qemu-aarch64 -L /usr/aarch64-linux-gnu "$arm64" &
    wait
    for target in windows-x64 linux-arm64; do
      if cmp -s "$compare/$name.$format.linux-x64" "$compare/$name.$format.$target"; then
        echo "same: $name ($format) on $target"
      else
        echo "DIFFERENT: $name ($format) on $target"
        diff "$compare/$name.$format.linux-x64" "$compare/$name.$format.$target" | head -n 20 || true
        status=1
      fi
    done
  done
done
exit $status
