#include <gtest/gtest.h>

#include <cstring>

#include "movegen/movegen.h"
#include "uci/report.h"
#include "uci/uci.h"

namespace {

TEST(LegalMoves, MatchPerftOneAndKeepGenerationOrder) {
  const char* fens[] = {
      "fen rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
      "fen r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
      "fen 8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
      "fen r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 b kq - 0 1",
      "fen rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3",  // mated: none
  };
  for (const char* fen : fens) {
    T_Bitboard board{};
    ReadFen(&board, fen);
    T_Bitboard before = board;
    T_MoveList legal;
    GenerateLegalMoves(&board, &legal);
    EXPECT_EQ(static_cast<u64>(legal.count), Perft(&board, 1)) << fen;
    EXPECT_EQ(std::memcmp(&before, &board, sizeof(board)), 0) << fen;
    for (int i = 0; i < legal.count; ++i) {
      EXPECT_EQ(i < legal.capture_count, MoveType(legal.move[i]) != move_quiet &&
                                             MoveType(legal.move[i]) != move_castling_long &&
                                             MoveType(legal.move[i]) != move_castling_short)
          << fen << " " << i;
    }
  }
}

TEST(LegalMoves, MoveTextCarriesThePromotionLetter) {
  T_Bitboard board{};
  ReadFen(&board, "fen 4k3/P7/8/8/8/8/8/4K3 w - - 0 1");
  T_MoveList legal;
  GenerateLegalMoves(&board, &legal);
  ASSERT_GE(legal.count, 4);
  const char* expected[] = {"a7a8q", "a7a8r", "a7a8b", "a7a8n"};
  for (int i = 0; i < 4; ++i) {
    char text[8];
    EXPECT_EQ(MoveText(legal.move[i], text), 5);
    EXPECT_STREQ(text, expected[i]);
  }
}

}  // namespace
