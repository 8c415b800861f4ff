#!/usr/bin/env bash
# Regenerates the pixel CRC table of the skin images after a deliberate change to the
# artwork (or to the raster library's output); review the images before committing.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
dir=${1:-$root/build}
QD_TARGETS="skingen" "$root/tools/build.sh" "$dir"
FONTCONFIG_FILE="$dir/fonts/fonts.conf" "$dir/tools/skingen/skingen" "$root/tools/skingen/manifest.tsv" --crc-table > "$root/tests/skingen/skin_crc_table.inc"
echo "updated tests/skingen/skin_crc_table.inc"
