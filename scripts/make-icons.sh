#!/usr/bin/env bash
# Renders the program's icon resources/icons/pelorin.svg into the PNG sizes of the
# hicolor theme (resources/icons/pelorin-SIZE.png), with rsvg-convert from Debian
# librsvg2-bin. Run it after changing the SVG and commit the PNG files.
set -euo pipefail
cd "$(dirname "$0")/../resources/icons"
for size in 16 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" pelorin.svg -o "pelorin-$size.png"
done
# The Windows icon: the same pictures in one .ico (PNG entries, as Windows Vista
# and later read them), for the program file and the installer.
python3 - <<'PY'
import struct
sizes = [16, 24, 32, 48, 64, 128, 256]
pngs = [open(f"pelorin-{s}.png", "rb").read() for s in sizes]
header = struct.pack("<HHH", 0, 1, len(sizes))
offset = 6 + 16 * len(sizes)
entries = b""
for s, data in zip(sizes, pngs):
    entries += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(data), offset)
    offset += len(data)
open("pelorin.ico", "wb").write(header + entries + b"".join(pngs))
PY
