#!/usr/bin/env bash
# Fuzzes the Paradox reader with libFuzzer (clang, AddressSanitizer, UndefinedBehaviorSanitizer).
#   scripts/fuzz-paradox.sh [SECONDS] [BUILD_DIR]
# SECONDS defaults to 300; BUILD_DIR to ../build-fuzz-paradox beside the clone. The kept corpus
# tests/fuzz/corpus/ is read, never written: new inputs go to BUILD_DIR/work-corpus, crashes and hangs to
# BUILD_DIR/findings/. Add a finding to tests/fuzz/corpus/ once the reader handles it, so the replay test in
# the normal suite keeps it fixed. One process, one core.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-300}
build=${2:-$root/../build-fuzz-paradox}
cxx=${CXX_FUZZ:-clang++-14}

mkdir -p "$build/work-corpus" "$build/findings"
"$cxx" -std=c++20 -O1 -g -fno-omit-frame-pointer -DPARADOX_LIBFUZZER \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I"$root" -I"$root/tests/fuzz" \
    "$root"/db/paradox/*.cpp "$root/db/Value.cpp" "$root/db/Codepage.cpp" "$root/db/FileSystem.cpp" \
    "$root/tests/fuzz/FuzzParadox.cpp" -o "$build/paradox_fuzzer"

cd "$build"
exec ./paradox_fuzzer -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=131072 \
    -artifact_prefix="$build/findings/" -print_final_stats=1 ${FUZZ_OPTS:-} \
    "$build/work-corpus" "$root/tests/fuzz/corpus"
