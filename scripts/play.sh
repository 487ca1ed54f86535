#!/usr/bin/env bash
# Installs what is missing, builds Sowrow and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DSOWROW_TESTS=OFF -DSOWROW_BENCHMARKS=OFF > /dev/null
cmake --build build -j "$(nproc)"
# The game reads Images/, Sounds/ and music/ from its working directory.
exec build/sowrow
