#!/usr/bin/env bash
# Takes docs/window.png: the real tobirex window on a virtual X display,
# photographed while its labels show a conversion in progress.
#
# Usage: docs/take-window-screenshot.sh [BUILD_DIR]     (default: build)
# Needs the built tobirex and make_sample, and the Debian packages
# xvfb, openbox (draws the title bar), imagemagick (import, convert) and
# x11-utils (xwininfo, xprop).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD="${1:-build}"
TOBIREX="$BUILD/app/tobirex"
MAKE_SAMPLE="$BUILD/samples/make_sample"
OUT=docs/window.png
RACERS=9000        # enough for a run of a few seconds
MIN_PHASE=5        # frames a phase must last to be the one photographed

for tool in Xvfb openbox import convert xwininfo xprop "$TOBIREX" "$MAKE_SAMPLE"; do
  command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 1; }
done

WORK="$(mktemp -d)"
PIDS=()
cleanup() {
  for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

# Waits up to 10 s for a command to succeed.
wait_for() {
  for _ in $(seq 100); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
  echo "timed out waiting for: $*" >&2
  return 1
}

start_display() {
  # The server picks a free display number and writes it to fd 3.
  Xvfb -displayfd 3 -screen 0 800x200x24 -nolisten tcp 3>"$WORK/display" 2>"$WORK/xvfb.log" &
  PIDS+=($!)
  wait_for test -s "$WORK/display"
  export DISPLAY=":$(head -n1 "$WORK/display")"
  unset QT_QPA_PLATFORM
  export XDG_RUNTIME_DIR="$WORK/runtime"
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  openbox >"$WORK/openbox.log" 2>&1 &
  PIDS+=($!)
  wait_for sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'
}

window_id() {
  xwininfo -root -tree | awk '/Harumado/ && !id {id = $1} END {print id}'
}

# The window with its title bar as WIDTHxHEIGHT+X+Y.
frame_geometry() {
  local id="$1" x y w h l r t b
  x=$(xwininfo -id "$id" | awk '/Absolute upper-left X/ {print $NF}')
  y=$(xwininfo -id "$id" | awk '/Absolute upper-left Y/ {print $NF}')
  w=$(xwininfo -id "$id" | awk '/Width:/ {print $NF}')
  h=$(xwininfo -id "$id" | awk '/Height:/ {print $NF}')
  IFS=', ' read -r l r t b < <(xprop -id "$id" _NET_FRAME_EXTENTS | sed 's/.*= //')
  echo "$((w + l + r))x$((h + t + b))+$((x - l))+$((y - t))"
}

# A fingerprint of the message label in a cropped frame (label at 12,8 in the client area).
message_print() {
  convert "$1" -crop "241x21+$((FRAME_LEFT + 12))+$((FRAME_TOP + 8))" +repage -format '%#' info:
}

start_display
"$MAKE_SAMPLE" --count "$RACERS" "$WORK/fan.txt"
"$TOBIREX" --yes --no-open --output "$WORK/site" "$WORK/fan.txt" >"$WORK/tobirex.log" 2>&1 &
RUN=$!
PIDS+=("$RUN")

wait_for sh -c "xwininfo -root -tree | grep -q Harumado"
ID=$(window_id)
wait_for sh -c "xprop -id $ID _NET_FRAME_EXTENTS | grep -q ="
GEOMETRY=$(frame_geometry "$ID")
IFS=', ' read -r FRAME_LEFT _ FRAME_TOP _ < <(xprop -id "$ID" _NET_FRAME_EXTENTS | sed 's/.*= //')

# Photograph the window about ten times a second until the run ends (at most 2 minutes).
n=0
while kill -0 "$RUN" 2>/dev/null && ((n < 1200)); do
  n=$((n + 1))
  import -window root -crop "$GEOMETRY" +repage "$WORK/frame-$(printf %04d "$n").png" 2>/dev/null || true
  sleep 0.1
done
wait "$RUN" || { echo "tobirex failed:" >&2; cat "$WORK/tobirex.log" >&2; exit 1; }

# Keep the middle frame of the first phase whose message stays up for MIN_PHASE
# frames: its counter is then part way.
mapfile -t FRAMES < <(ls "$WORK"/frame-*.png)
PRINTS=()
for frame in "${FRAMES[@]}"; do PRINTS+=("$(message_print "$frame")"); done
start=0
for ((i = 1; i <= ${#FRAMES[@]}; i++)); do
  ((i < ${#FRAMES[@]})) && [[ "${PRINTS[$i]}" == "${PRINTS[$start]}" ]] && continue
  if ((i - start >= MIN_PHASE)); then
    middle=$(((start + i - 1) / 2))
    cp "${FRAMES[$middle]}" "$OUT"
    echo "window $GEOMETRY; ${#FRAMES[@]} frames; phase in frames $((start + 1))-$i; kept $((middle + 1)) as $OUT"
    exit 0
  fi
  start=$i
done
echo "no phase lasted $MIN_PHASE frames; try more racers" >&2
exit 1
