#!/usr/bin/env bash
# Renders the program's icon resources/icons/pelorin.svg into the PNG sizes of the
# hicolor theme (resources/icons/pelorin-SIZE.png), with rsvg-convert from Debian
# librsvg2-bin. Run it after changing the SVG and commit the PNG files.
set -euo pipefail
cd "$(dirname "$0")/../resources/icons"
for size in 16 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" pelorin.svg -o "pelorin-$size.png"
done
