#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "movegen_fixture.h"

namespace {

using Texts = std::vector<std::string>;

constexpr int kUntouched = -31337;

// Every word describes the board it came from: the mover is the own piece on
// `from`, the victim the enemy piece on `to` (behind it for en passant), and
// nothing else captures.
void ExpectWordsMatchBoard(const T_Bitboard& b, const T_MoveList& list) {
  const int* own = b.colour_move ? b.white_name_from_coord : b.black_name_from_coord;
  const int* enemy = b.colour_move ? b.black_name_from_coord : b.white_name_from_coord;
  for (int i = 0; i < list.count; ++i) {
    int m = list.move[i], type = MoveType(m), from = MoveFrom(m), to = MoveTo(m);
    SCOPED_TRACE(Describe(list, i));
    EXPECT_GT(m, 0);
    EXPECT_EQ(MovePiece(m), own[from]);
    EXPECT_EQ(own[to], 0);
    int victim = 0;
    if (type == move_capture || type >= 22) victim = enemy[to];
    if (type == move_taking_passage) victim = enemy[b.colour_move ? to - 8 : to + 8];
    EXPECT_EQ(MoveCapture(m), victim);
    if (type == move_quiet || type == move_castling_long || type == move_castling_short || (type >= 12 && type <= 15)) {
      EXPECT_EQ(enemy[to], 0);
    }
    EXPECT_EQ(i < list.capture_count, type == move_capture || type == move_taking_passage || IsPromotion(type));
  }
}

T_MoveList FreshList() {
  T_MoveList list;
  for (int i = 0; i < kMaxMoves; ++i) list.move[i] = 0, list.sort_key[i] = kUntouched;
  list.capture_count = list.count = -1;
  return list;
}

Texts Captures(const char* fen) {
  T_Bitboard b = BoardFromFen(fen);
  T_MoveList list = FreshList();
  GenerateCapturesOnly(b, &list);
  EXPECT_EQ(list.capture_count, list.count);
  ExpectWordsMatchBoard(b, list);
  return Describe(list, 0, list.count);
}

// The quiet part of a full generation; its keys must be untouched but for castling.
Texts Quiet(const char* fen) {
  T_Bitboard b = BoardFromFen(fen);
  T_MoveList list = FreshList();
  GenerateAll(b, &list);
  ExpectWordsMatchBoard(b, list);
  for (int i = list.capture_count; i < list.count; ++i) {
    if (MoveType(list.move[i]) == move_quiet) {
      EXPECT_EQ(list.sort_key[i], kUntouched) << Describe(list, i);
    }
  }
  return Describe(list, list.capture_count, list.count);
}

Texts Castlings(const char* fen) {
  Texts out;
  for (const std::string& m : Quiet(fen))
    if (m.find(" t3") != std::string::npos || m.find(" t4") != std::string::npos) out.push_back(m);
  return out;
}

TEST(QuietGeneration, StartPositionKnightsThenPawnsSinglePushFirst) {
  T_Bitboard b = BoardFromFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
  T_MoveList list = FreshList();
  GenerateCapturesWhite(&b, &list);
  EXPECT_EQ(list.capture_count, 0);
  EXPECT_EQ(list.count, 0);
  EXPECT_EQ(Quiet("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"),
            (Texts{"b1a3", "b1c3", "g1f3", "g1h3", "a2a3", "a2a4", "b2b3", "b2b4", "c2c3", "c2c4",
                   "d2d3", "d2d4", "e2e3", "e2e4", "f2f3", "f2f4", "g2g3", "g2g4", "h2h3", "h2h4"}));
  GenerateQuietWhite(&b, &list);
  EXPECT_EQ(list.move[13], MakeMoveWord(0, move_quiet, 12, 28, kPawn));  // e2e4
}

TEST(QuietGeneration, BlackDoublePushComesFirst) {
  EXPECT_EQ(Quiet("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1"),
            (Texts{"b8a6", "b8c6", "g8f6", "g8h6", "a7a5", "a7a6", "b7b5", "b7b6", "c7c5", "c7c6",
                   "d7d5", "d7d6", "e7e5", "e7e6", "f7f5", "f7f6", "g7g5", "g7g6", "h7h5", "h7h6"}));
}

TEST(QuietGeneration, PieceOrderAndRayOrder) {
  // King, queen (N W S E NE NW SW SE), rook (N W S E), bishop, knight, pawn;
  // each ray's targets ascending, up to the first blocker.
  EXPECT_EQ(Quiet("N6k/8/3p4/8/1P1Q4/7R/8/5B1K w - - 0 1"),
            (Texts{"h1g1", "h1g2", "h1h2",
                   "d4d5", "d4c4", "d4d1", "d4d2", "d4d3", "d4e4", "d4f4", "d4g4", "d4h4",
                   "d4e5", "d4f6", "d4g7", "d4c5", "d4b6", "d4a7", "d4a1", "d4b2", "d4c3",
                   "d4g1", "d4f2", "d4e3",
                   "h3h4", "h3h5", "h3h6", "h3h7", "h3a3", "h3b3", "h3c3", "h3d3", "h3e3", "h3f3", "h3g3", "h3h2",
                   "f1g2", "f1e2", "f1d3", "f1c4", "f1b5", "f1a6",
                   "a8b6", "a8c7",
                   "b4b5"}));
}

TEST(QuietGeneration, CastlingFollowsKingStepsLongBeforeShort) {
  EXPECT_EQ(Quiet("4k3/8/8/8/8/8/8/R3K2R w KQ - 0 1"),
            (Texts{"e1d1", "e1f1", "e1d2", "e1e2", "e1f2", "e1c1 t3 k3", "e1g1 t4 k4",
                   "a1a2", "a1a3", "a1a4", "a1a5", "a1a6", "a1a7", "a1a8", "a1b1", "a1c1", "a1d1",
                   "h1h2", "h1h3", "h1h4", "h1h5", "h1h6", "h1h7", "h1h8", "h1f1", "h1g1"}));
}

TEST(QuietGeneration, CastlingNeedsRightsEmptySquaresAndSafeKingPath) {
  struct Case {
    const char* fen;
    Texts castlings;
  } cases[] = {
      {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", {"e1c1 t3 k3", "e1g1 t4 k4"}},
      {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1", {"e8c8 t3 k3", "e8g8 t4 k4"}},
      {"r3k2r/8/8/8/8/8/8/R3K2R w - - 0 1", {}},
      {"r3k2r/8/8/8/8/8/8/R3K2R w Kq - 0 1", {"e1g1 t4 k4"}},
      {"r3k2r/8/8/8/8/8/8/RN2K1NR w KQkq - 0 1", {}},            // b1 and g1 occupied
      {"4k3/8/8/8/2b5/8/8/4K2R w K - 0 1", {}},                 // f1 attacked by the bishop
      {"1r2k3/8/8/8/8/8/8/R3K3 w Q - 0 1", {"e1c1 t3 k3"}},     // b1 attacked does not matter
      {"k3r3/8/8/8/8/8/8/R3K2R w KQ - 0 1", {}},                // in check
      {"k1r5/8/8/8/8/8/8/R3K2R w KQ - 0 1", {"e1g1 t4 k4"}},    // c1 attacked
      {"k7/8/8/8/8/8/1n6/R3K2R w KQ - 0 1", {"e1g1 t4 k4"}},    // d1 attacked by a knight
      {"k7/8/8/8/8/8/7p/R3K2R w KQ - 0 1", {"e1c1 t3 k3"}},     // g1 attacked by a pawn
      {"r3k2r/8/8/8/8/B7/8/4K3 b kq - 0 1", {"e8c8 t3 k3"}},    // f8 attacked
      {"r3k2r/2P5/8/8/8/8/8/4K3 b kq - 0 1", {"e8g8 t4 k4"}},   // d8 attacked by a pawn
      {"r3k2r/8/8/8/8/8/8/1R2K3 b kq - 0 1", {"e8c8 t3 k3", "e8g8 t4 k4"}},  // b8 attacked
      {"r3k2r/8/8/8/8/8/8/4R1K1 b kq - 0 1", {}},               // in check
  };
  for (const Case& c : cases) EXPECT_EQ(Castlings(c.fen), c.castlings) << c.fen;
}

TEST(QuietGeneration, StrayRightsWithoutKingOrRookGiveNoCastling) {
  // A board whose rights do not match the pieces (made by hand, not by the FEN
  // reader, which drops such rights): castling would move absent pieces.
  T_Bitboard b = BoardFromFen("4k3/8/8/8/8/8/8/3K3R w - - 0 1");
  b.castling_K = b.castling_Q = 1;
  T_MoveList list = FreshList();
  GenerateCapturesWhite(&b, &list);
  GenerateQuietWhite(&b, &list);
  for (int i = 0; i < list.count; ++i) EXPECT_EQ(MoveType(list.move[i]), move_quiet) << Describe(list, i);

  b = BoardFromFen("4k3/8/8/8/8/8/8/4K3 w - - 0 1");
  b.castling_K = b.castling_Q = 1;
  list = FreshList();
  GenerateCapturesWhite(&b, &list);
  GenerateQuietWhite(&b, &list);
  for (int i = 0; i < list.count; ++i) EXPECT_EQ(MoveType(list.move[i]), move_quiet) << Describe(list, i);
}

TEST(QuietGeneration, PawnPushes) {
  struct Case {
    const char* fen;
    Texts pushes;
  } cases[] = {
      {"k7/4P3/8/8/8/8/8/K7 w - - 0 1", {}},  // a push to rank 8 is a promotion
      {"k7/8/8/8/8/4n3/4P3/K7 w - - 0 1", {}},
      {"k7/8/8/8/4n3/8/4P3/K7 w - - 0 1", {"e2e3"}},
      {"k7/8/8/8/8/8/4P3/K7 w - - 0 1", {"e2e3", "e2e4"}},
      {"k7/8/8/8/8/4P3/8/K7 w - - 0 1", {"e3e4"}},
      {"k7/4p3/8/8/8/8/8/K7 b - - 0 1", {"e7e5", "e7e6"}},
      {"k7/4p3/8/4N3/8/8/8/K7 b - - 0 1", {"e7e6"}},
      {"k7/4p3/4N3/8/8/8/8/K7 b - - 0 1", {}},
      {"k7/8/8/8/8/4p3/8/K7 b - - 0 1", {"e3e2"}},
      {"k7/8/8/8/8/8/4p3/K7 b - - 0 1", {}},  // a push to rank 1 is a promotion
  };
  for (const Case& c : cases) {
    Texts pushes;
    for (const std::string& m : Quiet(c.fen))
      if (m[0] == 'e') pushes.push_back(m);
    EXPECT_EQ(pushes, c.pushes) << c.fen;
  }
}

TEST(CaptureGeneration, PieceOrderRayOrderAndKeys) {
  EXPECT_EQ(Captures("7k/8/8/3p1qr1/n2RP1p1/2n4b/1P3p2/2BQK1N1 w - - 0 1"),
            (Texts{"b2c3 t2 x2 k19", "e4d5 t2 x1 k9", "e4f5 t2 x5 k49", "g1h3 t2 x3 k28", "c1g5 t2 x4 k37",
                   "d4d5 t2 x1 k6", "d4a4 t2 x2 k16", "d1g4 t2 x1 k5", "d1a4 t2 x2 k15", "e1f2 t2 x1 k4"}));
  EXPECT_EQ(Captures("1n2k3/3N4/8/P2rp3/3Q1P2/8/8/7K b - - 0 1"),
            (Texts{"e5d4 t2 x5 k49", "e5f4 t2 x1 k9", "b8d7 t2 x2 k18", "d5d7 t2 x2 k16", "d5a5 t2 x1 k6",
                   "d5d4 t2 x5 k46", "e8d7 t2 x2 k14"}));
}

TEST(CaptureGeneration, VictimsAndKeys) {
  struct Case {
    const char* fen;
    Texts captures;
  } cases[] = {
      {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", {}},
      {"q3k3/8/8/p7/8/8/8/R3K3 w - - 0 1", {"a1a5 t2 x1 k6"}},  // only the first piece on the ray
      {"4k3/8/8/8/8/8/8/R2QK3 w - - 0 1", {}},                  // own blockers
      {"8/8/8/8/8/2k5/8/Q3K3 w - - 0 1", {"a1c3 t2 x6 k55"}},   // kings are ordinary victims
      {"8/8/8/8/8/2k5/1P6/4K3 w - - 0 1", {"b2c3 t2 x6 k59"}},
      {"8/8/8/8/8/8/3k4/4K3 w - - 0 1", {"e1d2 t2 x6 k54"}},
      {"8/8/8/8/8/8/3k4/4K3 b - - 0 1", {"d2e1 t2 x6 k54"}},
      {"k7/8/8/8/8/8/P6n/1r2K3 w - - 0 1", {}},                 // no pawn capture wraps or goes back
  };
  for (const Case& c : cases) EXPECT_EQ(Captures(c.fen), c.captures) << c.fen;
}

TEST(CaptureGeneration, PromotionsQueenRookBishopKnight) {
  struct Case {
    const char* fen;
    Texts captures;
  } cases[] = {
      {"1n2k3/P7/8/8/8/8/8/4K3 w - - 0 1",
       {"a7a8 t15 k15", "a7a8 t14 k14", "a7a8 t13 k13", "a7a8 t12 k12",
        "a7b8 t25 x2 k25", "a7b8 t24 x2 k24", "a7b8 t23 x2 k23", "a7b8 t22 x2 k22"}},
      {"r3k3/1P6/8/8/8/8/8/4K3 w - - 0 1",
       {"b7b8 t15 k15", "b7b8 t14 k14", "b7b8 t13 k13", "b7b8 t12 k12",
        "b7a8 t25 x4 k25", "b7a8 t24 x4 k24", "b7a8 t23 x4 k23", "b7a8 t22 x4 k22"}},
      {"2brn3/3P4/8/8/8/8/8/k3K3 w - - 0 1",  // push blocked, two victims ascending
       {"d7c8 t25 x3 k25", "d7c8 t24 x3 k24", "d7c8 t23 x3 k23", "d7c8 t22 x3 k22",
        "d7e8 t25 x2 k25", "d7e8 t24 x2 k24", "d7e8 t23 x2 k23", "d7e8 t22 x2 k22"}},
      {"4k3/8/8/8/8/8/4p3/K7 b - - 0 1", {"e2e1 t15 k15", "e2e1 t14 k14", "e2e1 t13 k13", "e2e1 t12 k12"}},
      {"4k3/8/8/8/8/8/1p6/R1N1K3 b - - 0 1",
       {"b2b1 t15 k15", "b2b1 t14 k14", "b2b1 t13 k13", "b2b1 t12 k12",
        "b2a1 t25 x4 k25", "b2a1 t24 x4 k24", "b2a1 t23 x4 k23", "b2a1 t22 x4 k22",
        "b2c1 t25 x2 k25", "b2c1 t24 x2 k24", "b2c1 t23 x2 k23", "b2c1 t22 x2 k22"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Captures(c.fen), c.captures) << c.fen;
}

TEST(CaptureGeneration, EnPassantFollowsThePawnsOrdinaryCaptures) {
  struct Case {
    const char* fen;
    Texts captures;
  } cases[] = {
      {"4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1", {"e5d6 t5 x1 k5"}},
      {"4k3/8/8/3pP3/8/8/8/4K3 w - - 0 1", {}},
      {"4k3/7r/5nP1/3pP3/8/8/8/4K3 w - d6 0 1", {"e5f6 t2 x2 k19", "e5d6 t5 x1 k5", "g6h7 t2 x4 k39"}},
      {"4k3/8/8/3PpP2/8/8/8/4K3 w - e6 0 1", {"d5e6 t5 x1 k5", "f5e6 t5 x1 k5"}},
      {"4k3/8/8/8/3pPp2/8/8/4K3 b - e3 0 1", {"d4e3 t5 x1 k5", "f4e3 t5 x1 k5"}},
      {"4k3/8/8/8/Pp6/8/8/4K3 b - a3 0 1", {"b4a3 t5 x1 k5"}},
      {"4k3/8/8/8/6pP/8/8/4K3 b - h3 0 1", {"g4h3 t5 x1 k5"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Captures(c.fen), c.captures) << c.fen;
}

// A list with room behind it, to see that nothing is written past its end.
struct GuardedList {
  T_MoveList list;
  int guard[64];
};

TEST(MoveList, FullListDropsFurtherMovesAndWritesNothingPastIt) {
  GuardedList g;
  for (int& x : g.guard) x = kUntouched;
  T_Bitboard start = BoardFromFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
  g.list = FreshList();
  g.list.capture_count = 0;
  g.list.count = kMaxMoves - 6;
  GenerateQuietWhite(&start, &g.list);
  EXPECT_EQ(g.list.count, kMaxMoves);
  EXPECT_EQ(Describe(g.list, kMaxMoves - 6, kMaxMoves), (Texts{"b1a3", "b1c3", "g1f3", "g1h3", "a2a3", "a2a4"}));
  for (int x : g.guard) ASSERT_EQ(x, kUntouched);

  // 267 pseudo-legal moves, set up from text; and the same for Black.
  for (const char* fen : {"QQQQQQQQ/Q6Q/Q6Q/Q6Q/Q6Q/n1Q4Q/Q3QQ1Q/KQQQ1nnQ w - - 0 1",
                          "kqqq1NNq/q3qq1q/N1q4q/q6q/q6q/q6q/q6q/qqqqqqqq b - - 0 1"}) {
    T_Bitboard crowded = BoardFromFen(fen);
    g.list = FreshList();
    GenerateAll(crowded, &g.list);
    EXPECT_EQ(g.list.capture_count, 13) << fen;
    EXPECT_EQ(g.list.count, kMaxMoves) << fen;
    for (int x : g.guard) ASSERT_EQ(x, kUntouched) << fen;
  }
}

}  // namespace
