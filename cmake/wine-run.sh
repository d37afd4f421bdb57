#!/usr/bin/env bash
# Runs a Windows program under wine with its own prefix, quietly.
# Usage: wine-run.sh PREFIX-FOLDER PROGRAM [ARGUMENTS...]
# The prefix is made on first use; scripts/test-cross.sh makes it once per run
# and stops its wineserver at the end.
set -euo pipefail
export WINEPREFIX="$1"
shift
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
wine=wine64
command -v wine64 >/dev/null 2>&1 || wine=wine
exec "$wine" "$@"
