#!/usr/bin/env bash
# Builds Trevolo and runs its main job on the embedded default: the stand-in
# CorelDRAW opens a sample drawing, Trevolo's window reads its page count and
# batch-exports every page with the default settings (TIFF, CMYK, 300 dpi,
# actual size) to C:\批量输出\ of the build's Wine prefix.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$top"
bash tools/setup-machine.sh

cmake -S . -B build -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-mingw.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)" --target Trevolo coreldraw_standin demo_driver

prefix=$top/build/wineprefix
out=$top/build/demo
run=(tools/wine-run --prefix "$prefix")
mkdir -p "$out"

# The stand-in registers itself in this prefix only, never on a real machine.
"${run[@]}" build/bin/CorelDrawStandin.exe /regserver
mkdir -p "$prefix/drive_c/standin"
cp tools/demo/sample-drawing.txt "$prefix/drive_c/standin/drawing.txt"
rm -f "$prefix/drive_c/standin/journal.txt"
rm -rf "$prefix/drive_c/批量输出"

own_x=
if [ -z "${DISPLAY:-}" ]; then
  source tools/xvfb.sh
  start_xvfb
  own_x=$XVFB_PID
fi
cleanup() {
  WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
  [ -n "$own_x" ] && kill "$own_x" 2>/dev/null || true
}
trap cleanup EXIT

"${run[@]}" build/bin/Trevolo.exe &
trevolo=$!
"${run[@]}" build/bin/demo_driver.exe pagecount export

# Both windows after the run: Trevolo's and the stand-in CorelDRAW's.
sleep 1
import -display "$DISPLAY" -window root "$out/screen.png"
geometry=$(xwininfo -root -tree | grep 'Pagora' | grep -o '[0-9]\+x[0-9]\++[0-9]\++[0-9]\+' | head -n1 || true)
[ -n "$geometry" ] && import -display "$DISPLAY" -window root -crop "$geometry" +repage "$out/trevolo.png"
"${run[@]}" build/bin/demo_driver.exe close
wait "$trevolo"

echo
echo "CorelDRAW was asked (C:\\standin\\journal.txt):"
cut -f2,3,4 "$prefix/drive_c/standin/journal.txt" | sed 's/^/  /'
echo
echo "Exported into C:\\批量输出\\ ($prefix/drive_c/批量输出):"
for f in "$prefix/drive_c/批量输出"/*; do
  identify -units PixelsPerInch -format "%f: %m %wx%h, %[fx:round(resolution.x)] dpi, %[colorspace]\n" "$f" | sed "s/^/  /"
done
echo
echo "Screenshots: $out/screen.png, $out/trevolo.png"
