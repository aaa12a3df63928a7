#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "board_fixture.h"

namespace {

constexpr char kMiddlegame[] = "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -";

class TestBoardCheck : public BoardTest {
 protected:
  void SetUp() override {
    BoardTest::SetUp();
    SetUpBoard(&test_, kMiddlegame);
    CopyBoard(&live_, &test_);
  }
  T_Bitboard test_, live_;
};

TEST_F(TestBoardCheck, CopyIsIdenticalAndSilent) {
  EXPECT_EQ(std::memcmp(&test_, &live_, sizeof(T_Bitboard)), 0);
  EXPECT_EQ(BoardDiff(test_, live_), "");
}

TEST_F(TestBoardCheck, OneLinePerDifferingField) {
  struct Case { std::function<void(T_Bitboard*)> change; const char* output; };
  const Case cases[] = {
      {[](T_Bitboard* b) { b->all_piece ^= 1; }, "white test_all_piece != bitboard->all_piece\n"},
      {[](T_Bitboard* b) { b->all_white_piece ^= 1ull << 40; }, "white test_all_white_piece != bitboard->all_white_piece\n"},
      {[](T_Bitboard* b) { b->all_black_piece = 0; }, "white test_all_black_piece != bitboard->all_black_piece\n"},
      {[](T_Bitboard* b) { b->colour_move = 0; }, "white test_colour_move != bitboard->colour_move\n"},
      {[](T_Bitboard* b) { b->taking_passage_yes = 1; }, "white test_taking_passage_yes != bitboard->taking_passage_yes\n"},
      {[](T_Bitboard* b) { b->taking_passage_x = 7; }, "white test_taking_passage_x != bitboard->taking_passage_x\n"},
      {[](T_Bitboard* b) { b->taking_passage_y = -1; }, "white test_taking_passage_y != bitboard->taking_passage_y\n"},
      {[](T_Bitboard* b) { b->castling_Q = 0; }, "white test_castling_Q != bitboard->castling_Q\n"},
      {[](T_Bitboard* b) { b->castling_K = 0; }, "white test_castling_K != bitboard->castling_K\n"},
      {[](T_Bitboard* b) { b->castling_q = 0; }, "white test_castling_q != bitboard->castling_q\n"},
      {[](T_Bitboard* b) { b->castling_k = 0; }, "white test_castling_k != bitboard->castling_k\n"},
      {[](T_Bitboard* b) { b->hash_key ^= 1ull << 63; }, "white test_hash_key !=  bitboard->hash_key\n"},
      {[](T_Bitboard* b) { b->hash_key ^= 1; }, "white test_hash_key !=  bitboard->hash_key\n"},
      {[](T_Bitboard* b) { b->eval += 1; }, "white test_eval != bitboard->eval\n"},
      {[](T_Bitboard* b) { b->black_piece[3] ^= 1; }, "white test_black_piece[n] = bitboard->black_piece[n]3\n"},
      {[](T_Bitboard* b) { b->white_piece[0] = 1; }, "white test_white_piece[n] = bitboard->white_piece[n]0\n"},
      {[](T_Bitboard* b) { b->black_name_from_coord[63] = 0; },
       "white test_black_name_from_coord[k] = bitboard->black_name_from_coord[k]63\n"},
      // Several differences come in the order of the fields, piece sets by index before colour.
      {[](T_Bitboard* b) {
         b->white_name_from_coord[60] = 2;
         b->all_white_piece ^= 1ull << 60;
       },
       "white test_all_white_piece != bitboard->all_white_piece\n"
       "white test_white_name_from_coord[k] = bitboard->white_name_from_coord[k]60\n"},
      {[](T_Bitboard* b) {
         b->white_piece[2] = 0;
         b->black_piece[1] = 0;
         b->white_name_from_coord[6] = 1;
         b->black_name_from_coord[5] = 1;
         b->white_name_from_coord[5] = 1;
       },
       "white test_black_piece[n] = bitboard->black_piece[n]1\n"
       "white test_white_piece[n] = bitboard->white_piece[n]2\n"
       "white test_white_name_from_coord[k] = bitboard->white_name_from_coord[k]5\n"
       "white test_black_name_from_coord[k] = bitboard->black_name_from_coord[k]5\n"
       "white test_white_name_from_coord[k] = bitboard->white_name_from_coord[k]6\n"},
  };
  for (const Case& c : cases) {
    T_Bitboard live;
    CopyBoard(&live, &test_);
    c.change(&live);
    EXPECT_EQ(BoardDiff(test_, live), c.output);
  }
}

// Each difference is its own complete line, the last square array entry last.
TEST_F(TestBoardCheck, EveryFieldDifferentGivesEveryLine) {
  T_Bitboard live;
  std::memset(&live, 0xA5, sizeof(live));
  std::string out = BoardDiff(test_, live);
  int lines = 0;
  for (char ch : out) lines += ch == '\n';
  EXPECT_EQ(lines, 13 + 14 + 128);
  EXPECT_EQ(out.rfind("white test_black_name_from_coord[k] = bitboard->black_name_from_coord[k]63\n"),
            out.size() - std::string("white test_black_name_from_coord[k] = bitboard->black_name_from_coord[k]63\n").size());
}

}  // namespace
