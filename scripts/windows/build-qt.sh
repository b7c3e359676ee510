#!/usr/bin/env bash
# Builds Qt 6.4.2 (qtbase: Core, Gui, Widgets, PrintSupport, the Windows platform
# and print plugins) for 64-bit Windows with MinGW-w64, from Debian's own qt6-base
# source package, once, into a cache folder outside the repository.
#   scripts/windows/build-qt.sh            # cache: $PELORIN_WIN_CACHE or ~/.cache/pelorin-win
# Prints the installed prefix on its last line. A finished build is not repeated.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
cache="${PELORIN_WIN_CACHE:-$HOME/.cache/pelorin-win}"
prefix="$cache/qt-6.4.2-mingw"
if [ -f "$prefix/.pelorin-complete" ]; then
  echo "$prefix"
  exit 0
fi

"$here/install-deps.sh" app

mkdir -p "$cache"
src="$cache/src"
if [ ! -d "$src/qt6-base" ]; then
  # A private apt configuration that knows only Debian's source archive, so
  # that the machine's own apt state stays as it is.
  apt="$cache/apt"
  mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial" "$apt/etc/preferences.d" \
           "$apt/etc/sources.list.d" "$src"
  echo "deb-src http://deb.debian.org/debian bookworm main" > "$apt/etc/sources.list"
  opts=(-o "Dir::Etc::SourceList=$apt/etc/sources.list"
        -o "Dir::Etc::SourceParts=$apt/etc/sources.list.d"
        -o "Dir::Etc::Preferences=$apt/etc/preferences"
        -o "Dir::Etc::PreferencesParts=$apt/etc/preferences.d"
        -o "Dir::State::Lists=$apt/lists"
        -o "Dir::Cache=$apt/cache"
        -o "APT::Sandbox::User=root")
  apt-get "${opts[@]}" update
  (cd "$src" && apt-get "${opts[@]}" source --download-only qt6-base)
  (cd "$src" && rm -rf qt6-base && mkdir qt6-base &&
   tar -xf qt6-base_6.4.2*.orig.tar.xz -C qt6-base --strip-components=1)
fi

build="$cache/build-qt"
mkdir -p "$build"
cd "$build"
if [ ! -f build.ninja ]; then
  cmake -G Ninja "$src/qt6-base" \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_CROSSCOMPILING_EMULATOR= \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DQT_HOST_PATH=/usr \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DBUILD_SHARED_LIBS=ON \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF \
    -DFEATURE_testlib=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF \
    -DFEATURE_tabletevent=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF \
    -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_freetype=OFF \
    -DFEATURE_system_jpeg=OFF -DFEATURE_system_png=OFF \
    -DFEATURE_system_doubleconversion=OFF
fi
start=$(date +%s)
nice -n 10 cmake --build . --parallel "$(nproc)"
cmake --install .
echo "built in $(( ($(date +%s) - start) / 60 )) min" > "$prefix/.pelorin-complete"
echo "$prefix"
