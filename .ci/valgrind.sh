#!/usr/bin/env bash
# A scripted UCI session under valgrind memcheck: positions, searches with
# "isready" and "stop" arriving while they think, Hash changes up to 1024 MB,
# then "quit". Fails on any memcheck error, on memory definitely lost, or when
# the engine does not answer as it should.
set -euo pipefail
cd "$(dirname "$0")/.."

need=()
command -v valgrind >/dev/null || need+=(valgrind)
command -v cmake >/dev/null || need+=(cmake)
command -v ninja >/dev/null || need+=(ninja-build)
if [ ${#need[@]} -gt 0 ]; then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${need[@]}"
fi

build=${OMBRIX_BUILD_DIR:-build-valgrind}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOMBRIX_TESTS=OFF >/dev/null
cmake --build "$build" --target ombrix -j "$(nproc)"

log=$(mktemp)
out=$(mktemp)
trap 'rm -f "$log" "$out"' EXIT

coproc ENGINE { valgrind --tool=memcheck --leak-check=full --show-leak-kinds=definite \
  --errors-for-leak-kinds=definite --error-exitcode=99 --log-file="$log" "$build/ombrix"; }
engine_pid=$ENGINE_PID
engine_in=${ENGINE[1]}
engine_out=${ENGINE[0]}

send() { printf '%s\n' "$1" >&"$engine_in"; }
# Reads the engine's lines until one starts with $1 (at most $2 seconds).
wait_for() {
  local line deadline=$((SECONDS + $2))
  while [ $SECONDS -lt $deadline ]; do
    if IFS= read -r -t 5 line <&"$engine_out"; then
      printf '%s\n' "$line" >>"$out"
      case "$line" in "$1"*) return 0 ;; esac
    fi
  done
  echo "valgrind session: no \"$1\" within $2 s" >&2
  return 1
}

send uci;                                    wait_for uciok 120
send isready;                                wait_for readyok 60
send "setoption name Hash value 1024"
send isready;                                wait_for readyok 300
send "position startpos moves e2e4 e7e5 g1f3 b8c6"
send "go depth 3";                           wait_for bestmove 600
send "setoption name Hash value 16"
send "position fen r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1 moves e1g1"
send "go infinite"; sleep 4
send isready;                                wait_for readyok 120
sleep 1
send stop;                                   wait_for bestmove 120
send "position fen 8/P7/8/8/8/8/7p/k6K w - - 0 1 moves a7a8q h2h1n"
send "go wtime 3000 btime 3000";             wait_for bestmove 600
send "setoption name Hash value 1"
send "position fen qqqqkqqq/qqqqqqqq/8/8/8/8/QQQQQQQQ/QQQQKQQQ w - - 0 1"
send "go infinite"; sleep 3
send stop;                                   wait_for bestmove 120
send ucinewgame
send "position startpos moves d2d4 zz e7e5 d7d5"
send "go movetime 500";                      wait_for bestmove 600
send "position startpos"
send "go infinite"; sleep 3
send quit

status=0
wait "$engine_pid" || status=$?
grep -E "HEAP SUMMARY|in use at exit|total heap usage|definitely lost|ERROR SUMMARY" "$log" || true
if grep -q "^ERROR\|^white test_" "$out"; then
  echo "valgrind session: the engine wrote a self-test line" >&2
  exit 1
fi
if [ "$status" -ne 1 ]; then
  echo "valgrind session: exit status $status (1 after quit expected, 99 is a memcheck error)" >&2
  cat "$log" >&2
  exit 1
fi
echo "valgrind session: $(grep -c "^bestmove" "$out") bestmove and $(grep -c "^readyok" "$out") readyok lines; no memcheck error, nothing definitely lost"
