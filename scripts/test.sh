#!/usr/bin/env bash
# Builds and runs every test: the release build, then the build with
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
for preset in release debug; do
  echo "=== $preset build"
  cmake --preset "$preset" -DROWPLUCK_TESTS=ON >/dev/null
  cmake --build "build/$preset"
  ctest --preset "$preset"
done

echo "=== release artefacts"
./scripts/test-package.sh
