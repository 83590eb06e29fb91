#!/usr/bin/env bash
# Checks the release artefacts: the manual page lints clean, every command
# shown in README.md gives the output shown there, the .deb
# builds, installs with dpkg -i, puts a working Rowpluck on PATH and its
# manual page where man finds it, and removes cleanly.
set -euo pipefail
cd "$(dirname "$0")/.."

echo "=== manual page lint"
lint=$(groff -k -ww -z -Tutf8 -man doc/rowpluck.1 2>&1)
if [ -n "$lint" ]; then
  echo "$lint"
  exit 1
fi

echo "=== README commands"
cmake --preset release >/dev/null
cmake --build build/release --target Rowpluck >/dev/null
python3 scripts/check-readme.py

echo "=== Debian package"
cmake --preset release >/dev/null
cmake --build build/release --target Rowpluck >/dev/null
(cd build/release && cpack -G DEB >/dev/null)
deb=build/release/rowpluck_1.0_amd64.deb
dpkg-deb -c "$deb"

if [ "$(id -u)" != 0 ]; then
  echo "not root: dpkg -i skipped"
  exit 0
fi
if dpkg -s rowpluck >/dev/null 2>&1; then
  echo "rowpluck is already installed here: not touching it"
  exit 1
fi
trap 'dpkg -r rowpluck >/dev/null 2>&1 || true' EXIT
dpkg -i "$deb" >/dev/null
[ "$(command -v Rowpluck)" = /usr/bin/Rowpluck ]
set +e
Rowpluck >/tmp/rowpluck-usage.$$ </dev/null
rc=$?
set -e
[ "$rc" = 0 ] || { echo "installed Rowpluck exited $rc"; exit 1; }
grep -q 'version 1.0' /tmp/rowpluck-usage.$$
rm -f /tmp/rowpluck-usage.$$
man -w rowpluck
LC_ALL=C.UTF-8 MANWIDTH=80 man rowpluck 2>/dev/null | grep -q 'write a window of the lines'
echo "installed package works: Rowpluck on PATH, man rowpluck shows the page"
