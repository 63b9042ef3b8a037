#!/usr/bin/env bash
# Compares two renders of the same still (same size, same samples) made by two
# builds. Both builds drive the same GL driver with the same seeds, so every
# pixel whose paths never meet the painted text comes out bit for bit the
# same; the label and the lettering depend on the fonts each platform has, and
# so do the pixels whose paths meet them. The lettering stands in the upper
# part of the picture, so the bottom third (the table in front, the pipe, the
# box) is held to a stricter share than the whole.
# Usage: compare-stills.sh <reference.png> <candidate.png> <out dir>
# Writes <out dir>/compare.txt (one-line summary) and <out dir>/still-diff.png
# (the absolute difference, magnified). Exits 0 when at least 80% of all
# pixels and 95% of the bottom third's are identical.
set -uo pipefail
reference=$1 candidate=$2 out=$3
least_whole=0.80
least_bottom=0.95

summary() { echo "$*" >"$out/compare.txt"; }

dims=$(identify -format '%wx%h' "$reference" 2>/dev/null)
dims_candidate=$(identify -format '%wx%h' "$candidate" 2>/dev/null)
if [[ -z "$dims" || "$dims" != "$dims_candidate" ]]; then
    summary "(sizes differ: '$dims' and '$dims_candidate')"
    exit 1
fi
width=${dims%x*} height=${dims#*x}

# identical_share <crop geometry>: the share of identical pixels in that part.
identical_share() {
    local geometry=$1 total differing
    convert "$reference" -crop "$geometry" +repage "$out/compare-a.png" &&
        convert "$candidate" -crop "$geometry" +repage "$out/compare-b.png" || return 1
    total=$(identify -format '%[fx:w*h]' "$out/compare-a.png")
    # compare prints its metric on stderr and exits 1 when the pictures differ.
    differing=$(compare -metric AE "$out/compare-a.png" "$out/compare-b.png" null: 2>&1 >/dev/null)
    rm -f "$out/compare-a.png" "$out/compare-b.png"
    [[ "$differing" =~ ^[0-9]+$ ]] || return 1
    awk -v d="$differing" -v t="$total" 'BEGIN { printf "%.3f", (t - d) / t }'
}

bottom_rows=$((height / 3))
whole=$(identical_share "${width}x${height}+0+0") || { summary "(compare failed)"; exit 1; }
bottom=$(identical_share "${width}x${bottom_rows}+0+$((height - bottom_rows))") || { summary "(compare failed)"; exit 1; }
rmse=$(compare -metric RMSE "$reference" "$candidate" null: 2>&1 >/dev/null | sed 's/.*(\(.*\))/\1/')
convert "$reference" "$candidate" -compose difference -composite -scale 800% "$out/still-diff.png" 2>/dev/null

summary "(identical pixels: $whole of the whole picture (at least $least_whole wanted)," \
    "$bottom of its bottom third (at least $least_bottom wanted); RMSE $rmse; $out/still-diff.png)"
awk -v w="$whole" -v b="$bottom" -v lw=$least_whole -v lb=$least_bottom 'BEGIN { exit !(w >= lw && b >= lb) }'
