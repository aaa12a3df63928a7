#!/usr/bin/env bash
# Builds the libFuzzer target with clang and runs it for a bounded time
# (default 60 s, or the first argument) over the seed corpus and the earlier
# findings. Exits non-zero on a finding; the input is left in build-fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

need=()
command -v clang++ >/dev/null || need+=(clang)
ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1 || need+=(libclang-rt-14-dev)
command -v cmake >/dev/null || need+=(cmake)
command -v ninja >/dev/null || need+=(ninja-build)
if [ ${#need[@]} -gt 0 ]; then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${need[@]}"
fi

build=${OMBRIX_BUILD_DIR:-build-fuzz}
cmake -S . -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DOMBRIX_FUZZ=ON -DOMBRIX_TESTS=OFF >/dev/null
cmake --build "$build" --target ombrix_fuzz -j "$(nproc)"

# New inputs go to a scratch corpus; the committed seeds are only read.
work="$build/corpus"
mkdir -p "$work" "$build/findings"
"$build/fuzz/ombrix_fuzz" -dict=fuzz/uci.dict -max_total_time="$seconds" -timeout=10 -rss_limit_mb=3000 \
  -print_final_stats=1 -artifact_prefix="$build/findings/" "$work" fuzz/corpus fuzz/regressions
