#!/usr/bin/env bash
# Builds and runs every test: the release build, the build with
# AddressSanitizer and UndefinedBehaviorSanitizer, the end-to-end suite
# under valgrind, every fuzz target for 60 s, the release artefacts (manual
# page, README commands, Debian package), and the Windows build under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
for preset in release debug; do
  echo "=== $preset build"
  cmake --preset "$preset" -DROWPLUCK_TESTS=ON >/dev/null
  cmake --build "build/$preset"
  ctest --preset "$preset"
done

echo "=== end-to-end suite under valgrind"
./scripts/test-valgrind.sh

echo "=== fuzz targets, 60 s each"
./fuzz/run.sh 60

echo "=== release artefacts"
./scripts/test-package.sh

echo "=== Windows build under Wine"
./scripts/test-windows.sh
