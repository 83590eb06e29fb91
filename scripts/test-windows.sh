#!/usr/bin/env bash
# Builds the Windows build (Rowpluck.exe, cross-compiled with mingw-w64) and
# runs its tests under Wine with code page 932: the cross-built unit tests
# through ctest, then the end-to-end suite (a program of the build machine)
# against Rowpluck.exe and its test build with the fault seam.
#
# Needs mingw-w64 (x86_64-w64-mingw32-g++-posix), Wine (wine, wineserver)
# and localedef; .ci/run installs them on a fresh Debian machine.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
start=$SECONDS

for tool in x86_64-w64-mingw32-g++-posix wine wineserver localedef; do
  if ! command -v "$tool" >/dev/null; then
    echo "test-windows.sh: $tool is missing (.ci/run installs it)" >&2
    exit 1
  fi
done

echo "=== windows build"
cmake --preset windows >/dev/null
cmake --build build/windows
# The end-to-end suite is a program of the build machine.
cmake --preset release -DROWPLUCK_TESTS=ON >/dev/null
cmake --build build/release --target rowpluck_e2e_tests

# A Wine session of our own: a fresh prefix, one persistent server, and an
# end that always shuts that server down, so that nothing is left running.
export WINEDEBUG=-all                                          # stderr stays the program's own
export WINEDLLOVERRIDES='winemenubuilder.exe=d;winedbg.exe=d'  # no writes to $HOME; no crash dumps
scratch=$(mktemp -d /tmp/rowpluck-wine.XXXXXX)
export WINEPREFIX=$scratch/prefix
end_session() {
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$scratch"
}
trap end_session EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

echo "=== wine session"
mkdir "$WINEPREFIX"
# Code page 932 needs a generated Japanese locale; the bare locale name
# alone reports 932 but mangles every non-ASCII file name.
localedef -i ja_JP -f UTF-8 "$scratch/ja_JP.UTF-8" >/dev/null 2>&1 ||
  [ -d "$scratch/ja_JP.UTF-8" ] || { echo "test-windows.sh: localedef failed" >&2; exit 1; }
wineboot -i </dev/null >/dev/null 2>&1
wineserver -k
# A persistent server: otherwise Wine's background processes inherit the
# first test's output and whoever reads it to its end waits for them.
wineserver -p </dev/null >/dev/null 2>&1
# Every Windows program runs with the Japanese locale; the build tools and
# this shell keep their own.
japanese() { env LOCPATH="$scratch" LC_ALL=ja_JP.UTF-8 "$@"; }
japanese wine cmd /c exit </dev/null >/dev/null 2>&1  # warm-up: background services start here
echo "wine session ready after $((SECONDS - start)) s"

echo "=== windows unit tests (under Wine)"
japanese ctest --preset windows

echo "=== windows end-to-end tests (Rowpluck.exe under Wine)"
ROWPLUCK_EXE=$root/build/windows/Rowpluck.exe ROWPLUCK_LAUNCHER=wine ROWPLUCK_TARGET=windows \
ROWPLUCK_FAULTY_EXE=$root/build/windows/tests/Rowpluck-faults.exe \
  japanese build/release/tests/rowpluck_e2e_tests --gtest_brief=1

echo "=== windows package"
# The zip holds the statically linked program, which needs no DLL beyond
# Windows' own, and the Japanese read-me.
(cd build/windows && cpack -G ZIP >/dev/null)
zip=build/windows/rowpluck-1.0-win64.zip
unzip -l "$zip"
unpacked=$scratch/zip
unzip -q -o "$zip" -d "$unpacked"
exe=$(find "$unpacked" -name Rowpluck.exe)
[ -n "$(find "$unpacked" -name README-ja.txt)" ]
dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name/ {print $3}' | sort | tr '\n' ' ')
echo "imports: $dlls"
[ "$dlls" = "KERNEL32.dll msvcrt.dll " ] || { echo "unexpected DLL imports: $dlls" >&2; exit 1; }

echo "=== windows tests passed in $((SECONDS - start)) s"
