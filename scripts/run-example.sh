#!/usr/bin/env bash
# Sets up, builds, and runs the driver on the bundled example scene with a
# short session: find the missing plug-ins, then list, identify and remove
# a lingering plug-in, and undo; at the end, remove every missing plug-in
# (a render engine's material and video post among them) in one step, the
# cube below a missing generator object kept in a Null in its place.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default -j"$(nproc)" >/dev/null
exec build/default/driver/cleartrace-host --script example_scenes/legacy_cleanup.session example_scenes/legacy_plugins.json
