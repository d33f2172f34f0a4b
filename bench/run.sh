#!/usr/bin/env bash
# The benchmark: builds what it needs into $BUILD_DIR (default build/) and runs selvanto-bench, which
# generates the old installation at size N and 2N, runs selvanto-upgrade-batch on each and compares it
# with the insert floor. Arguments go to selvanto-bench (see --help), e.g.
#   bench/run.sh                        # Mirkado 4, bench size, N and 2N
#   bench/run.sh --kind both            # also Kobaltin
#   bench/run.sh --scales 1 --cards 2000 --stock 2000 --hotel 1000   # a quicker look
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
  cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} -DSELVANTO_GUI=OFF >/dev/null
fi
cmake --build "$BUILD_DIR" -j"${JOBS:-2}" --target selvanto-bench selvanto-make-source selvanto-upgrade-batch \
  selvanto-insert-floor
echo "Machine: $(nproc) cores, $(awk '/MemTotal/ {printf "%.1f GB", $2 / 1048576}' /proc/meminfo)," \
  "$(lscpu | sed -n 's/^Model name: *//p' | head -1)"
exec "$BUILD_DIR/bench/selvanto-bench" --bin "$(cd "$BUILD_DIR" && pwd)" "$@"
