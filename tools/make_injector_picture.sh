#!/usr/bin/env bash
# Draws the calculator's 150 x 150 picture: a fuel injector rail with four
# injectors, one outlet marked by a red circle. Needs ImageMagick.
# Usage: tools/make_injector_picture.sh [output.jpg]
set -euo pipefail
out=${1:-"$(dirname "$0")/../resources/injector_rail.jpg"}
args=(-size 150x150 gradient:'#e9edf2-#aeb6c0')
# Engine block seen from above, behind the rail.
args+=(-fill '#6d737b' -stroke '#4a4f55' -draw "roundrectangle 6,92 144,142 6,6")
args+=(-fill '#80868e' -stroke none -draw "rectangle 10,96 140,104")
# The rail: a steel tube with end caps and the feed pipe.
args+=(-fill '#9aa3ad' -stroke '#3f454c' -strokewidth 1 -draw "roundrectangle 12,34 138,50 7,7")
args+=(-fill '#c9d0d8' -stroke none -draw "rectangle 16,37 134,40")
args+=(-fill '#5b6169' -stroke '#33383d' -draw "rectangle 8,36 14,48" -draw "rectangle 136,36 142,48")
args+=(-fill none -stroke '#33383d' -strokewidth 4 -draw "path 'M 20,34 C 20,18 40,12 60,12 L 75,12'")
args+=(-fill '#b48a3c' -stroke '#6e5320' -strokewidth 1 -draw "rectangle 72,7 84,17")
# Four injectors hanging from the rail.
for x in 30 60 90 120; do
  args+=(-fill '#2e3338' -stroke '#1b1e21' -strokewidth 1 -draw "rectangle $((x-6)),50 $((x+6)),60")
  args+=(-fill '#3c7bbf' -stroke '#24486e' -draw "rectangle $((x-8)),60 $((x+8)),74")
  args+=(-fill '#d7dbe0' -stroke none -draw "rectangle $((x-6)),62 $((x-3)),72")
  args+=(-fill '#8d949c' -stroke '#4a4f55' -draw "rectangle $((x-4)),74 $((x+4)),86")
  args+=(-fill '#3f454c' -stroke none -draw "polygon $((x-3)),86 $((x+3)),86 $x,92")
  args+=(-fill '#2b2f33' -draw "rectangle $((x-10)),63 $((x-8)),70")
done
# The marked outlet: the nozzle of the third injector.
args+=(-fill none -stroke '#e01010' -strokewidth 3 -draw "circle 90,90 90,101")
convert "${args[@]}" -quality 88 -sampling-factor 2x2 -strip "$out"
echo "wrote $out ($(stat -c %s "$out") bytes)"
