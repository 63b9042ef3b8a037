#!/usr/bin/env bash
# Compares two renders of the same still (same size, same samples) made by two
# builds. Both builds drive the same GL driver with the same seeds, so every
# pixel whose paths never meet the painted text comes out bit for bit the
# same; the label and lettering depend on the fonts each platform has, and so
# do the pixels whose paths meet them.
# Usage: compare-stills.sh <reference.png> <candidate.png> <out dir> [least identical fraction]
# Writes <out dir>/compare.txt (one-line summary) and <out dir>/still-diff.png
# (the absolute difference, magnified). Exits 0 when at least the given
# fraction of pixels (default 0.8) is identical.
set -uo pipefail
reference=$1 candidate=$2 out=$3 least=${4:-0.8}

dims_ref=$(identify -format '%wx%h' "$reference" 2>/dev/null)
dims_can=$(identify -format '%wx%h' "$candidate" 2>/dev/null)
if [[ -z "$dims_ref" || "$dims_ref" != "$dims_can" ]]; then
    echo "(sizes differ: '$dims_ref' and '$dims_can')" >"$out/compare.txt"
    exit 1
fi
total=$(( ${dims_ref%x*} * ${dims_ref#*x} ))
# compare prints its metric on stderr and exits 1 when the pictures differ.
differing=$(compare -metric AE "$reference" "$candidate" null: 2>&1 >/dev/null)
rmse=$(compare -metric RMSE "$reference" "$candidate" null: 2>&1 >/dev/null | sed 's/.*(\(.*\))/\1/')
convert "$reference" "$candidate" -compose difference -composite -scale 800% "$out/still-diff.png" 2>/dev/null
if ! [[ "$differing" =~ ^[0-9]+$ ]]; then
    echo "(compare failed: $differing)" >"$out/compare.txt"
    exit 1
fi
identical=$((total - differing))
fraction=$(awk -v i=$identical -v t=$total 'BEGIN { printf "%.3f", i / t }')
echo "($identical of $total pixels identical ($fraction, at least $least wanted), RMSE $rmse; $out/still-diff.png)" >"$out/compare.txt"
awk -v f="$fraction" -v l="$least" 'BEGIN { exit !(f >= l) }'
