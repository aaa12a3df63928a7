#include "board/bittables.h"
#include "eval/eval.h"

// Zero until InitEvalTables runs: a search started before "isready" scores
// every position 0.
int pawn_value, knight_value, bishop_value, rook_value, queen_value, king_value;
int material_value[7];
int phase_value[7];
int king_shelter_penalty, doubled_pawn_penalty, passed_pawn_unit, rook_mobility_weight,
    endgame_material_limit;
int king_middlegame_table[64];
int king_endgame_table[64];
int knight_table[64];
int bishop_table[64];
int pawn_middlegame_table[64];
int pawn_endgame_table[64];
int passed_pawn_table[64];

namespace {

constexpr int kMaterialValue[7] = {0, 100, 400, 400, 600, 1200, 90000};
constexpr int kPhaseValue[7] = {0, 0, 400, 400, 600, 1200, 0};

// Square tables in index order: the first row is rank 1 (a1..h1), the last rank 8.
constexpr int kKingMiddlegame[64] = {
     30,  30,  30, -10,   0, -10,  30,  30,  // rank 1
     -5,  -5,  -5, -10, -10, -10,  -5,  -5,  // rank 2
    -10, -10, -10, -10, -10, -10, -10, -10,  // rank 3
    -10, -10, -10, -10, -10, -10, -10, -10,  // rank 4
    -10, -10, -10, -10, -10, -10, -10, -10,  // rank 5
    -10, -10, -10, -10, -10, -10, -10, -10,  // rank 6
     -5,  -5,  -5, -10, -10, -10,  -5,  -5,  // rank 7
     30,  30,  30, -10,   0, -10,  30,  30,  // rank 8
};

constexpr int kKingEndgame[64] = {
      0,   0,   0,   0,   0,   0,   0,   0,  // rank 1
      0,   5,   5,   5,   5,   5,   5,   0,  // rank 2
      0,   5,  10,  10,  10,  10,   5,   0,  // rank 3
      0,   5,  10,  15,  15,  10,   5,   0,  // rank 4
      0,   5,  10,  15,  15,  10,   5,   0,  // rank 5
      0,   5,  10,  10,  10,  10,   5,   0,  // rank 6
      0,   5,   5,   5,   5,   5,   5,   0,  // rank 7
      0,   0,   0,   0,   0,   0,   0,   0,  // rank 8
};

// d3, e3, d6 and e6 are 0 on purpose, below their neighbours.
constexpr int kKnightSquares[64] = {
      0,   0,   0,   0,   0,   0,   0,   0,  // rank 1
      0,   5,   5,   5,   5,   5,   5,   0,  // rank 2
      0,   5,  10,   0,   0,  10,   5,   0,  // rank 3
      0,   5,  10,  15,  15,  10,   5,   0,  // rank 4
      0,   5,  10,  15,  15,  10,   5,   0,  // rank 5
      0,   5,  10,   0,   0,  10,   5,   0,  // rank 6
      0,   5,   5,   5,   5,   5,   5,   0,  // rank 7
      0,   0,   0,   0,   0,   0,   0,   0,  // rank 8
};

constexpr int kBishopSquares[64] = {
      0,   0,   0,   0,   0,   0,   0,   0,  // rank 1
     10,  15,  10,  10,  10,  10,  15,  10,  // rank 2
      0,  10,  15,   0,   0,  15,  10,   0,  // rank 3
      0,  20,  20,  15,  15,  20,  20,   0,  // rank 4
      0,  20,  20,  15,  15,  20,  20,   0,  // rank 5
      0,  10,  15,   0,   0,  15,  10,   0,  // rank 6
     10,  15,  10,  10,  10,  10,  15,  10,  // rank 7
      0,   0,   0,   0,   0,   0,   0,   0,  // rank 8
};

// d3 and e3 hold 21 on purpose (not 20 or 25).
constexpr int kPawnMiddlegame[64] = {
      0,   0,   0,   0,   0,   0,   0,   0,  // rank 1
      0,   0,   0,   0,   0,   0,   0,   0,  // rank 2
     -5,  -5,  -5,  21,  21,  -5,  -5,  -5,  // rank 3
     -5,  -5,  -5,  25,  25,  -5,  -5,  -5,  // rank 4
     -5,  -5,   5,  25,  25,   5,  -5,  -5,  // rank 5
     -5,  -5,   5,  30,  30,   5,  -5,  -5,  // rank 6
     30,  30,  30,  35,  35,  30,  30,  30,  // rank 7
      0,   0,   0,   0,   0,   0,   0,   0,  // rank 8
};

constexpr int kPawnEndgame[64] = {
      0,   0,   0,   0,   0,   0,   0,   0,  // rank 1
      0,   0,   0,   0,   0,   0,   0,   0,  // rank 2
     10,  10,  10,  10,  10,  10,  10,  10,  // rank 3
     20,  20,  20,  20,  20,  20,  20,  20,  // rank 4
     30,  30,  30,  30,  30,  30,  30,  30,  // rank 5
     40,  40,  40,  40,  40,  40,  40,  40,  // rank 6
     50,  50,  50,  50,  50,  50,  50,  50,  // rank 7
      0,   0,   0,   0,   0,   0,   0,   0,  // rank 8
};

constexpr int kPassedPawn[64] = {
      0,   0,   0,   0,   0,   0,   0,   0,  // rank 1
      0,   0,   0,   0,   0,   0,   0,   0,  // rank 2
     20,  20,  20,  20,  20,  20,  20,  20,  // rank 3
     30,  30,  30,  30,  30,  30,  30,  30,  // rank 4
     50,  50,  50,  50,  50,  50,  50,  50,  // rank 5
     70,  70,  70,  70,  70,  70,  70,  70,  // rank 6
    150, 150, 150, 150, 150, 150, 150, 150,  // rank 7
      0,   0,   0,   0,   0,   0,   0,   0,  // rank 8
};

template <int N>
void Copy(int (&dst)[N], const int (&src)[N]) {
  for (int i = 0; i < N; ++i) dst[i] = src[i];
}

}  // namespace

void InitEvalTables() {
  pawn_value = 100;
  knight_value = 400;
  bishop_value = 400;
  rook_value = 600;
  queen_value = 1200;
  king_value = 90000;

  king_shelter_penalty = 20;
  doubled_pawn_penalty = 20;
  passed_pawn_unit = 10;
  rook_mobility_weight = 1;
  endgame_material_limit = 1800;

  Copy(material_value, kMaterialValue);
  Copy(phase_value, kPhaseValue);
  Copy(king_middlegame_table, kKingMiddlegame);
  Copy(king_endgame_table, kKingEndgame);
  Copy(knight_table, kKnightSquares);
  Copy(bishop_table, kBishopSquares);
  Copy(pawn_middlegame_table, kPawnMiddlegame);
  Copy(pawn_endgame_table, kPawnEndgame);
  Copy(passed_pawn_table, kPassedPawn);
}

namespace {

int SideMaterial(const u64* piece) {
  return (piece[kKing] ? king_value : 0) + queen_value * PopCount(piece[kQueen]) +
         rook_value * PopCount(piece[kRook]) + bishop_value * PopCount(piece[kBishop]) +
         knight_value * PopCount(piece[kKnight]) + pawn_value * PopCount(piece[kPawn]);
}

}  // namespace

int MaterialFromScratch(const T_Bitboard* board) {
  return SideMaterial(board->white_piece) - SideMaterial(board->black_piece);
}
