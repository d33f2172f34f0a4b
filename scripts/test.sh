#!/usr/bin/env bash
# The whole test suite on a fresh machine: install, build, start the loopback server, run every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
scripts/test-server.sh start
trap 'scripts/test-server.sh stop' EXIT
ctest --test-dir "${BUILD_DIR:-build}" --output-on-failure -j2 --timeout 600
