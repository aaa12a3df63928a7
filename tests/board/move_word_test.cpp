#include <gtest/gtest.h>

#include "board/move.h"

namespace {

TEST(MoveWord, PacksAndUnpacksEveryField) {
  struct Case { int capture, type, from, to, piece, word; };
  const Case cases[] = {
      {0, move_quiet, 12, 28, 1, 0 | 1 << 6 | 12 << 12 | 28 << 18 | 1 << 24},          // e2-e4
      {0, move_castling_short, 4, 6, 6, 0 | 4 << 6 | 4 << 12 | 6 << 18 | 6 << 24},      // O-O
      {4, 25, 49, 56, 1, 4 | 25 << 6 | 49 << 12 | 56 << 18 | 1 << 24},                  // b7xa8=Q
      {6, move_capture, 63, 62, 6, 6 | 2 << 6 | 63 << 12 | 62 << 18 | 6 << 24},         // king takes king
      {1, move_taking_passage, 27, 20, 1, 1 | 5 << 6 | 27 << 12 | 20 << 18 | 1 << 24},  // d4xe3 e.p.
  };
  for (const Case& c : cases) {
    int m = MakeMoveWord(c.capture, c.type, c.from, c.to, c.piece);
    EXPECT_EQ(m, c.word);
    EXPECT_GT(m, 0);
    EXPECT_EQ(m >> 27, 0);
    EXPECT_EQ(MoveCapture(m), c.capture);
    EXPECT_EQ(MoveType(m), c.type);
    EXPECT_EQ(MoveFrom(m), c.from);
    EXPECT_EQ(MoveTo(m), c.to);
    EXPECT_EQ(MovePiece(m), c.piece);
  }
}

TEST(MoveWord, PromotionTypes) {
  for (int type = 0; type < 64; ++type) {
    bool promotion = (type >= 12 && type <= 15) || (type >= 22 && type <= 25);
    EXPECT_EQ(IsPromotion(type), promotion) << type;
    if (promotion) {
      EXPECT_EQ(PromotedPiece(type), type % 10) << type;  // 2 knight ... 5 queen
    }
  }
  EXPECT_EQ(PromotedPiece(move_promotion_queen), 5);
  EXPECT_EQ(PromotedPiece(move_capture_promotion_knight), 2);
}

}  // namespace
