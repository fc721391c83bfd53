#!/usr/bin/env bash
# Redraws docs/screenshot.png: the editor on the demo scenario with the
# palette and the field manager open, on a virtual screen (Xvfb), with fresh
# settings so the windows take their first-start places.
# Usage: tools/screenshot.sh [BUILD_DIR] [OUT.png]   (after a build)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
out=${2:-$top/docs/screenshot.png}
command -v xvfb-run >/dev/null || { echo "screenshot.sh: xvfb-run is needed (apt-get install xvfb)" >&2; exit 1; }
cmake --build "$build" --target quorantel samples >/dev/null
demo=$build/samples/demo
settings=$(mktemp -d)
trap 'rm -rf "$settings"' EXIT
mkdir -p "$(dirname "$out")"
# The editor saves the picture and quits once the demo is open (main.cpp).
HOME=$settings XDG_CONFIG_HOME=$settings/config QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=dummy \
QRN_SCREENSHOT=$out QRN_SCREENSHOT_TOOLS=1 \
    timeout 60 xvfb-run -a -s "-screen 0 1920x1080x24" \
    "$build/src/app/quorantel" --resources "$demo/resources" "$demo/demo.snr"
echo "wrote $out"
