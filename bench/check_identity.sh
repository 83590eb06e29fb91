#!/usr/bin/env bash
# Byte-identity of Rowpluck with the reference engine (see bench/lib.sh):
# both run on the same inputs with the same options, and the output file,
# standard output and exit code must match exactly.
#
#   bench/check_identity.sh
#
# Inputs: small awkward files (CR inside lines, 0x1A inside a line, no final
# line end, empty lines, leading commas, ...), the same oddities placed
# around the 256 KiB read-block boundaries of a clean CR LF file, and
# generated mixes (gen_data mix) from a few bytes to a few MiB. Settings:
# MIXES=60 (how many mixes).
set -euo pipefail
export LC_ALL=C

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
MIXES=${MIXES:-60}
. "$ROOT/bench/lib.sh"
build_all

WORK=$(mktemp -d "${TMPDIR:-/tmp}/rowpluck-identity.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
mkdir -p "$WORK/in" "$WORK/ref" "$WORK/new"

# --- inputs ----------------------------------------------------------------
n=0
add() { printf "$1" >"$WORK/in/$(printf '%03d' $n).txt"; n=$((n + 1)); }
add 'a\rb\r\nc\r\r\n\rd\r\n'           # CRs inside and at the start of lines
add 'a,b\x1a,c\r\nd\r\n'               # 0x1A inside a line
add 'x,y\r\n\x1a\r\nz\r\n'             # 0x1A at the start of a line
add 'a,b\r\nc,d'                       # no final line end
add 'a,b\r\nc,d\r'                     # a CR as the last byte
add '\r\n\r\na,b\r\n\n\nb,c\r\n\r\n'   # empty lines
add ',a,b\r\n,,c\r\n,\r\n'             # lines starting with a comma
add 'a,b\nc,d\r\ne,f\n'                # LF and CR LF mixed
add '\x1a'                             # nothing but 0x1A
add 'a\n\r'                            # a CR alone after the last line
add '\x95\x5c,\x83\x5c\r\n\x82\xa0,,\x8b\x40\r\n'  # Shift-JIS
add '"x,y",z\r\n1,2,3,4,5,6\r\n'       # quotes are ordinary bytes
add '\r'
add ',,,,\r\n,,,\n,,\r,\n'

# A clean CR LF file with one oddity placed just before, at and after the
# first read-block boundaries.
"$GEN" csv "$WORK/clean.csv" 800000 >/dev/null
for odd in '\r' '\n' '\r\n' '\x1a' '\r\n\r\n' ',' '\n\n'; do
  for at in 262141 262142 262143 262144 262145 524287 524288; do
    f=$WORK/in/$(printf '%03d' $n).txt
    n=$((n + 1))
    { head -c "$at" "$WORK/clean.csv"; printf "$odd"; tail -c +"$((at + 1))" "$WORK/clean.csv"; } >"$f"
  done
done
# The same file cut short inside a line, and a long line with no line end.
head -c 600001 "$WORK/clean.csv" >"$WORK/in/$(printf '%03d' $n).txt"; n=$((n + 1))
"$GEN" line "$WORK/in/$(printf '%03d' $n).txt" 700000 >/dev/null; n=$((n + 1))

sizes=(1 7 64 65 300 4096 20000 300000 1500000 3000000)
for ((seed = 1; seed <= MIXES; seed++)); do
  "$GEN" mix "$WORK/in/$(printf '%03d' $n).txt" "${sizes[seed % ${#sizes[@]}]}" "$seed"
  n=$((n + 1))
done

OPTIONS=(
  "" "/SL1" "/SL2" "/SL-1" "/SL0" "/SI1" "/SI2" "/SI-1" "/OI1" "/OI2" "/OI-1"
  "/OL1" "/OL2" "/OL-1" "/SI1 /OI2" "/SI2 /OI1" "/SL1 /SI1 /OI1 /OL2" "/SL3 /OL1"
  "/SL2 /OL5" "/OL1000" "/SL1000" "/SL100000" "/SI-2 /OI-2" "/SL-3 /OL-3" "/SI1 /OL3"
)

# --- runs ------------------------------------------------------------------
runs=0
bad=0
for f in "$WORK"/in/*.txt; do
  ln -sf "$f" "$WORK/ref/in.txt"
  ln -sf "$f" "$WORK/new/in.txt"
  for opts in "${OPTIONS[@]}"; do
    for side in ref new; do
      exe=$REF
      [[ $side == new ]] && exe=$BIN
      rm -f "$WORK/$side/out.csv"
      # shellcheck disable=SC2086  # the options are meant to split
      (cd "$WORK/$side" && { "$exe" in.txt $opts out.csv </dev/null >stdout 2>stderr; echo "exit $?" >>stdout; })
    done
    runs=$((runs + 1))
    if ! cmp -s "$WORK/ref/out.csv" "$WORK/new/out.csv" || ! cmp -s "$WORK/ref/stdout" "$WORK/new/stdout" ||
      ! cmp -s "$WORK/ref/stderr" "$WORK/new/stderr"; then
      bad=$((bad + 1))
      keep=$ROOT/bench/data/identity-failure-$bad
      mkdir -p "$keep"
      cp "$f" "$keep/in.txt"
      cp "$WORK/ref/out.csv" "$keep/ref.csv" 2>/dev/null || true
      cp "$WORK/new/out.csv" "$keep/new.csv" 2>/dev/null || true
      cp "$WORK/ref/stdout" "$keep/ref.stdout"
      cp "$WORK/new/stdout" "$keep/new.stdout"
      echo "DIFFERENT: $(basename "$f") with options '$opts' (kept in $keep)"
    fi
  done
done
echo "identity: $runs runs on $n inputs x ${#OPTIONS[@]} option sets against $REF_COMMIT: $bad different"
[[ $bad -eq 0 ]]
