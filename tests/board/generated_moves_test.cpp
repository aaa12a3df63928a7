#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "board/makemove.h"
#include "board_fixture.h"
#include "movegen/movegen.h"

namespace {

const char* const kPositions[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R b KQkq -",
    "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6",
    "rnbqkbnr/pppp1ppp/8/8/3Pp3/8/PPP1PPPP/RNBQKBNR b KQkq d3",
    "r3k2r/1P4P1/8/8/8/8/1p4p1/R3K2R w KQkq -",
    "r3k2r/1P4P1/8/8/8/8/1p4p1/R3K2R b KQkq -",
    "n1n5/PPPk4/8/8/8/8/4Kppp/5N1N w - -",
    "n1n5/PPPk4/8/8/8/8/4Kppp/5N1N b - -",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -",
};

void Generate(const T_Bitboard* b, T_MoveList* list) {
  if (b->colour_move) {
    GenerateCapturesWhite(b, list);
    GenerateQuietWhite(b, list);
  } else {
    GenerateCapturesBlack(b, list);
    GenerateQuietBlack(b, list);
  }
}

// Plays move i for the side to move; false (and the move taken back) when it
// leaves the mover's king attacked.
bool MakeLegal(T_Bitboard* b, const T_MoveList* list, int i, T_Undo* undo) {
  if (b->colour_move) {
    MakeMoveWhite(b, list, i, undo);
    if (!WhiteKingAttacked(b)) return true;
    UnmakeMoveWhite(b, list, i, undo);
  } else {
    MakeMoveBlack(b, list, i, undo);
    if (!BlackKingAttacked(b)) return true;
    UnmakeMoveBlack(b, list, i, undo);
  }
  return false;
}

void Unmake(T_Bitboard* b, const T_MoveList* list, int i, const T_Undo* undo) {
  // The board is the position after the move: the mover is the side not to move.
  if (b->colour_move) UnmakeMoveBlack(b, list, i, undo);
  else UnmakeMoveWhite(b, list, i, undo);
}

// After a make and the key update: placement invariants, material and key as recounted.
testing::AssertionResult AgreesWithRecount(const T_Bitboard& b) {
  testing::AssertionResult consistent = Consistent(b);
  if (!consistent) return consistent;
  if (b.eval != MaterialFromScratch(&b))
    return testing::AssertionFailure() << "eval " << b.eval << " != recount " << MaterialFromScratch(&b);
  T_Bitboard recount;
  CopyBoard(&recount, &b);
  HashKeyFromScratch(&recount);
  if (b.hash_key != recount.hash_key) return testing::AssertionFailure() << "incremental key != recomputed key";
  return testing::AssertionSuccess();
}

using GeneratedMovesTest = BoardTest;

TEST_F(GeneratedMovesTest, EveryMoveMadeAndUnmadeRestoresTheBoard) {
  for (const char* fen : kPositions) {
    SCOPED_TRACE(fen);
    T_Bitboard board, before;
    SetUpBoard(&board, fen);
    CopyBoard(&before, &board);
    T_MoveList list;
    Generate(&board, &list);
    ASSERT_GT(list.count, 0);
    const int white = board.colour_move;
    for (int i = 0; i < list.count; ++i) {
      SCOPED_TRACE(i);
      T_Undo undo;
      if (white) MakeMoveWhite(&board, &list, i, &undo);
      else MakeMoveBlack(&board, &list, i, &undo);
      EXPECT_EQ(board.hash_key, before.hash_key);
      UpdateHashKey(&list, white, i, &board, &undo);
      EXPECT_TRUE(AgreesWithRecount(board));
      board.hash_key = before.hash_key;
      if (white) UnmakeMoveWhite(&board, &list, i, &undo);
      else UnmakeMoveBlack(&board, &list, i, &undo);
      ASSERT_TRUE(SameBoard(before, board));
    }
  }
}

// Random legal games: after every move the incremental key and material agree
// with a recount, and unwinding the whole game returns the starting record.
TEST_F(GeneratedMovesTest, RandomGamesKeepKeyAndMaterial) {
  const char* starts[] = {kPositions[0], kPositions[1], kPositions[5], kPositions[7]};
  std::mt19937 random(20240611);
  int plies_played = 0;
  for (const char* fen : starts) {
    SCOPED_TRACE(fen);
    T_Bitboard board, start;
    SetUpBoard(&board, fen);
    CopyBoard(&start, &board);
    struct Ply { T_MoveList list; int index; T_Undo undo; u64 key; };
    std::vector<Ply> game;
    game.reserve(120);
    for (int ply = 0; ply < 120; ++ply) {
      Ply p;
      Generate(&board, &p.list);
      std::vector<int> legal;
      for (int i = 0; i < p.list.count; ++i) {
        T_Undo undo;
        if (MakeLegal(&board, &p.list, i, &undo)) {
          legal.push_back(i);
          Unmake(&board, &p.list, i, &undo);
        }
      }
      if (legal.empty()) break;
      p.index = legal[std::uniform_int_distribution<size_t>(0, legal.size() - 1)(random)];
      p.key = board.hash_key;
      const int white = board.colour_move;
      ASSERT_TRUE(MakeLegal(&board, &p.list, p.index, &p.undo));
      UpdateHashKey(&p.list, white, p.index, &board, &p.undo);
      ASSERT_TRUE(AgreesWithRecount(board)) << "ply " << ply;
      game.push_back(p);
      ++plies_played;
    }
    while (!game.empty()) {
      const Ply& p = game.back();
      Unmake(&board, &p.list, p.index, &p.undo);
      board.hash_key = p.key;
      game.pop_back();
    }
    EXPECT_TRUE(SameBoard(start, board));
  }
  EXPECT_GT(plies_played, 300);
}

}  // namespace
