#pragma once
// Shared helpers of the board tests: boards set up from FEN text and whole-record
// comparisons that name the differing fields.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "board/bittables.h"
#include "board/board.h"
#include "board/zobrist.h"
#include "eval/eval.h"
#include "uci/uci.h"

// Zero-filled first, so that two records of the same position compare equal with memcmp.
inline void SetUpBoard(T_Bitboard* board, const char* fen) {
  std::memset(board, 0, sizeof(*board));
  std::string text = std::string("fen ") + fen;
  ReadFen(board, text.c_str());
  HashKeyFromScratch(board);
  board->eval = MaterialFromScratch(board);
}

// The "white test_..." lines TestBoard writes for the pair, or "" when equal.
inline std::string BoardDiff(const T_Bitboard& test, const T_Bitboard& live) {
  testing::internal::CaptureStdout();
  TestBoard(&test, &live);
  return testing::internal::GetCapturedStdout();
}

// Whole-record equality; on failure the message lists the differing fields.
inline testing::AssertionResult SameBoard(const T_Bitboard& expected, const T_Bitboard& actual) {
  if (std::memcmp(&expected, &actual, sizeof(T_Bitboard)) == 0) return testing::AssertionSuccess();
  std::string diff = BoardDiff(expected, actual);
  return testing::AssertionFailure() << (diff.empty() ? std::string("records differ in padding only") : diff);
}

// The placement invariants: masks, piece sets and both name arrays describe the same pieces.
inline testing::AssertionResult Consistent(const T_Bitboard& b) {
  u64 white = 0, black = 0;
  for (int c = 1; c <= 6; ++c) {
    if (white & b.white_piece[c]) return testing::AssertionFailure() << "white sets overlap at code " << c;
    if (black & b.black_piece[c]) return testing::AssertionFailure() << "black sets overlap at code " << c;
    white |= b.white_piece[c];
    black |= b.black_piece[c];
  }
  if (b.white_piece[0] || b.black_piece[0]) return testing::AssertionFailure() << "piece set 0 not empty";
  if (white != b.all_white_piece) return testing::AssertionFailure() << "all_white_piece is not the union";
  if (black != b.all_black_piece) return testing::AssertionFailure() << "all_black_piece is not the union";
  if (white & black) return testing::AssertionFailure() << "white and black overlap";
  if (b.all_piece != (white | black)) return testing::AssertionFailure() << "all_piece is not the union";
  for (int s = 0; s < 64; ++s) {
    int w = b.white_name_from_coord[s], k = b.black_name_from_coord[s];
    bool w_ok = w == 0 ? !(white & square_mask[s]) : (w > 0 && w <= 6 && (b.white_piece[w] & square_mask[s]));
    bool k_ok = k == 0 ? !(black & square_mask[s]) : (k > 0 && k <= 6 && (b.black_piece[k] & square_mask[s]));
    if (!w_ok || !k_ok) return testing::AssertionFailure() << "name array disagrees with the sets on square " << s;
  }
  return testing::AssertionSuccess();
}

// Evaluation values and the first set of Zobrist keys, as after one "uci" and "isready".
class BoardTest : public testing::Test {
 protected:
  void SetUp() override {
    InitEvalTables();
    ResetZobristRandom();
    InitZobrist();
  }
};
