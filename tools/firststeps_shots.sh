#!/usr/bin/env bash
# Redraws the pictures of the help page "はじめてのシナリオ" into
# docs/firststeps/: the editor on a fresh account (an empty home folder, so
# the starter pictures are copied as on a first start) going through a first
# scenario on a virtual screen (Xvfb). Run it again whenever the look changes.
# Usage: tools/firststeps_shots.sh [BUILD_DIR] [OUT_DIR]   (after a build)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
out=${2:-$top/docs/firststeps}
command -v xvfb-run >/dev/null || { echo "firststeps_shots.sh: xvfb-run is needed (apt-get install xvfb)" >&2; exit 1; }
cmake --build "$build" --target firststeps_shots >/dev/null
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -p "$out"
HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=dummy \
    timeout 120 xvfb-run -a -s "-screen 0 1600x1000x24" "$build/samples/firststeps_shots" "$out"
ls -l "$out"
