#!/usr/bin/env bash
# Builds the Windows program: pelorin.exe and the full pelorin-cli.exe against Qt
# for MinGW-w64 (made once by build-qt.sh), then the installation with the Qt and
# MinGW run-time DLLs and plugins, as a portable zip and an NSIS installer, in OUT.
#   scripts/windows/build-app.sh OUT
# Result: OUT/pelorin-VERSION-windows-x64.exe (setup) and .zip.
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: $0 OUT" >&2; exit 2; }
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
"$here/install-deps.sh" app
qt="$("$here/build-qt.sh" | tail -1)"
mkdir -p "$1"
out="$(cd "$1" && pwd)"
# The build packs the interpretation databases with pelorin-cli.exe, under Wine.
. "$here/wine-env.sh" "$out"
# ... and that program needs Qt's and MinGW's DLLs on its path there.
gcc_dlls="$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")"
export WINEPATH="Z:$qt/bin;Z:$gcc_dlls;Z:/usr/x86_64-w64-mingw32/lib"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
"$qt/bin/qt-cmake" -S "$root" -B "$out/build" -G Ninja \
  -DQT_CHAINLOAD_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release \
  -DPELORIN_GUI=ON -DPELORIN_TESTS=OFF -DPELORIN_BENCH=OFF \
  "${launcher[@]}"
cmake --build "$out/build" --parallel "$(nproc)"
(cd "$out/build" && cpack -B "$out/package")
cp "$out"/package/pelorin-*-windows-x64.exe "$out"/package/pelorin-*-windows-x64.zip "$out/"
ls -l "$out"/pelorin-*-windows-x64.*
