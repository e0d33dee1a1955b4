#!/usr/bin/env bash
# Renders the program's pictures from their SVG sources into the PNG files the
# program loads (each at its own size and, as name@2x.png, at twice its size
# for high-density screens), and the program icon into the Windows icon
# dalmerin.ico. The results are committed beside the sources, so neither the
# program nor its build needs an SVG renderer; run this after changing an SVG.
# Needs rsvg-convert (librsvg2-bin) and ImageMagick's convert.
set -euo pipefail
cd "$(dirname "$0")/../resources/pictures"

for svg in *.svg; do
    name=${svg%.svg}
    size=$(grep -o -m 1 'width="[0-9]*" height="[0-9]*"' "$svg")
    width=$(echo "$size" | sed -E 's/width="([0-9]+)".*/\1/')
    height=$(echo "$size" | sed -E 's/.*height="([0-9]+)"/\1/')
    rsvg-convert -w "$width" -h "$height" -o "$name.png" "$svg"
    rsvg-convert -w $((2 * width)) -h $((2 * height)) -o "$name@2x.png" "$svg"
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
icons=()
for size in 16 24 32 48 64 256; do
    rsvg-convert -w $size -h $size -o "$work/$size.png" dalmerin.svg
    icons+=("$work/$size.png")
done
convert "${icons[@]}" dalmerin.ico
echo "Bilder erzeugt in $PWD"
