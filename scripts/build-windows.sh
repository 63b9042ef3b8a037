#!/usr/bin/env bash
# Cross-builds the Windows console programs (rezuro.exe and, when the tree has
# them, rezuro-still.exe and the Wine checks' rezuro-texture-dump.exe) with
# MinGW-w64 into build-win, then checks that each
# .exe is a console program that needs no DLL beyond the system's own.
# Usage: scripts/build-windows.sh [build dir]      (default: <repo>/build-win)
# Environment: JOBS (default 2), BUILD_TYPE (default RelWithDebInfo),
#              REZURO_TOOLS=OFF to leave the tools out,
#              REZURO_SKIP_DEPS=1 to skip the package check.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build-win}
jobs=${JOBS:-2}
build_type=${BUILD_TYPE:-RelWithDebInfo}
triple=x86_64-w64-mingw32

fail() { echo "FAIL: windows build: $*"; exit 1; }

tools=(cmake ninja ${triple}-g++-posix ${triple}-objdump)
have_tools() { for t in "${tools[@]}"; do command -v "$t" >/dev/null || return 1; done; }
if [[ "${REZURO_SKIP_DEPS:-0}" != 1 ]] && ! have_tools; then
    timeout 900 "$root/scripts/install-deps.sh" --windows || fail "could not install the build tools"
fi
for t in "${tools[@]}"; do
    command -v "$t" >/dev/null || fail "$t not found"
done

mkdir -p "$build"
timeout 300 cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE="$build_type" \
    -DREZURO_TESTS=OFF -DREZURO_TOOLS="${REZURO_TOOLS:-ON}" >"$build/configure.log" 2>&1 \
    || { tail -n 40 "$build/configure.log"; fail "cmake configure (log: $build/configure.log)"; }

# rezuro-still comes with the tools, rezuro-texture-dump with the Wine checks;
# each is built when the tree defines it.
targets=(rezuro)
for t in rezuro-still rezuro-texture-dump; do
    if timeout 60 ninja -C "$build" -t query "$t" >/dev/null 2>&1; then
        targets+=("$t")
    fi
done

timeout 1800 ninja -C "$build" -j "$jobs" "${targets[@]}" || fail "ninja ${targets[*]}"

# Only the system's DLLs may be imported: the MinGW runtime is linked in.
allowed='^(kernel32|user32|gdi32|opengl32|msvcrt|advapi32|shell32|ole32|ws2_32|comdlg32|winmm|ucrtbase|api-ms-win-.*)\.dll$'
status=0
for t in "${targets[@]}"; do
    exe=$(find "$build" -name "$t.exe" -type f -print -quit)
    if [[ -z "$exe" ]]; then
        echo "FAIL: windows build: $t.exe not produced"; status=1; continue
    fi
    dump=$(${triple}-objdump -p "$exe")
    if ! grep -q 'Subsystem.*(Windows CUI)' <<<"$dump"; then
        echo "FAIL: windows build: $t.exe is not a console program"; status=1; continue
    fi
    bad=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$dump" | tr 'A-Z' 'a-z' | grep -Ev "$allowed" || true)
    if [[ -n "$bad" ]]; then
        echo "FAIL: windows build: $t.exe needs non-system DLLs: $(echo $bad)"; status=1; continue
    fi
    dlls=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$dump" | tr '\n' ' ')
    echo "PASS: windows build: ${exe#$root/} ($(stat -c %s "$exe") bytes; imports: $dlls)"
done
exit $status
