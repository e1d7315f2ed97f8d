#!/usr/bin/env bash
# Writes the seed corpora from the bundled sample. Run once after a layout
# change; the seeds are committed, and inputs the fuzzers found are kept next
# to them as regression inputs named after their fault.
set -euo pipefail
cd "$(dirname "$0")"
export LC_ALL=C
SAMPLE=../samples/fan2510.txt
CUR=corpus/fuzz_load_current
OLD=corpus/fuzz_load_old2
CONV=corpus/fuzz_convert
mkdir -p "$CUR" "$OLD" "$CONV"

crlf() { sed 's/$/\r/'; }
record() { sed -n "${1}p" "$SAMPLE" | tr -d '\r'; }
# The Old2 layout: two-digit year and term, six-character dates, no birthplace.
old2() { cut -b 1-174,177-179,182-187,190-195,197-410; }

# Current layout.
head -n 5 "$SAMPLE" >"$CUR/sample-first5"
tail -n 3 "$SAMPLE" >"$CUR/sample-last3"
head -n 3 "$SAMPLE" | tr -d '\r' >"$CUR/lf-line-ends"
: >"$CUR/empty"
# Cut inside the kanji name, after the birth date, inside the year, inside
# the course results and inside the birthplace; no line end.
for n in 5 48 176 300 412; do
  record 1 | head -c "$n" >"$CUR/cut-at-$(printf %03d "$n")"
done
# Lead bytes with a bad trail byte, bytes no character starts with, and a
# lead byte cut by the line end.
{
  record 1 | head -c 4
  printf '\x81\x20\xff\xfd\x80\xa0\x82\x7f\xa0\x81\x7f\x81\x81\x40'
  record 1 | tail -c +21 | head -c 395
  printf '\x82\r\n'
  record 2
} >"$CUR/invalid-shift-jis"
# A hand-edited file: header, blank lines, a cut record, a racer twice,
# markup in the name, a trailer.
{
  printf 'FAN HANDBOOK 2025-2\n\n'
  record 3 | head -c 48; printf '\n   \n'
  record 4; printf '\n'
  record 4 | sed 's/^\(....\).\{8\}/\1<script>/'; printf '\n'
  record 4; printf '\n'
  printf 'END OF DATA\n'
} >"$CUR/hand-edited"
head -n 3 "$SAMPLE" | tr -d '\r' | old2 | crlf >"$CUR/old2-layout"

# Old2 layout: 403-byte records.
head -n 5 "$SAMPLE" | tr -d '\r' | old2 | crlf >"$OLD/old2-first5"
tail -n 3 "$SAMPLE" | tr -d '\r' | old2 | crlf >"$OLD/old2-last3"
head -n 3 "$SAMPLE" | tr -d '\r' | old2 >"$OLD/old2-lf-line-ends"
: >"$OLD/empty"
for n in 5 48 176 191 300 402; do
  record 1 | old2 | head -c "$n" >"$OLD/old2-cut-at-$(printf %03d "$n")"
done
{ record 1 | old2 | head -c 4; printf '\x81\x20\xff\xfd\x80\xa0\x82'; record 1 | old2 | tail -c +12; } \
  | crlf >"$OLD/old2-invalid-shift-jis"
head -n 2 "$SAMPLE" >"$OLD/current-layout"

# The conversion run starts from the current-layout seeds.
for f in "$CUR"/*; do
  case "$(basename "$f")" in crash-*|leak-*|timeout-*) continue ;; esac
  cp "$f" "$CONV/"
done
