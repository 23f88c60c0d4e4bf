#!/usr/bin/env bash
# Renders the program's icon (packaging/kivo-ft817.svg) to the PNG sizes kept in the tree, so a
# build needs no SVG renderer. Run after changing the SVG; needs rsvg-convert (librsvg2-bin).
set -euo pipefail
dir=$(cd "$(dirname "$0")/../packaging" && pwd)
for size in 48 128 256; do
    mkdir -p "$dir/icons/$size"
    rsvg-convert -w "$size" -h "$size" "$dir/kivo-ft817.svg" -o "$dir/icons/$size/kivo-ft817.png"
done
