#!/usr/bin/env bash
# Runs the whole end-to-end suite with every Rowpluck process under
# valgrind's memory checker: any invalid read, write or use of an
# uninitialised value fails the case.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset release -DROWPLUCK_TESTS=ON >/dev/null
cmake --build build/release >/dev/null
ROWPLUCK_LAUNCHER="valgrind -q --error-exitcode=86" \
ROWPLUCK_EXE="$PWD/build/release/Rowpluck" \
ROWPLUCK_FAULTY_EXE="$PWD/build/release/tests/Rowpluck-faults" \
  ./build/release/tests/rowpluck_e2e_tests --gtest_brief=1
