#!/usr/bin/env bash
# Runs rezuro. With a display, the live program starts fullscreen: Esc or
# Alt+F4 ends it (Ctrl+C in this terminal too). Without a display, the still
# renderer draws a smaller picture to rezuro.png instead.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh rezuro rezuro-still

has_display() {
    [[ -n "${WAYLAND_DISPLAY:-}" ]] && return 0
    [[ -n "${DISPLAY:-}" ]] && xdpyinfo > /dev/null 2>&1
}

if has_display; then
    exec build/host/rezuro
fi

# About two minutes on a two-core machine with Mesa's software OpenGL.
size=${REZURO_SIZE:-640x360}
samples=${REZURO_SAMPLES:-48}
echo "No display found: rendering a ${size} still with ${samples} samples per pixel to rezuro.png"
build/tools/still/rezuro-still --size "$size" --samples "$samples" --seconds 600 --out rezuro.png
echo "Wrote $(pwd)/rezuro.png"
echo "For the full picture: build/tools/still/rezuro-still --size 1920x1080 --samples 512 --seconds 1e9 --out rezuro-full.png"
