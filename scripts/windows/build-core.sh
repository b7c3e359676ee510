#!/usr/bin/env bash
# Cross-builds for 64-bit Windows, with Debian's MinGW-w64, everything of Pelorin
# that needs no window library: the libraries, the Qt-free test suite (GoogleTest
# from the sources Debian ships) and pelorin-cli.exe, into the folder OUT.
#   scripts/windows/build-core.sh OUT
# Then scripts/windows/run-tests.sh OUT runs the suite under Wine.
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: $0 OUT" >&2; exit 2; }
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
"$here/install-deps.sh" core
mkdir -p "$1"
out="$(cd "$1" && pwd)"
# The build packs the interpretation databases with pelorin-cli.exe, under Wine.
. "$here/wine-env.sh" "$out"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake -S "$root" -B "$out/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release \
  -DPELORIN_GUI=OFF -DPELORIN_BENCH=OFF -DPELORIN_TESTS=ON -DPELORIN_STATIC_RUNTIME=ON \
  "${launcher[@]}"
cmake --build "$out/build" --parallel "$(nproc)" --target pelorin-cli pelorin_tests pelorin_data
echo "Windows core built in $out/build: cli/pelorin-cli.exe, tests/pelorin_tests.exe, data/"
