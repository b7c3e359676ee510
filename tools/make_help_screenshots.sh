#!/usr/bin/env bash
# Makes the pictures of the help pages again, into help/img/ (the add-city
# dialog into help/korvantis/img/): builds the
# picture tool, gives it a scratch data directory with the sample people and
# runs it under Xvfb. Needs xvfb (xvfb-run). The same people and data give the
# same pictures.
#   tools/make_help_screenshots.sh [BUILD_DIR]
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$top/build}"
cmake --build "$build" -j2 --target pelorin_help_shots pelorin_data pelorin-sample-people
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/data" "$scratch/system"
cp -r "$build/data/." "$scratch/data/"
"$build/tools/pelorin-sample-people" "$scratch/data/" >/dev/null
printf '%s/\r\n%s/\r\n' "$scratch/system" "$scratch/data" >"$scratch/main.dat"
export HOME="$scratch" XDG_RUNTIME_DIR="$scratch" LANG=C.UTF-8
xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$build/app/pelorin_help_shots" --config "$scratch/main.dat" --out "$top/help/img"
# The add-city dialog's picture belongs to Korvantis_7.chm.
mkdir -p "$top/help/korvantis/img"
mv "$top/help/img/dialog_city.png" "$top/help/korvantis/img/dialog_city.png"
