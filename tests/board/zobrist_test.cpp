#include <gtest/gtest.h>

#include <cstring>

#include "board/makemove.h"
#include "board/zobrist.h"
#include "board_fixture.h"

namespace {

constexpr char kStart[] = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

TEST(ZobristRandom, SequenceFromProcessStartState) {
  ResetZobristRandom();
  const int expected[] = {41, 18467, 6334, 26500, 19169};
  for (int e : expected) EXPECT_EQ(ZobristRandom(), e);
  ResetZobristRandom();
  EXPECT_EQ(ZobristRandom(), 41);
}

using ZobristTest = BoardTest;

TEST_F(ZobristTest, FirstKeysAndDrawCount) {
  EXPECT_EQ(zobrist[0][1][0], 0x6C118C5F33C24AE1ull);
  for (int block = 0; block < 2; ++block)
    for (int s = 0; s < 64; ++s) EXPECT_EQ(zobrist[block][0][s], 0u);
  // 768 keys of five draws each: the next output is draw number 3841.
  int next = ZobristRandom();
  ResetZobristRandom();
  for (int i = 0; i < 3840; ++i) ZobristRandom();
  EXPECT_EQ(next, ZobristRandom());
}

TEST_F(ZobristTest, SecondInitContinuesTheSequence) {
  u64 first = zobrist[0][1][0];
  InitZobrist();
  EXPECT_NE(zobrist[0][1][0], first);
}

TEST_F(ZobristTest, StartPositionAndAfterE2E4) {
  T_Bitboard b;
  SetUpBoard(&b, kStart);
  EXPECT_EQ(b.hash_key, 0x57DB5D19A051DCC0ull);

  T_MoveList list;
  list.move[0] = MakeMoveWord(0, move_quiet, 12, 28, kPawn);
  T_Undo undo;
  MakeMoveWhite(&b, &list, 0, &undo);
  UpdateHashKey(&list, 1, 0, &b, &undo);
  EXPECT_EQ(b.hash_key, 0x94C23100F97A179Full);
  HashKeyFromScratch(&b);
  EXPECT_EQ(b.hash_key, 0x94C23100F97A179Full);
}

// Without piece keys (before the first "uci") a key is made of the fixed keys alone.
TEST_F(ZobristTest, FixedKeysOnly) {
  std::memset(zobrist, 0, sizeof(zobrist));
  struct Case { const char* fen; u64 key; };
  const Case cases[] = {
      {kStart, side_key ^ castling_K_key ^ castling_Q_key ^ castling_k_key ^ castling_q_key},
      {"4k3/8/8/8/8/8/8/4K3 b - -", 0},
      {"r3k3/8/8/8/8/8/8/4K2R w Kq -", side_key ^ castling_K_key ^ castling_q_key},
      // e3: x 4, y 2; f6: x 5, y 5.
      {"4k3/8/8/8/3pP3/8/8/4K3 b - e3", taking_passage_key ^ 6},
      {"4k3/8/8/4Pp2/8/8/8/4K3 w - f6", side_key ^ taking_passage_key ^ 0},
  };
  for (const Case& c : cases) {
    T_Bitboard b;
    SetUpBoard(&b, c.fen);
    EXPECT_EQ(b.hash_key, c.key) << c.fen;
  }
}

// The rights keys enter the update once per right that the move actually dropped.
TEST_F(ZobristTest, KingMoveDropsOnlyTheRightsStillHeld) {
  struct Case { const char* fen; u64 rights_keys; };
  const Case cases[] = {
      {"4k3/8/8/8/8/8/8/R3K2R w KQ -", castling_K_key ^ castling_Q_key},
      {"4k3/8/8/8/8/8/8/R3K2R w K -", castling_K_key},
      {"4k3/8/8/8/8/8/8/R3K2R w - -", 0},
  };
  for (const Case& c : cases) {
    T_Bitboard b;
    SetUpBoard(&b, c.fen);
    const u64 before = b.hash_key;
    T_MoveList list;
    list.move[0] = MakeMoveWord(0, move_quiet, 4, 12, kKing);  // Ke1-e2
    T_Undo undo;
    MakeMoveWhite(&b, &list, 0, &undo);
    UpdateHashKey(&list, 1, 0, &b, &undo);
    EXPECT_EQ(b.hash_key, before ^ zobrist[1][kKing][4] ^ zobrist[1][kKing][12] ^ side_key ^ c.rights_keys) << c.fen;
  }
}

}  // namespace
