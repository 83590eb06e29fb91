# Shared by bench/run.sh and bench/check_identity.sh: the builds they need.
# Sets DATA, BIN (the Rowpluck under test), GEN (the data generator) and
# REF (the engine at REF_COMMIT, built once from git into bench/data).

DATA=$ROOT/bench/data
REF_COMMIT=31b139a

die() { echo "bench: $*" >&2; exit 1; }
note() { echo "bench: $*" >&2; }

build_all() {
  mkdir -p "$DATA"
  if [[ -n ${ROWPLUCK:-} ]]; then
    BIN=$(readlink -f "$ROWPLUCK")
  else
    note "building Rowpluck (release preset)"
    (cd "$ROOT" && cmake --preset release >/dev/null && cmake --build build/release >/dev/null) ||
      die "the release build failed"
    BIN=$ROOT/build/release/Rowpluck
  fi
  [[ -x $BIN ]] || die "no binary at $BIN"

  GEN=$DATA/gen_data
  if [[ ! -x $GEN || $ROOT/bench/gen_data.cpp -nt $GEN ]]; then
    note "compiling the data generator"
    g++ -O2 -std=c++17 -o "$GEN" "$ROOT/bench/gen_data.cpp" || die "cannot compile gen_data"
  fi

  # The engine as it was before the performance work, built once from git.
  local src=$DATA/ref-src
  REF=$src/build/Rowpluck
  if [[ ! -x $REF ]]; then
    note "building the reference engine at $REF_COMMIT"
    rm -rf "$src"
    mkdir -p "$src"
    git -C "$ROOT" archive "$REF_COMMIT" | tar -x -C "$src" || die "git archive $REF_COMMIT failed"
    { cmake -S "$src" -B "$src/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DROWPLUCK_TESTS=OFF \
        >/dev/null && cmake --build "$src/build" >/dev/null; } || die "the reference build failed"
  fi
}
