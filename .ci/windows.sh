#!/usr/bin/env bash
# The Windows build: cross-compiles ombrix.exe and its conversation driver with
# MinGW-w64 into build-win, then runs both under Wine in a fresh prefix: the
# driver talks UCI to the engine over Windows pipes, and "bench" must give the
# recorded node counts.
set -euo pipefail
cd "$(dirname "$0")/.."

need=()
command -v cmake >/dev/null || need+=(cmake)
command -v ninja >/dev/null || need+=(ninja-build)
command -v script >/dev/null || need+=(bsdutils)
command -v x86_64-w64-mingw32-g++-win32 >/dev/null || need+=(g++-mingw-w64-x86-64)
dpkg -s wine64 >/dev/null 2>&1 || need+=(wine64)
if [ ${#need[@]} -gt 0 ]; then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${need[@]}"
fi

# The plain wine wrapper wants the 32-bit half; the 64-bit loader is enough here.
wine=$(dpkg -L wine64 | grep -m1 '/wine64$')
wineserver=$(dpkg -L wine64 | grep -m1 '/wineserver64$' || true)
[ -x "$wine" ] || { echo "no wine64 loader found" >&2; exit 1; }

echo "== Windows cross build"
cmake -S . -B build-win -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake"
cmake --build build-win -j "${JOBS:-$(nproc)}"

cd build-win
export WINEPREFIX="$PWD/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$WINEPREFIX"
if [ -n "$wineserver" ]; then trap '"$wineserver" -k 2>/dev/null || true' EXIT; fi
echo "ombrix.exe: $(stat -c %s ombrix.exe) bytes"

echo "== bench under Wine"
status=0
while read -r depth nodes; do
  case "$depth" in ''|'#'*) continue ;; esac
  # The first run also creates the prefix; its chatter goes to the log.
  out=$(timeout 120 "$wine" ./ombrix.exe bench "$depth" </dev/null 2>>wine.log) || {
    echo "bench $depth failed under Wine"; cat wine.log; exit 1; }
  echo "$out"
  got=$(printf '%s\n' "$out" | sed -n 's/^Nodes searched: //p')
  if [ "$got" = "$nodes" ]; then
    echo "ok   bench $depth: Nodes searched $got"
  else
    echo "FAIL bench $depth: Nodes searched ${got:-none}, recorded $nodes"
    status=1
  fi
done < ../tests/search/bench_signature.txt

echo "== UCI conversations under Wine"
# script(1) gives Wine a terminal, of which it makes the driver's console; the
# pipe conversations make their own pipes. The report goes to a file, away
# from the terminal's escape codes.
rm -f driver-report.txt
timeout 300 script -qec "'$wine' windows/uci_driver.exe ombrix.exe > driver-report.txt" /dev/null \
  </dev/null >/dev/null || status=1
cat driver-report.txt 2>/dev/null || { echo "the driver wrote no report"; status=1; }
exit $status
