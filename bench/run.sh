#!/usr/bin/env bash
# Benchmark of Rowpluck against cat, cut and wc on generated data.
#
#   bench/run.sh
#
# Builds Rowpluck (release preset), the data generator and, once, the
# reference engine at commit $REF_COMMIT; generates the data under
# bench/data/ (git-ignored); then times every case side by side, the two
# commands taking turns (R O R O ...) after one warm-up run of each, and
# prints medians, ratios, the peak resident set of the Rowpluck runs and
# whether every Rowpluck output is byte-identical to the reference's.
#
# Settings (environment):
#   RUNS=5          timed runs of each command per case (at least 5)
#   CASES=ABCDE     the cases to run
#   SIZE=1073741824 bytes of each generated big file
#   E_RUNS=200      runs per timed sample of case E
#   ROWPLUCK=path   time this binary instead of build/release/Rowpluck
#   OUT_DIR=dir     where the outputs are written (default bench/data)
set -euo pipefail
export LC_ALL=C

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
RUNS=${RUNS:-5}
CASES=${CASES:-ABCDE}
SIZE=${SIZE:-1073741824}
E_RUNS=${E_RUNS:-200}
OUT=${OUT_DIR:-$ROOT/bench/data}
BLOCK=256K  # dd's block size: the same as Rowpluck's read and write blocks
TIME=/usr/bin/time

. "$ROOT/bench/lib.sh"
[[ $RUNS -ge 5 ]] || die "RUNS must be at least 5"
[[ -x $TIME ]] || die "$TIME is missing (Debian package: time)"

# --- build -----------------------------------------------------------------
build_all
mkdir -p "$OUT"

# --- data ------------------------------------------------------------------
BIG=$DATA/big.csv
LINE=$DATA/line.txt
SMALL=$DATA/small.csv
STAMP=$DATA/data.stamp
want="$SIZE $(sha256sum <"$ROOT/bench/gen_data.cpp" | cut -c1-16)"
if [[ ! -f $STAMP || $(head -n1 "$STAMP") != "$want" || ! -f $BIG || ! -f $LINE || ! -f $SMALL ]]; then
  rm -f "$STAMP"
  note "generating $SIZE-byte inputs"
  lines=$("$GEN" csv "$BIG" "$SIZE") || die "gen_data csv failed"
  "$GEN" line "$LINE" "$SIZE" >/dev/null || die "gen_data line failed"
  "$GEN" csv "$SMALL" 1024 >/dev/null || die "gen_data csv small failed"
  printf '%s\n%s\n' "$want" "$lines" >"$STAMP"
fi
LINES=$(sed -n 2p "$STAMP")

# --- helpers ---------------------------------------------------------------
WORK=$(mktemp -d "${TMPDIR:-/tmp}/rowpluck-bench.XXXXXX")
trap 'rm -rf "$WORK"; rm -f "$OUT"/out.csv "$OUT"/out2.csv "$OUT"/out3.csv; rm -rf "$OUT"/e' EXIT

now() { echo "$EPOCHREALTIME"; }
calc() { awk "BEGIN {printf \"%.6f\\n\", $1}"; }
median() { sort -g | awk '{v[NR]=$1} END {if (NR%2) print v[(NR+1)/2]; else print (v[NR/2]+v[NR/2+1])/2}'; }
maxof() { sort -g | tail -n1; }
peak_kib() { sed -n 's/.*Maximum resident set size (kbytes): //p' "$1"; }
# "user+sys" processor seconds of one run, from /usr/bin/time -v.
cpu_of() {
  awk -F': ' '/User time/ {u = $2} /System time/ {s = $2} END {printf "%.3f %.3f\n", u, s}' "$1"
}
clean_outputs() { rm -f "$OUT"/out.csv "$OUT"/out2.csv "$OUT"/out3.csv; sync; }

# The checksum of the reference engine's output for one case, kept in the
# output directory (with its summary) for as long as the data stay the same.
ref_sum() {  # case, arguments...
  local c=$1 file=$OUT/ref-$1.sum
  shift
  if [[ ! -f $file || $(head -n1 "$file") != "$want" ]]; then
    clean_outputs
    "$REF" "$@" "$OUT"/out.csv >"$OUT/ref-$c.stdout" </dev/null ||
      die "the reference engine failed on case $c"
    { echo "$want"; sha256sum <"$OUT"/out.csv | cut -d' ' -f1; } >"$file"
    rm -f "$OUT"/out.csv
  fi
  sed -n 2p "$file"
}

# One Rowpluck run under /usr/bin/time -v: appends seconds to $1.r, peak
# KiB to $1.rss and "same"/"DIFFERENT" to $1.cmp.
run_rowpluck() {  # tag, expected-sum, arguments...
  local tag=$1 sum=$2 t0 t1
  shift 2
  clean_outputs
  t0=$(now)
  "$TIME" -v -o "$WORK/time.txt" "$BIN" "$@" "$OUT"/out.csv >"$WORK/stdout.txt" </dev/null ||
    die "Rowpluck failed: $BIN $* $OUT/out.csv"
  t1=$(now)
  calc "$t1 - $t0" >>"$WORK/$tag.r"
  cpu_of "$WORK/time.txt" >>"$WORK/$tag.r.cpu"
  peak_kib "$WORK/time.txt" >>"$WORK/$tag.rss"
  if [[ $(sha256sum <"$OUT"/out.csv | cut -d' ' -f1) == "$sum" ]] &&
    cmp -s "$WORK/stdout.txt" "$OUT/ref-${tag:0:1}.stdout"; then
    echo same >>"$WORK/$tag.cmp"
  else
    echo DIFFERENT >>"$WORK/$tag.cmp"
  fi
  rm -f "$OUT"/out.csv
}

# One run of another command, timed the same way; its standard output goes
# to the given file.
run_other() {  # times-file, stdout-file, command...
  local file=$1 to=$2 t0 t1
  shift 2
  clean_outputs
  t0=$(now)
  "$TIME" -v -o "$WORK/time.txt" "$@" >"$to" || die "failed: $*"
  t1=$(now)
  calc "$t1 - $t0" >>"$WORK/$file"
  cpu_of "$WORK/time.txt" >>"$WORK/$file.cpu"
  rm -f "$OUT"/out2.csv "$OUT"/out3.csv
}

ROWS=()
row() {  # label, rowpluck-file, other-file, target, tag, [floor-file floor-label]
  local label=$1 rf=$2 of=$3 target=$4 tag=$5 r o ratio met rss same total
  r=$(median <"$WORK/$rf")
  o=$(median <"$WORK/$of")
  ratio=$(calc "$r / $o")
  met=$(awk -v a="$ratio" -v t="$target" 'BEGIN {print (a <= t) ? "yes" : "NO"}')
  rss=$(maxof <"$WORK/$tag.rss")
  total=$(wc -l <"$WORK/$tag.cmp")
  same=$(grep -c '^same$' "$WORK/$tag.cmp" || true)
  if [[ $same == "$total" ]]; then same="identical $same/$total"; else same="DIFFERS $((total - same))/$total"; fi
  ROWS+=("$(printf '%-30s %9.4f %9.4f %6.2f %6s %-4s %7.2f  %s' "$label" "$r" "$o" "$ratio" "<=$target" \
    "$met" "$(calc "$rss / 1024")" "$same")")
  if [[ $# -ge 7 ]]; then
    local f fr
    f=$(median <"$WORK/$6")
    fr=$(calc "$r / $f")
    ROWS+=("$(printf '  %-28s %9s %9.4f %6.2f   (floor/other %.2f)' "$7" "" "$f" "$fr" "$(calc "$f / $o")")")
  fi
  if [[ -s $WORK/$rf.cpu ]]; then
    ROWS+=("$(printf '  %-28s %s; other %s' "processor s, user/system" "Rowpluck $(cpu_medians "$rf")" \
      "$(cpu_medians "$of")")")
  fi
  RUNS_SEEN+=("$(printf '%-4s Rowpluck %s\n%-4s other    %s' "$tag" "$(tr '\n' ' ' <"$WORK/$rf")" "" \
    "$(tr '\n' ' ' <"$WORK/$of")")")
}
cpu_medians() {
  printf '%.3f/%.3f' "$(cut -d' ' -f1 <"$WORK/$1.cpu" | median)" "$(cut -d' ' -f2 <"$WORK/$1.cpu" | median)"
}
RUNS_SEEN=()

# A case with big files: warm-up, then RUNS turns of Rowpluck, the other
# command and, for some cases, the read/write floor (dd with Rowpluck's
# block size), in that order. OTHER and FLOOR hold the commands as arrays,
# OTHER_TO and FLOOR_TO where their standard output goes.
big_case() {  # tag, rowpluck arguments...
  local tag=$1 sum i
  shift
  sum=$(ref_sum "$tag" "$@")
  : >"$WORK/$tag.rss"
  : >"$WORK/$tag.cmp"
  for ((i = 0; i <= RUNS; i++)); do  # turn 0 is the warm-up
    note "case $tag: run $i of $RUNS"
    run_rowpluck "$tag" "$sum" "$@"
    run_other "$tag.o" "$OTHER_TO" "${OTHER[@]}"
    if ((${#FLOOR[@]} > 0)); then run_other "$tag.f" /dev/null "${FLOOR[@]}"; fi
    if ((i == 0)); then
      for f in "$tag.r" "$tag.o" "$tag.f"; do : >"$WORK/$f"; : >"$WORK/$f.cpu"; done
    fi
  done
}

# --- cases -----------------------------------------------------------------
for c in $(echo "$CASES" | grep -o .); do
  case $c in
    A) OTHER=(cat "$BIG") OTHER_TO=$OUT/out2.csv
      FLOOR=(dd "if=$BIG" "of=$OUT/out3.csv" "bs=$BLOCK" status=none)
      big_case A "$BIG"
      row "A whole copy      vs cat" A.r A.o 1.25 A A.f "read/write floor (dd)" ;;
    B) OTHER=(cut -d, -f2-3 "$BIG") OTHER_TO=$OUT/out2.csv FLOOR=()
      big_case B "$BIG" /SI1 /OI2
      row "B window /SI1 /OI2 vs cut" B.r B.o 0.20 B ;;
    C) OTHER=(wc -l "$BIG") OTHER_TO=/dev/null
      FLOOR=(dd "if=$BIG" of=/dev/null "bs=$BLOCK" status=none)
      big_case C "$BIG" "/SL$LINES"
      row "C skip all lines  vs wc -l" C.r C.o 1.5 C C.f "read-only floor (dd)" ;;
    D) OTHER=(cat "$LINE") OTHER_TO=$OUT/out2.csv
      FLOOR=(dd "if=$LINE" "of=$OUT/out3.csv" "bs=$BLOCK" status=none)
      big_case D "$LINE"
      row "D one 1 GiB line  vs cat" D.r D.o 1.25 D D.f "read/write floor (dd)" ;;
    E)
      sum=$(ref_sum E "$SMALL")
      : >"$WORK/E.r"
      : >"$WORK/E.o"
      : >"$WORK/E.rss"
      : >"$WORK/E.cmp"
      refout=$WORK/ref-small.csv
      "$REF" "$SMALL" "$refout" >/dev/null </dev/null
      for ((i = 0; i <= RUNS; i++)); do  # sample 0 is the warm-up
        note "case E: sample $i of $RUNS ($E_RUNS runs each)"
        rm -rf "$OUT/e" && mkdir -p "$OUT/e"
        t0=$(now)
        for ((k = 1; k <= E_RUNS; k++)); do "$BIN" "$SMALL" "$OUT/e/r$k.csv" >/dev/null </dev/null; done
        t1=$(now)
        for ((k = 1; k <= E_RUNS; k++)); do cat "$SMALL" >"$OUT/e/c$k.csv"; done
        t2=$(now)
        if ((i > 0)); then
          calc "($t1 - $t0) / $E_RUNS" >>"$WORK/E.r"
          calc "($t2 - $t1) / $E_RUNS" >>"$WORK/E.o"
        fi
        for ((k = 1; k <= E_RUNS; k++)); do
          if cmp -s "$OUT/e/r$k.csv" "$refout"; then echo same; else echo DIFFERENT; fi
        done >>"$WORK/E.cmp"
        rm -f "$OUT/e/r1.csv"
        "$TIME" -v -o "$WORK/time.txt" "$BIN" "$SMALL" "$OUT/e/r1.csv" >/dev/null </dev/null
        peak_kib "$WORK/time.txt" >>"$WORK/E.rss"
      done
      rm -rf "$OUT/e"
      row "E start-up, 1 KiB  vs cat" E.r E.o 2.0 E ;;
    *) die "unknown case $c" ;;
  esac
done

# --- table -----------------------------------------------------------------
cores=$(nproc)
model=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n1)
mem=$(awk '/MemTotal/ {printf "%.1f GiB", $2 / 1048576}' /proc/meminfo)
fs=$(df -T "$OUT" | awk 'NR == 2 {print $2}')
echo
echo "Machine: $cores cores ($model), $mem memory, $(uname -sr); outputs on $fs"
echo "Data: big.csv $SIZE bytes, $LINES lines; line.txt $SIZE bytes, no line end; small.csv 1024 bytes"
echo "Medians of $RUNS runs each, taking turns after a warm-up (case E: seconds per run, $E_RUNS runs a sample)"
printf '%-30s %9s %9s %6s %6s %-4s %7s  %s\n' "case" "Rowpluck" "other" "ratio" "target" "met" "RSS MiB" \
  "output vs $REF_COMMIT"
for r in "${ROWS[@]}"; do echo "$r"; done
echo
echo "Every timed run, in seconds (in the order run):"
for r in "${RUNS_SEEN[@]}"; do echo "$r"; done
