#!/usr/bin/env bash
# Builds and runs the benchmarks. Each prints ratios of variants measured side
# by side in one run, so a noisy shared machine affects both alike.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$top"
bash tools/setup-machine.sh
cmake -S . -B build -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-mingw.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)"

run=(tools/wine-run --prefix "$top/build/wineprefix")
"${run[@]}" build/bin/CorelDrawStandin.exe /regserver
# Each bench writes the drawing its server starts from.
echo "== one call through the binding =="
"${run[@]}" build/bin/binding_call_bench.exe
echo "== batch export per page =="
"${run[@]}" build/bin/export_run_bench.exe
echo "== memory over 2000-page exports =="
"${run[@]}" build/bin/export_memory_bench.exe
