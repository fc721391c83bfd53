#!/usr/bin/env bash
# A field of the demo out to Tiled and back, the steps around the painting:
#   tools/tmx_roundtrip.sh export [BUILD_DIR] [WORK_DIR]
#       builds the demo, copies demo.snr to WORK_DIR and writes its first field
#       as WORK_DIR/map/field1.tmx with its tilesets. Open that map in Tiled,
#       paint on the 地形 layer with the 地形 tileset, save (keep TMX).
#   tools/tmx_roundtrip.sh import [BUILD_DIR] [WORK_DIR]
#       reads the saved map back into WORK_DIR/demo-edited.snr, shows what
#       changed, writes the field before and after as bitmaps and as Tiled
#       draws the saved map (tiled-drawn.png, when tmxrasterizer is installed),
#       and checks that importing the same map again changes nothing.
# Open WORK_DIR/demo-edited.snr in the editor to see the result there.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
step=${1:-}
build=$(cd "${2:-$top/build}" && pwd)
work=${3:-$top/build/tmx-roundtrip}
cli=$build/src/app/quorantel-cli
demo=$build/samples/demo
mkdir -p "$work"

case $step in
export)
    cmake --build "$build" --target quorantel-cli samples >/dev/null
    cp "$demo/demo.snr" "$work/demo.snr"
    "$cli" export-tmx "$work/demo.snr" 1 "$work/map" --resources "$demo/resources"
    echo "now open $work/map/field1.tmx in Tiled, paint, save; then: $0 import $build $work"
    ;;
import)
    "$cli" import-tmx "$work/demo.snr" 1 "$work/map/field1.tmx" -o "$work/demo-edited.snr"
    echo "bytes that differ from the demo: $(cmp -l "$work/demo.snr" "$work/demo-edited.snr" | wc -l)"
    "$cli" export-bmp "$work/demo.snr" 1 "$work/before.bmp" --resources "$demo/resources"
    "$cli" export-bmp "$work/demo-edited.snr" 1 "$work/after.bmp" --resources "$demo/resources"
    if command -v tmxrasterizer >/dev/null; then
        QT_QPA_PLATFORM=offscreen tmxrasterizer "$work/map/field1.tmx" "$work/tiled-drawn.png"
    fi
    "$cli" import-tmx "$work/demo-edited.snr" 1 "$work/map/field1.tmx" -o "$work/again.snr" >/dev/null
    cmp "$work/demo-edited.snr" "$work/again.snr" && echo "importing it again changes nothing"
    "$cli" check "$work/demo-edited.snr" --resources "$demo/resources" | tail -1
    echo "see $work/before.bmp, $work/after.bmp; open $work/demo-edited.snr in the editor"
    ;;
*)
    echo "usage: $0 export|import [BUILD_DIR] [WORK_DIR]" >&2
    exit 1
    ;;
esac
