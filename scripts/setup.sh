#!/usr/bin/env bash
# Installs what the build and the tests need, from Debian's packages, when it
# is missing. Safe to run again. "setup.sh cross" adds the tools of the
# Windows x64 and arm64 builds (scripts/test-cross.sh); "setup.sh clang" adds
# Debian's clang and clang-format (scripts/check-builds.sh); "setup.sh fuzz"
# adds clang and its libFuzzer and sanitizer runtimes (scripts/fuzz.sh).
set -euo pipefail

packages=(cmake g++ make pkg-config libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev rapidjson-dev
          libsimdjson-dev python3 python3-jsonschema binutils groff
          poppler-utils librsvg2-bin chromium zlib1g-dev)
case "${1:-}" in
  cross) packages+=(googletest g++-mingw-w64-x86-64-posix g++-aarch64-linux-gnu qemu-user wine64 wine) ;;
  clang) packages+=(clang clang-format) ;;
  fuzz) packages+=(clang-14 libclang-rt-14-dev) ;;
esac
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}" >/dev/null
fi
