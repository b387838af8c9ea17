#!/usr/bin/env bash
# Shows Trevolo's window under an X server of its own and saves a picture of it.
#
#   screenshot-window.sh [BUILD_DIR] [OUT.png]
#
# BUILD_DIR is a Windows build (default: build); the picture goes to
# BUILD_DIR/window.png unless OUT.png is given.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
out=${2:-$build/window.png}
prefix=$build/wineprefix

source "$here/xvfb.sh"
start_xvfb 640x480x24
xvfb=$XVFB_PID
run=
cleanup() {
  WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
  [ -n "$run" ] && wait "$run" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT

"$here/wine-run" --prefix "$prefix" "$build/bin/Trevolo.exe" &
run=$!

# The window's X geometry, once it is mapped: "WIDTHxHEIGHT+X+Y".
geometry=
for _ in $(seq 150); do
  geometry=$(xwininfo -root -tree 2>/dev/null | grep 'Pagora' | grep -o '[0-9]\+x[0-9]\++[0-9]\++[0-9]\+' | head -n1 || true)
  [ -n "$geometry" ] && break
  sleep 0.2
done
[ -n "$geometry" ] || { echo "the window did not appear" >&2; exit 1; }
# Let it finish painting.
sleep 1
import -display "$DISPLAY" -window root -crop "$geometry" +repage "$out"
echo "$out ($geometry)"
