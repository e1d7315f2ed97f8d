#!/bin/sh
# Renders the committed PNG icons from tobirex.svg (needs rsvg-convert, Debian package librsvg2-bin).
set -e
cd "$(dirname "$0")"
rsvg-convert -w 16 -h 16 tobirex.svg -o tobirex-16.png
rsvg-convert -w 32 -h 32 tobirex.svg -o tobirex-32.png
# The Windows program's icon holds both PNGs as they are (an icon format Windows reads since Vista).
python3 - <<'PY'
import struct
images = [open(f"tobirex-{n}.png", "rb").read() for n in (16, 32)]
offset, entries = 6 + 16 * len(images), b""
for size, png in zip((16, 32), images):
    entries += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(png), offset)
    offset += len(png)
open("tobirex.ico", "wb").write(struct.pack("<HHH", 0, 1, len(images)) + entries + b"".join(images))
PY
