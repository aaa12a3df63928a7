#include <gtest/gtest.h>

#include <random>
#include <string>

#include "board/bittables.h"
#include "eval/eval.h"
#include "uci/uci.h"

namespace {

T_Bitboard FromFen(const std::string& fen) {
  T_Bitboard b{};
  ReadFen(&b, ("fen " + fen).c_str());
  return b;
}

void Put(T_Bitboard* b, int colour, int code, int s) {
  u64 m = 1ull << s;
  b->all_piece |= m;
  (colour ? b->all_white_piece : b->all_black_piece) |= m;
  (colour ? b->white_piece : b->black_piece)[code] |= m;
  (colour ? b->white_name_from_coord : b->black_name_from_coord)[s] = code;
}

class EvalTest : public ::testing::Test {
 protected:
  void SetUp() override { InitEvalTables(); }
};

// Literal reading of the evaluation rules: loops over squares and ranks, the
// square arrays for "what stands here", no bitboard tricks.
int ReferenceFileMobility(int s, u64 occupied, u64 own) {
  int count = 0;
  for (int step : {8, -8}) {
    for (int t = s + step; t >= 0 && t < 64; t += step) {
      if (own & (1ull << t)) break;
      ++count;
      if (occupied & (1ull << t)) break;
    }
  }
  return count;
}

int ReferenceEvaluate(const T_Bitboard* b) {
  const int* wn = b->white_name_from_coord;
  const int* bn = b->black_name_from_coord;
  const int limit = endgame_material_limit;
  int score = 0;

  int w = 0, bl = 0;
  for (int s = 0; s < 64; ++s) {
    w += phase_value[wn[s]];
    bl += phase_value[bn[s]];
  }

  for (int s = 0; s < 64; ++s) {
    if (wn[s] != kKing) continue;
    if (bl > limit) {
      int count = 0;
      for (int d : {7, 8, 9})
        if (s + d > 63 || wn[s + d] == 0) ++count;
      score += king_middlegame_table[s] - king_shelter_penalty * count;
    } else {
      score += king_endgame_table[s];
    }
    break;
  }
  for (int s = 0; s < 64; ++s) {
    if (bn[s] != kKing) continue;
    if (w > limit) {
      int count = 0;
      for (int d : {7, 8, 9})
        if (s - d < 0 || bn[s - d] == 0) ++count;
      score -= king_middlegame_table[s] - king_shelter_penalty * count;
    } else {
      score -= king_endgame_table[s];
    }
    break;
  }

  // Is there a pawn of names[] on file f strictly beyond rank r, going up (dir 1) or down (-1)?
  auto pawn_beyond = [](const int* names, int f, int r, int dir) {
    for (int rr = r + dir; rr >= 0 && rr < 8; rr += dir)
      if (names[rr * 8 + f] == kPawn) return true;
    return false;
  };

  int white_count[8] = {}, black_count[8] = {};
  for (int s = 0; s < 64; ++s) {
    if (wn[s] != kPawn) continue;
    int f = s % 8, r = s / 8;
    score += bl > limit ? pawn_middlegame_table[s] : pawn_endgame_table[s];
    if (!pawn_beyond(bn, f, r, 1)) {
      score += 2 * passed_pawn_unit;
      int n = (f == 0 || f == 7) ? 1 : 0;
      if (f != 7 && !pawn_beyond(bn, f + 1, r, 1)) score += passed_pawn_unit, ++n;
      if (f != 0 && !pawn_beyond(bn, f - 1, r, 1)) score += passed_pawn_unit, ++n;
      if (n == 2 && bl <= limit) score += passed_pawn_table[s];
    }
    ++white_count[f];
  }
  for (int s = 0; s < 64; ++s) {
    if (bn[s] != kPawn) continue;
    int f = s % 8, r = s / 8, m = 63 - s;
    score -= w > limit ? pawn_middlegame_table[m] : pawn_endgame_table[m];
    if (!pawn_beyond(wn, f, r, -1)) {
      score -= 2 * passed_pawn_unit;
      int n = (f == 0 || f == 7) ? 1 : 0;
      if (f != 7 && !pawn_beyond(wn, f + 1, r, -1)) score -= passed_pawn_unit, ++n;
      if (f != 0 && !pawn_beyond(wn, f - 1, r, -1)) score -= passed_pawn_unit, ++n;
      if (n == 2 && w <= limit) score -= passed_pawn_table[m];
    }
    ++black_count[f];
  }
  for (int f = 0; f < 8; ++f) {
    if (white_count[f] >= 2) score -= doubled_pawn_penalty;
    if (black_count[f] >= 2) score += doubled_pawn_penalty;
  }

  for (int s = 0; s < 64; ++s) {
    if (wn[s] == kRook) score += rook_mobility_weight * ReferenceFileMobility(s, b->all_piece, b->all_white_piece);
    if (wn[s] == kBishop) score += bishop_table[s];
    if (wn[s] == kKnight) score += knight_table[s];
    if (bn[s] == kRook) score -= rook_mobility_weight * ReferenceFileMobility(s, b->all_piece, b->all_black_piece);
    if (bn[s] == kBishop) score -= bishop_table[s];
    if (bn[s] == kKnight) score -= knight_table[s];
  }
  return score;
}

int ReferenceMaterial(const T_Bitboard* b) {
  int score = 0;
  bool white_king = false, black_king = false;
  for (int s = 0; s < 64; ++s) {
    int wc = b->white_name_from_coord[s], bc = b->black_name_from_coord[s];
    if (wc == kKing) white_king = true; else score += material_value[wc];
    if (bc == kKing) black_king = true; else score -= material_value[bc];
  }
  return score + (white_king ? king_value : 0) - (black_king ? king_value : 0);
}

TEST_F(EvalTest, TablesHoldTheirValues) {
  struct Case { const int* table; int square; int value; };
  const Case cases[] = {
      {material_value, kKing, 90000}, {material_value, kQueen, 1200}, {material_value, kPawn, 100},
      {phase_value, kPawn, 0},        {phase_value, kKing, 0},        {phase_value, kRook, 600},
      {king_middlegame_table, 2, 30}, {king_middlegame_table, 60, 0}, {king_middlegame_table, 51, -10},
      {king_middlegame_table, 54, -5}, {king_endgame_table, 27, 15},  {king_endgame_table, 42, 10},
      {knight_table, 19, 0},          {knight_table, 18, 10},         {knight_table, 44, 0},
      {bishop_table, 9, 15},          {bishop_table, 25, 20},         {bishop_table, 48, 10},
      {pawn_middlegame_table, 19, 21}, {pawn_middlegame_table, 20, 21}, {pawn_middlegame_table, 28, 25},
      {pawn_middlegame_table, 34, 5}, {pawn_middlegame_table, 43, 30}, {pawn_middlegame_table, 51, 35},
      {pawn_middlegame_table, 11, 0}, {pawn_endgame_table, 28, 20},   {pawn_endgame_table, 55, 50},
      {passed_pawn_table, 40, 70},    {passed_pawn_table, 48, 150},   {passed_pawn_table, 63, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(c.table[c.square], c.value) << "square " << c.square;
  EXPECT_EQ(king_value, 90000);
  EXPECT_EQ(endgame_material_limit, 1800);
  EXPECT_EQ(king_shelter_penalty + doubled_pawn_penalty + passed_pawn_unit + rook_mobility_weight, 51);
}

TEST_F(EvalTest, EvaluateKnownPositions) {
  struct Case { const char* fen; int score; };
  const Case cases[] = {
      {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 0},
      {"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1", 5},
      {"6k1/5ppp/8/8/8/8/5PPP/6K1 w - - 0 1", 0},
      {"4k3/8/4P3/8/8/8/8/4K3 w - - 0 1", 150},
      {"4k3/8/8/8/8/4p3/8/4K3 w - - 0 1", -150},
      {"8/8/8/8/8/8/P7/K6k w - - 0 1", 30},
      {"4k3/8/8/8/P7/8/P7/4K3 w - - 0 1", 90},
      {"4k3/8/8/8/8/8/8/R3K3 w - - 0 1", 7},
      // A black pawn on d5 reads the tables at e4: endgame 20, passed 30.
      {"4k3/8/8/3p4/8/8/8/4K3 w - - 0 1", -90},
      // Opponent on queen + rook (1800): endgame terms, passed bonus.
      {"4k2r/7q/4P3/8/8/8/8/4K3 w - - 0 1", 150},
      // Opponent on queen + two knights (2000): middlegame, bare shelter, no bonus.
      {"1n2k1n1/7q/4P3/8/8/8/8/4K3 w - - 0 1", 10},
      // Shelter squares off the board count as bare: White king h8, h7; Black king a2.
      {"7K/8/8/8/8/8/8/knnq4 w - - 0 1", -30},
      {"7B/7K/8/8/8/8/8/knnq4 w - - 0 1", -45},
      {"NNQ4K/8/8/8/8/8/k7/8 w - - 0 1", 65},
      // Three pawns on a file cost one doubled penalty.
      {"4k3/8/8/8/8/P7/P7/P3K3 w - - 0 1", 60 + 30 + 30 - 20},
  };
  for (const Case& c : cases) {
    T_Bitboard b = FromFen(c.fen);
    EXPECT_EQ(Evaluate(&b), c.score) << c.fen;
    EXPECT_EQ(ReferenceEvaluate(&b), c.score) << "reference: " << c.fen;
  }
}

TEST_F(EvalTest, MaterialFromScratch) {
  struct Case { const char* fen; int score; };
  const Case cases[] = {
      {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 0},
      {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNB1KBNR w KQkq - 0 1", -1200},
      {"4k3/8/8/8/8/8/8/8 w - - 0 1", -90000},
      {"4k3/8/8/8/8/8/8/4K3 w - - 0 1", 0},
      {"4k3/pppp4/8/8/8/8/8/QRBNK3 w - - 0 1", 1200 + 600 + 400 + 400 - 400},
  };
  for (const Case& c : cases) {
    T_Bitboard b = FromFen(c.fen);
    EXPECT_EQ(MaterialFromScratch(&b), c.score) << c.fen;
  }
}

TEST_F(EvalTest, FileMobilityCounts) {
  auto sq = [](const char* n) { return (n[1] - '1') * 8 + (n[0] - 'a'); };
  auto bit = [&](const char* n) { return 1ull << sq(n); };
  struct Case { const char* rook; u64 others_own; u64 enemy; int count; };
  const Case cases[] = {
      {"a1", 0, 0, 7},
      {"e4", 0, 0, 7},
      {"h8", 0, 0, 7},
      {"a1", bit("a2"), 0, 0},                    // own blocker counts nothing
      {"a1", 0, bit("a2"), 1},                    // enemy blocker counts
      {"d4", bit("d6"), bit("d2"), 3},            // d5; d3, d2
      {"e4", bit("e5") | bit("e3"), 0, 0},
      {"a1", bit("b1") | bit("h1"), bit("b2"), 7},  // the rank is not looked at
      {"c8", 0, bit("c1"), 7},
  };
  for (const Case& c : cases) {
    u64 own = bit(c.rook) | c.others_own;
    EXPECT_EQ(FileMobility(sq(c.rook), own | c.enemy, own), c.count) << c.rook;
  }
}

// Before "isready" every value is zero and nothing scores.
TEST_F(EvalTest, ZeroValuesScoreNothing) {
  auto zero = [](int* v, int n) { for (int i = 0; i < n; ++i) v[i] = 0; };
  for (int* v : {&pawn_value, &knight_value, &bishop_value, &rook_value, &queen_value, &king_value,
                 &king_shelter_penalty, &doubled_pawn_penalty, &passed_pawn_unit, &rook_mobility_weight,
                 &endgame_material_limit})
    *v = 0;
  zero(material_value, 7);
  zero(phase_value, 7);
  for (int* t : {king_middlegame_table, king_endgame_table, knight_table, bishop_table, pawn_middlegame_table,
                 pawn_endgame_table, passed_pawn_table})
    zero(t, 64);
  for (const char* fen : {"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1",
                          "4k3/8/8/8/P7/8/P7/R3K3 w - - 0 1", "NNQ4K/8/8/8/8/8/k7/8 w - - 0 1"}) {
    T_Bitboard b = FromFen(fen);
    EXPECT_EQ(Evaluate(&b), 0) << fen;
    EXPECT_EQ(MaterialFromScratch(&b), 0) << fen;
  }
  InitEvalTables();
  T_Bitboard b = FromFen("4k3/8/8/8/P7/8/P7/4K3 w - - 0 1");
  EXPECT_EQ(Evaluate(&b), 90);
}

// Random boards with pawns on every rank, missing or extra kings and phase
// sums around the 1800 boundary, checked against the literal reference.
TEST_F(EvalTest, MatchesReferenceOnRandomBoards) {
  std::mt19937 rng(20240607);
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  // Non-pawn sets per side; the first two straddle the limit exactly.
  const int sets[][4] = {{0, 0, 1, 1}, {2, 0, 0, 1}, {0, 0, 0, 0}, {1, 1, 1, 0}, {2, 2, 2, 1}, {1, 0, 2, 0}};
  int middlegame_sides = 0, endgame_sides = 0;
  for (int iter = 0; iter < 40000; ++iter) {
    T_Bitboard b{};
    for (int colour = 0; colour < 2; ++colour) {
      int kings = pick(20) == 0 ? 0 : (pick(10) == 0 ? 2 : 1);
      for (int i = 0; i < kings; ++i) {
        // Edge squares often, to reach the wrapped and off-board shelter squares.
        const int edge[] = {0, 7, 8, 15, 48, 55, 56, 63, 4, 60};
        int s = pick(3) == 0 ? edge[pick(10)] : pick(64);
        if (!(b.all_piece & (1ull << s))) Put(&b, colour, kKing, s);
      }
      int counts[6] = {0, pick(11), 0, 0, 0, 0};
      if (pick(2)) {
        const int* set = sets[pick(6)];
        for (int c = 0; c < 4; ++c) counts[kKnight + c] = set[c];
      } else {
        for (int c = kKnight; c <= kQueen; ++c) counts[c] = pick(c == kQueen ? 3 : 4);
      }
      for (int code = kPawn; code <= kQueen; ++code)
        for (int i = 0; i < counts[code]; ++i) {
          // Pawns bunch on a few files half of the time, for doubled and blocked files.
          int s = (code == kPawn && pick(2)) ? pick(8) * 8 + pick(3) + 2 : pick(64);
          if (!(b.all_piece & (1ull << s))) Put(&b, colour, code, s);
        }
    }
    int phase[2] = {};
    for (int colour = 0; colour < 2; ++colour)
      for (int s = 0; s < 64; ++s)
        phase[colour] += phase_value[(colour ? b.white_name_from_coord : b.black_name_from_coord)[s]];
    (phase[0] > 1800 ? middlegame_sides : endgame_sides)++;

    ASSERT_EQ(Evaluate(&b), ReferenceEvaluate(&b)) << "board " << iter;
    ASSERT_EQ(MaterialFromScratch(&b), ReferenceMaterial(&b)) << "board " << iter;
    for (u64 m = b.all_piece; m; m &= m - 1) {
      int s = BitScanForward(m);
      u64 own = (b.all_white_piece >> s & 1) ? b.all_white_piece : b.all_black_piece;
      ASSERT_EQ(FileMobility(s, b.all_piece, own), ReferenceFileMobility(s, b.all_piece, own));
    }
  }
  EXPECT_GT(middlegame_sides, 1000);
  EXPECT_GT(endgame_sides, 1000);
}

}  // namespace
