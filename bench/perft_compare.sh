#!/usr/bin/env bash
# Times "ombrix perft DEPTH" against stockfish's "go perft DEPTH" from the
# start position, alternating the two, and prints every time and the best of
# each. Both node counts must agree.
#
#   bench/perft_compare.sh [path/to/ombrix]     (default: build/ombrix)
#   DEPTH=6 ROUNDS=3 bench/perft_compare.sh
set -euo pipefail

ombrix=${1:-build/ombrix}
depth=${DEPTH:-6}
rounds=${ROUNDS:-3}
reference=${REFERENCE:-$(command -v stockfish || echo /usr/games/stockfish)}

if [[ ! -x $ombrix ]]; then
  echo "no ombrix binary at $ombrix" >&2
  exit 1
fi
if [[ ! -x $reference ]]; then
  echo "$reference not found (apt-get install -y stockfish)" >&2
  exit 1
fi

now() { date +%s.%N; }

run_ombrix() {
  "$ombrix" perft "$depth" | sed -n 's/^Nodes searched: //p'
}

run_reference() {
  # "quit" waits for the running count to finish.
  printf 'position startpos\ngo perft %s\nquit\n' "$depth" | "$reference" | sed -n 's/^Nodes searched: //p'
}

best_o= best_r=
for ((i = 1; i <= rounds; ++i)); do
  t0=$(now); nodes_o=$(run_ombrix); t1=$(now)
  t2=$(now); nodes_r=$(run_reference); t3=$(now)
  to=$(echo "$t1 - $t0" | bc -l); tr=$(echo "$t3 - $t2" | bc -l)
  printf 'round %d: ombrix %.3f s (%s nodes)   %s %.3f s (%s nodes)\n' "$i" "$to" "$nodes_o" "$reference" "$tr" "$nodes_r"
  if [[ $nodes_o != "$nodes_r" ]]; then
    echo "node counts differ" >&2
    exit 1
  fi
  if [[ -z $best_o ]] || (( $(echo "$to < $best_o" | bc -l) )); then best_o=$to; fi
  if [[ -z $best_r ]] || (( $(echo "$tr < $best_r" | bc -l) )); then best_r=$tr; fi
done
printf 'best: ombrix %.3f s, %s %.3f s, ratio %.2f\n' "$best_o" "$reference" "$best_r" "$(echo "$best_o / $best_r" | bc -l)"
