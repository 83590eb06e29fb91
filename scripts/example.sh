#!/usr/bin/env bash
# Builds Rowpluck and runs it on the bundled sales ledger: drops the header
# line and keeps the columns 2 to 4 (store, article, quantity).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset release -DROWPLUCK_TESTS=OFF >/dev/null
cmake --build build/release --target Rowpluck >/dev/null
out=build/example-sales.csv
rm -f "$out"
./build/release/Rowpluck examples/sales.txt /SL1 /SI1 /OI3 "$out" </dev/null | iconv -f CP932 -t UTF-8
echo "--- $out (shown as UTF-8):"
iconv -f CP932 -t UTF-8 "$out"
