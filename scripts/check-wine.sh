#!/usr/bin/env bash
# Runs the Windows build under Wine on a virtual 1920x1080x24 X display and
# checks what a Windows user would see, in this order:
#   - rezuro-still.exe (when built): a small PNG, compared with the Linux
#     build's picture of the same size and samples;
#   - the label and lettering bitmaps as Wine's GDI paints them, next to our
#     own layer's (informative only: the fonts differ);
#   - rezuro.exe on a display that cannot switch to 1920x1080: the warning
#     box, and exit code 0 once it is dismissed;
#   - rezuro.exe, ended with Alt+F4: the whole console report in order, the
#     frame in progress finished, exit code 0;
#   - rezuro.exe, ended with Esc: the same, plus the first frame's dot and a
#     screenshot of the window showing it (neither black nor uniform).
# The live cases take minutes: one 1920x1080 frame of the path tracer is about
# a minute on a two-core machine with Mesa's software OpenGL.
# Usage: scripts/check-wine.sh [windows build dir]      (default: <repo>/build-win)
# Environment:
#   REZURO_LINUX_BUILD   Linux build with tools/still/rezuro-still (default <repo>/build)
#   REZURO_WINEPREFIX    Wine prefix, kept between runs (default <build>/wineprefix)
#   REZURO_WINE_BUDGET   seconds for the whole script (default 720)
#   REZURO_WINE_CASES    which checks, in order (default "still textures nomode altf4 escape")
#   REZURO_SKIP_DEPS=1   do not install missing packages
# Pictures and logs are left in <build>/wine-check. Exits non-zero on any FAIL.
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:-$root/build-win}" 2>/dev/null && pwd) || { echo "FAIL: wine: no build dir ${1:-$root/build-win}"; exit 1; }
linux_build=${REZURO_LINUX_BUILD:-$root/build}
prefix=${REZURO_WINEPREFIX:-$build/wineprefix}
budget=${REZURO_WINE_BUDGET:-720}
work=$build/wine-check
exe=$build/host/rezuro.exe
still_exe=$build/tools/still/rezuro-still.exe
title='rezuro by Vosk'

failures=0
pass() { echo "PASS: wine: $*"; }
fail() { echo "FAIL: wine: $*"; failures=$((failures + 1)); }
note() { echo "      $*"; }
# Seconds left of the whole script's budget, at least 1.
left() { local l=$((budget - SECONDS)); ((l > 0)) && echo $l || echo 1; }
# The smaller of the given wait and what is left of the budget.
cap() { local l; l=$(left); ((l < $1)) && echo "$l" || echo "$1"; }

# --- processes we start, all ended on the way out -------------------------
xvfb_pid=""
small_xvfb_pid=""
app_pid=""
cleanup() {
    trap - EXIT INT TERM
    if [[ -n "$app_pid" ]] && kill -0 "$app_pid" 2>/dev/null; then
        kill "$app_pid" 2>/dev/null
        wait "$app_pid" 2>/dev/null
    fi
    if [[ -d "$prefix" ]]; then
        WINEPREFIX=$prefix timeout 30 wineserver -k >/dev/null 2>&1
        WINEPREFIX=$prefix timeout 30 wineserver -w >/dev/null 2>&1
    fi
    local pid
    for pid in "$xvfb_pid" "$small_xvfb_pid"; do
        [[ -n "$pid" ]] || continue
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
}
trap 'cleanup' EXIT
trap 'echo "FAIL: wine: interrupted"; exit 130' INT TERM

# start_xvfb <WxHxD> <name>: a virtual display on a free number; sets
# started_pid and started_display.
start_xvfb() {
    Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp 3>"$work/display-$2" >"$work/xvfb-$2.log" 2>&1 &
    started_pid=$!
    for _ in $(seq 50); do [[ -s "$work/display-$2" ]] && break; sleep 0.2; done
    [[ -s "$work/display-$2" ]] || return 1
    started_display=:$(head -n1 "$work/display-$2")
}

# --- tools, display and prefix -----------------------------------------------
setup() {
    need=(wine wineserver Xvfb xdotool import convert compare)
    missing=()
    for t in "${need[@]}"; do command -v "$t" >/dev/null || missing+=("$t"); done
    if ((${#missing[@]})) && [[ "${REZURO_SKIP_DEPS:-0}" != 1 ]]; then
        echo "Installing what is missing (${missing[*]})"
        timeout 900 "$root/scripts/install-deps.sh" --windows || true
    fi
    for t in "${need[@]}"; do
        command -v "$t" >/dev/null || { echo "FAIL: wine: $t is not installed"; exit 1; }
    done
    [[ -f "$exe" ]] || { echo "FAIL: wine: $exe not built (run scripts/build-windows.sh)"; exit 1; }

    rm -rf "$work" && mkdir -p "$work"

    export WINEPREFIX=$prefix
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=" # no Mono or Gecko installer dialogs
    export MESA_GL_VERSION_OVERRIDE=4.6COMPAT
    export MESA_GLSL_VERSION_OVERRIDE=460
    unset WAYLAND_DISPLAY

    # --- the display -----------------------------------------------------------
    start_xvfb 1920x1080x24 main || { echo "FAIL: wine: Xvfb did not start"; cat "$work/xvfb-main.log"; exit 1; }
    xvfb_pid=$started_pid
    export DISPLAY=$started_display
    echo "Xvfb on $DISPLAY (1920x1080x24), Wine prefix $WINEPREFIX"

    # --- the prefix (slow the first time) --------------------------------------
    t0=$SECONDS
    if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
        mkdir -p "$WINEPREFIX"
        timeout "$(cap 300)" wine wineboot --init >"$work/wineboot.log" 2>&1
        local rc=$?
        timeout 60 wineserver -w
        if ((rc != 0)) || [[ ! -f "$WINEPREFIX/system.reg" ]]; then
            echo "FAIL: wine: could not create the prefix (rc $rc)"; tail -n 20 "$work/wineboot.log"; exit 1
        fi
        echo "Created the Wine prefix in $((SECONDS - t0)) s"
    fi
}

# --- helpers for one run of the program -------------------------------------
# Console text without Windows line ends.
text() { tr -d '\r' <"$1"; }
# Dots printed after the "Rendering" line; bracketed fps and limit lines hold
# dots of their own and are left out.
count_dots() {
    text "$1" | sed -n '/^Rendering (/,$p' | tail -n +2 | sed 's/\[[^]]*\]//g' | tr -cd '.' | wc -c
}
# wait_for <seconds> <command...>: polls the command until it succeeds (0),
# the time runs out (1) or the program has ended (2).
wait_for() {
    local secs=$1; shift
    local end=$((SECONDS + secs))
    while ((SECONDS < end)); do
        "$@" && return 0
        if ! kill -0 "$app_pid" 2>/dev/null; then "$@" && return 0; return 2; fi
        sleep 1
    done
    return 1
}
has_rendering_line() { text "$1" | grep -qx 'Rendering (Close this window or Esc on render window to abort)'; }
has_dots() { (($(count_dots "$1") >= $2)); }
find_window() { xdotool search --name "^${title}\$" 2>/dev/null | head -n1; }
window_shown() { [[ -n "$(find_window)" ]]; }
# Waits for the program to end and sets app_rc (124: killed after the time).
wait_exit() {
    local secs=$1
    local end=$((SECONDS + secs))
    while ((SECONDS < end)) && kill -0 "$app_pid" 2>/dev/null; do sleep 1; done
    if kill -0 "$app_pid" 2>/dev/null; then
        kill "$app_pid" 2>/dev/null
        wait "$app_pid" 2>/dev/null
        app_rc=124
    else
        wait "$app_pid"
        app_rc=$?
    fi
    app_pid=""
}
start_app() { # <name> <program> [args...]
    local name=$1; shift
    ( exec timeout -k 10 "$(left)" wine "$@" >"$work/$name.out" 2>"$work/$name.err" ) &
    app_pid=$!
}
# The report, in order, up to the "Rendering" line and the empty line after it.
check_report() { # <name>
    local name=$1
    local -a l
    mapfile -t l < <(text "$work/$name.out")
    local problems=() i
    for i in 0 1 2 3 4 5; do
        [[ -n "${l[i]:-}" && ${#l[i]} -le 30 ]] || problems+=("banner line $((i + 1)) is '${l[i]:-}'")
    done
    local expect=(
        ""
        "-={ rezuro basecode v 2024-06-01 }=-"
        "-={          Vosk / DoLB         }=-"
        ""
    )
    for i in "${!expect[@]}"; do
        [[ "${l[6 + i]:-}" == "${expect[i]}" ]] || problems+=("line $((7 + i)) is '${l[6 + i]:-}', not '${expect[i]}'")
    done
    [[ "${l[10]:-}" =~ ^"     What's inside: ".+ ]] || problems+=("no adapter line: '${l[10]:-}'")
    expect=(
        " Render resolution: 1920 x 1080"
        "  Max precalc time: 30.00 secs"
        "        Max frames: 512"
        "            Limits: NOT enforced"
        ""
        "Compiling shaders..."
    )
    for i in "${!expect[@]}"; do
        [[ "${l[11 + i]:-}" == "${expect[i]}" ]] || problems+=("line $((12 + i)) is '${l[11 + i]:-}', not '${expect[i]}'")
    done
    # One build line, or one log heading, per program, then the rendering line.
    local builds=0 logs=0 j=17 rendering=-1
    while ((j < ${#l[@]})); do
        if [[ "${l[j]}" == "Rendering (Close this window or Esc on render window to abort)" ]]; then
            rendering=$j; break
        fi
        [[ "${l[j]}" =~ ^"Shader prog "[0-9]+": OK"$ ]] && builds=$((builds + 1))
        [[ "${l[j]}" =~ ^"SHADER COMPILE LOG (Prog "[0-9]+"):"$ ]] && { builds=$((builds + 1)); logs=$((logs + 1)); }
        j=$((j + 1))
    done
    ((builds == 2)) || problems+=("$builds shader build reports, not 2")
    if ((rendering < 0)); then
        problems+=("no 'Rendering (...)' line")
    else
        [[ "${l[rendering - 1]}" == "" && "${l[rendering + 1]-x}" == "" ]] \
            || problems+=("the 'Rendering' line is not set off by empty lines")
    fi
    ((logs == 0)) || note "$name: the driver wrote a compile log (see $work/$name.out)"
    if text "$work/$name.out" | sed -n '/^SHADER COMPILE LOG/,/^Rendering (/p' | grep -qi 'error'; then
        problems+=("a shader failed to compile")
    fi
    if ((${#problems[@]})); then
        fail "$name: console report: ${problems[*]}"
        sed 's/^/      | /' "$work/$name.out" | tr -d '\r' | head -n 40
        return 1
    fi
    pass "$name: console report complete and in order ($(sed 's/^     What.s inside: //' <<<"${l[10]}"))"
}
# The quit key is read at the next pump: the frame in progress when it came
# and at most one more are drawn, each with its dot.
check_frames_after_key() { # <name> <dots when the key was sent>
    local name=$1 before=$2 after
    after=$(count_dots "$work/$name.out")
    if ((after - before >= 1 && after - before <= 2)); then
        pass "$name: $((after - before)) frame(s) finished after the key ($after dots in all)"
    else
        fail "$name: $before dots when the key was sent, $after at exit"
    fi
}
check_exit() { # <name>
    local name=$1
    if ((app_rc == 0)); then
        pass "$name: exit code 0"
    else
        fail "$name: exit code $app_rc$( ((app_rc == 124)) && echo ' (did not end in time)')"
        tail -n 5 "$work/$name.err" | sed 's/^/      ! /'
    fi
}

# --- case 1: Alt+F4 --------------------------------------------------------
# Pressed as soon as the window shows (while the shaders build): the program
# reads it at its first pump, draws that one frame and ends.
case_altf4() {
    local name=altf4 t=$SECONDS
    echo "--- rezuro.exe, ended with Alt+F4"
    start_app $name "$exe"
    if ! wait_for "$(cap 120)" window_shown; then
        fail "$name: no window titled '$title'"; wait_exit 1; return
    fi
    xdotool mousemove 960 540 >/dev/null 2>&1
    local before
    before=$(count_dots "$work/$name.out")
    xdotool key --clearmodifiers alt+F4
    wait_exit "$(cap 400)"
    check_exit $name
    check_report $name
    check_frames_after_key $name "$before"
    note "$name took $((SECONDS - t)) s"
}

# --- case 2: Esc while the first frame renders -----------------------------
# The key is read at the second pump: the first frame is shown (and
# photographed) while the second, the last, renders.
case_escape() {
    local name=escape t=$SECONDS
    echo "--- rezuro.exe, Esc during the first frame"
    start_app $name "$exe"
    if ! wait_for "$(cap 120)" window_shown; then
        fail "$name: no window titled '$title'"; wait_exit 1; return
    fi
    local geometry
    geometry=$(xdotool getwindowgeometry "$(find_window)" 2>/dev/null | tr '\n' ' ')
    if [[ "$geometry" == *"Position: 0,0"*"Geometry: 1920x1080"* ]]; then
        pass "$name: window covers the 1920x1080 screen"
    else
        fail "$name: window geometry: $geometry"
    fi
    local shown_at=$SECONDS
    if ! wait_for "$(cap 300)" has_rendering_line "$work/$name.out"; then
        fail "$name: no 'Rendering' line (shader build stuck or crashed?)"; wait_exit 1; check_report $name; return
    fi
    local rendering_at=$SECONDS
    note "$name: shaders and textures ready $((rendering_at - shown_at)) s after the window showed"
    # Past the first pump, so that the key is read after the first frame.
    sleep 3
    xdotool mousemove 960 540 >/dev/null 2>&1
    local before
    before=$(count_dots "$work/$name.out")
    xdotool key --clearmodifiers Escape
    if ! wait_for "$(cap 400)" has_dots "$work/$name.out" 1; then
        fail "$name: no dot for the first frame"; wait_exit 1; return
    fi
    pass "$name: first frame's dot after $((SECONDS - rendering_at)) s of rendering"
    # The picture: mean and spread of the whole screen's grey levels.
    import -display "$DISPLAY" -window root "$work/screen.png" 2>>"$work/import.log"
    local stats mean spread
    stats=$(convert "$work/screen.png" -colorspace gray -format '%[fx:mean] %[fx:standard_deviation]' info: 2>/dev/null)
    read -r mean spread <<<"$stats"
    if [[ -n "$mean" ]] && awk -v m="$mean" -v s="$spread" 'BEGIN { exit !(m > 0.02 && s > 0.02) }'; then
        pass "$name: screenshot shows a picture (mean $mean, spread $spread; $work/screen.png)"
    else
        fail "$name: screenshot is black or uniform (mean ${mean:-?}, spread ${spread:-?}; $work/screen.png)"
    fi
    local frame_at=$SECONDS
    wait_exit "$(cap 400)"
    note "$name: ended $((SECONDS - frame_at)) s after the first frame"
    check_exit $name
    check_report $name
    check_frames_after_key $name "$before"
    note "$name took $((SECONDS - t)) s"
}

# --- case 3: the still renderer against the Linux build --------------------
still_size=96x54
still_samples=2
case_still() {
    local name=still t=$SECONDS
    echo "--- rezuro-still.exe --size $still_size --samples $still_samples"
    if [[ ! -f "$still_exe" ]]; then
        fail "$name: $still_exe not built"; return
    fi
    # Relative output path: Wine runs the program in the Windows form of $work.
    cd "$work" || return
    start_app $name "$still_exe" --size $still_size --samples $still_samples --out wine-still.png
    cd "$root" || return
    wait_exit "$(cap 300)"
    check_exit $name
    if [[ ! -s "$work/wine-still.png" ]]; then
        fail "$name: no picture written"; sed 's/^/      | /' "$work/$name.out" | tr -d '\r' | tail -n 10; return
    fi
    local dims
    dims=$(identify -format '%wx%h' "$work/wine-still.png" 2>/dev/null)
    [[ "$dims" == "$still_size" ]] && pass "$name: wrote a $dims PNG" || fail "$name: picture is '$dims', not $still_size"
    note "$name took $((SECONDS - t)) s under Wine"
    compare_with_linux
}
compare_with_linux() {
    local linux_still=$linux_build/tools/still/rezuro-still
    if [[ ! -x "$linux_still" ]]; then
        fail "still: no Linux build to compare with ($linux_still; set REZURO_LINUX_BUILD)"; return
    fi
    local t=$SECONDS
    (cd "$work" && SDL_VIDEODRIVER=offscreen timeout "$(cap 300)" "$linux_still" \
        --size $still_size --samples $still_samples --out linux-still.png >"$work/linux-still.out" 2>&1)
    local rc=$?
    if ((rc != 0)) || [[ ! -s "$work/linux-still.png" ]]; then
        fail "still: the Linux build failed (rc $rc)"; tail -n 5 "$work/linux-still.out"; return
    fi
    note "the Linux still took $((SECONDS - t)) s"
    "$root/tests/wine/compare-stills.sh" "$work/linux-still.png" "$work/wine-still.png" "$work" \
        && pass "still: Windows and Linux pictures agree $(cat "$work/compare.txt")" \
        || fail "still: Windows and Linux pictures differ $(cat "$work/compare.txt" 2>/dev/null)"
}

# --- case 4: the painted bitmaps, Wine's GDI against our layer -------------
# Informative: the two draw text with different rasterisers and, where a face
# is missing, different substitutes, so the bitmaps are not expected to match.
case_textures() {
    local name=textures dump_exe=$build/tests/wine/rezuro-texture-dump.exe
    local linux_dump=$linux_build/tests/wine/rezuro-texture-dump
    echo "--- rezuro-texture-dump.exe: the label and lettering bitmaps"
    if [[ ! -f "$dump_exe" ]]; then
        note "$dump_exe not built; skipped"; return
    fi
    mkdir -p "$work/textures-wine" "$work/textures-linux"
    cd "$work" || return
    start_app $name "$dump_exe" textures-wine
    cd "$root" || return
    wait_exit "$(cap 120)"
    check_exit $name
    if [[ ! -x "$linux_dump" ]]; then
        note "no Linux $linux_dump to compare with"; return
    fi
    timeout "$(cap 60)" "$linux_dump" "$work/textures-linux" >/dev/null 2>&1 || { note "the Linux texture dump failed"; return; }
    local f differing
    for f in label lettering; do
        differing=$(compare -metric AE -alpha off "$work/textures-linux/$f.pam" "$work/textures-wine/$f.pam" null: 2>&1 >/dev/null)
        convert "$work/textures-linux/$f.pam" "$work/textures-wine/$f.pam" -alpha off +append -resize 50% \
            "$work/$f-linux-wine.png" 2>/dev/null
        note "$f: $differing of 1048576 texels differ between our layer and Wine's GDI ($work/$f-linux-wine.png: ours left)"
    done
}

box_shown() { [[ -n "$(xdotool search --name '^Oh dear$' 2>/dev/null)" ]]; }
stop_wineserver() {
    timeout 30 wineserver -k >/dev/null 2>&1
    timeout 30 wineserver -w >/dev/null 2>&1
}

# --- case 5: a display without 1920x1080 ------------------------------------
# The mode switch is refused, so the window set-up fails: the user sees the
# warning box, and the program ends with 0 once it is dismissed.
case_nomode() {
    local name=nomode t=$SECONDS
    echo "--- rezuro.exe on a 1280x1024 display"
    start_xvfb 1280x1024x24 small || { fail "$name: second Xvfb did not start"; return; }
    small_xvfb_pid=$started_pid
    local main_display=$DISPLAY
    export DISPLAY=$started_display
    # Wine keeps the display's modes in its server: start a fresh one here, and
    # again for the cases after this one.
    stop_wineserver
    start_app $name "$exe"
    if wait_for "$(cap 120)" box_shown; then
        import -display "$DISPLAY" -window root "$work/nomode-box.png" 2>>"$work/import.log"
        if [[ -n "$(find_window)" ]]; then
            fail "$name: the render window is still there behind the box"
        else
            pass "$name: the 'Oh dear' box shows, with no render window ($work/nomode-box.png)"
        fi
        xdotool key Return
    else
        fail "$name: no 'Oh dear' box"
    fi
    wait_exit "$(cap 60)"
    check_exit $name
    if text "$work/$name.out" | grep -q 'Compiling shaders'; then
        fail "$name: went on to build the shaders"
    elif [[ "$(text "$work/$name.out" | tail -n 1)" == "            Limits: NOT enforced" ]]; then
        pass "$name: the report stops after the limits line"
    else
        fail "$name: the report does not end with the limits line"
    fi
    stop_wineserver
    export DISPLAY=$main_display
    kill "$small_xvfb_pid" 2>/dev/null
    wait "$small_xvfb_pid" 2>/dev/null
    small_xvfb_pid=""
    note "$name took $((SECONDS - t)) s"
}

main() {
    setup
    local c
    for c in ${REZURO_WINE_CASES:-still textures nomode altf4 escape}; do
        "case_$c"
    done
    echo "Wine checks took $SECONDS s"
    if ((failures)); then
        echo "FAIL: wine: $failures check(s) failed (logs and pictures in $work)"
        return 1
    fi
    echo "PASS: wine: all checks"
}

# Everything runs from functions, so the whole file is read before anything
# runs, and editing it meanwhile cannot disturb a run.
main; exit $?
