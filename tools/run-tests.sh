#!/usr/bin/env bash
# Builds everything and runs every test: the Windows build under Wine, and the
# portable cores natively under AddressSanitizer and UBSan.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$top"
bash tools/setup-machine.sh

jobs=$(nproc)
cmake -S . -B build-native -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build-native -j"$jobs"
(cd build-native && ctest --output-on-failure -j"$jobs")

cmake -S . -B build -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-mingw.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$jobs"
# One X server for the whole run; the Wine harness starts its own only when
# there is no display.
if [ -z "${DISPLAY:-}" ]; then
  source tools/xvfb.sh
  start_xvfb 1280x1024x24
  trap 'WINEPREFIX="$top/build/wineprefix" wineserver -k >/dev/null 2>&1 || true; kill $XVFB_PID 2>/dev/null || true' EXIT
fi
(cd build && ctest --output-on-failure -j"$jobs" --timeout 900)
