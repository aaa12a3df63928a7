#include <gtest/gtest.h>

#include "movegen_fixture.h"

namespace {

TEST(KingAttacked, FirstAttackerInTestOrder) {
  // Rays north, west, south, east, then the diagonals, then knight, king, pawn.
  struct Case {
    const char* fen;
    int white, black;  // WhiteKingAttacked, BlackKingAttacked
  } cases[] = {
      {"k3r3/8/8/8/8/8/8/4K3 w - - 0 1", 4, 0},
      {"k3r3/8/8/8/8/8/4P3/4K3 w - - 0 1", 0, 0},  // first blocker is white
      {"k3r3/8/8/8/8/8/4n3/4K3 w - - 0 1", 0, 0},  // first blocker black but no slider
      {"k7/8/8/8/7q/8/8/4K3 w - - 0 1", 5, 0},
      {"k7/8/8/8/7b/8/5P2/4K3 w - - 0 1", 0, 0},
      {"k3r3/8/8/8/1b6/8/8/4K3 w - - 0 1", 4, 0},  // rook before bishop
      {"k7/8/8/8/1b6/8/8/r3K3 w - - 0 1", 4, 0},   // along the rank
      {"k7/8/8/8/8/8/8/1K1r4 w - - 0 1", 4, 0},    // east ray
      {"k7/8/8/8/8/8/8/4K2r w - - 0 1", 4, 0},
      {"k7/8/8/8/8/8/3p4/4K3 w - - 0 1", 1, 0},
      {"k7/8/8/8/8/6p1/7K/8 w - - 0 1", 1, 0},
      {"k7/8/8/8/p7/8/7K/8 w - - 0 1", 0, 0},      // h2 + 9 wraps to a4: no attack
      {"k7/8/8/8/8/8/7p/6K1 w - - 0 1", 1, 0},
      {"k7/8/8/8/8/8/5p2/4K3 w - - 0 1", 1, 0},
      {"k7/8/8/8/8/8/4p3/4K3 w - - 0 1", 0, 0},    // straight ahead is no attack
      {"k7/8/8/8/8/5n2/3p4/4K3 w - - 0 1", 2, 0},  // knight before pawn
      {"8/8/8/8/8/8/3pk3/4K3 w - - 0 1", 6, 6},    // king before pawn
      {"K6p/8/8/8/8/8/8/k7 w - - 0 1", 0, 0},      // rank 8: no pawn test, no wrap to h8
      {"4k3/8/8/8/8/8/8/4R3 b - - 0 1", 0, 4},
      {"4k3/3P4/8/8/8/8/8/K7 b - - 0 1", 0, 1},
      {"4k3/5P2/8/8/8/8/8/K7 b - - 0 1", 0, 1},
      {"P6k/8/8/8/8/8/8/K7 b - - 0 1", 0, 0},      // h8 - 7 wraps to a8: no attack
      {"4k3/8/3N4/8/8/8/8/K7 b - - 0 1", 0, 2},
      {"4k3/8/8/8/B7/8/8/K7 b - - 0 1", 0, 3},
      {"4k3/8/8/8/Q7/8/8/K7 b - - 0 1", 0, 5},
      {"8/8/8/8/8/8/6k1/5P2 b - - 0 1", 0, 1},     // from g2 on a rank-1 pawn is seen
      {"8/8/8/8/8/8/1k6/2P4K b - - 0 1", 0, 0},    // but not below a2..f2
      {"8/8/8/8/8/8/8/4K3 w - - 0 1", 0, 0},       // no black king: never attacked
      {"8/8/8/8/8/8/8/4k2R b - - 0 1", 0, 4},      // no white king
  };
  for (const Case& c : cases) {
    T_Bitboard b = BoardFromFen(c.fen);
    EXPECT_EQ(WhiteKingAttacked(&b), c.white) << c.fen;
    EXPECT_EQ(BlackKingAttacked(&b), c.black) << c.fen;
  }
}

TEST(CastlingSquareAttacked, BackRankSquares) {
  struct Case {
    const char* fen;
    int colour, square, expected;
  } cases[] = {
      {"4k3/8/8/8/8/2n5/8/4K3 w - - 0 1", 1, 3, 2},   // d1 by a knight
      {"4k3/8/b7/8/8/8/8/4K3 w - - 0 1", 1, 5, 3},    // f1 by a bishop
      {"4k3/8/b7/8/8/8/4P3/4K3 w - - 0 1", 1, 5, 0},  // blocked on e2
      {"4k3/8/8/8/8/8/8/r3K3 w - - 0 1", 1, 2, 4},    // along the rank
      {"4k3/8/8/8/8/8/8/4K2r w - - 0 1", 1, 6, 4},
      {"4k3/8/8/8/8/8/8/4K2r w - - 0 1", 1, 2, 0},    // the king stands between
      {"4k3/8/8/8/8/8/8/4K2r w - - 0 1", 1, 4, 4},
      {"2q1k3/8/8/8/8/8/8/4K3 w - - 0 1", 1, 2, 5},
      {"4k3/8/8/8/8/8/1p6/4K3 w - - 0 1", 1, 2, 1},   // c1 from b2
      {"4k3/8/8/8/8/8/3p4/4K3 w - - 0 1", 1, 2, 1},   // c1 from d2
      {"4k3/8/8/8/8/8/2p5/4K3 w - - 0 1", 1, 2, 0},
      {"4k3/8/8/8/8/8/5k2/4K3 w - - 0 1", 1, 6, 6},
      {"4k3/8/8/8/8/3n4/3p4/4K3 w - - 0 1", 1, 2, 2}, // knight before pawn
      {"4k3/8/2N5/8/8/8/8/4K3 b - - 0 1", 0, 59, 2},  // d8
      {"4k3/8/8/8/8/B7/8/4K3 b - - 0 1", 0, 61, 3},   // f8
      {"R3k3/8/8/8/8/8/8/4K3 b - - 0 1", 0, 58, 4},
      {"4k3/8/8/8/8/8/8/4K1R1 b - - 0 1", 0, 62, 4},
      {"4k3/6P1/8/8/8/8/8/4K3 b - - 0 1", 0, 61, 1},
      {"4k3/6P1/8/8/8/8/8/4K3 b - - 0 1", 0, 62, 0},
      {"4k3/2K5/8/8/8/8/8/8 b - - 0 1", 0, 59, 6},
  };
  for (const Case& c : cases) {
    T_Bitboard b = BoardFromFen(c.fen);
    int got = c.colour ? WhiteCastlingSquareAttacked(&b, c.square) : BlackCastlingSquareAttacked(&b, c.square);
    EXPECT_EQ(got, c.expected) << c.fen << " square " << c.square;
  }
}

}  // namespace
