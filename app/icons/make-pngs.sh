#!/bin/sh
# Renders the committed PNG icons from tobirex.svg (needs rsvg-convert, Debian package librsvg2-bin).
set -e
cd "$(dirname "$0")"
rsvg-convert -w 16 -h 16 tobirex.svg -o tobirex-16.png
rsvg-convert -w 32 -h 32 tobirex.svg -o tobirex-32.png
