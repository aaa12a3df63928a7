#!/usr/bin/env bash
# A handful of self-play games through the UCI loop (default 4 at 5 s + 0 per
# side, two at a time; the first argument changes the count). Fails on an
# illegal move, a self-test line, a crash or a hang.
set -euo pipefail
cd "$(dirname "$0")/.."
games=${1:-4}
build=${OMBRIX_BUILD_DIR:-build}  # the release build of .ci/run

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target ombrix_selfplay -j "$(nproc)"
"$build/tools/ombrix_selfplay" --games "$games" --time-ms 5000 --inc-ms 0 --concurrency 2 --verbose
