#include "board/board.h"

#include <cstring>

#include "uci/output.h"

void CopyBoard(T_Bitboard* dst, const T_Bitboard* src) {
  // A byte copy also carries the padding, so a copy compares equal byte for byte.
  std::memcpy(dst, src, sizeof(T_Bitboard));
}

namespace {

void Report(const char* message) {
  T_OutLine out;
  OutStart(&out);
  OutText(&out, message);
  OutChar(&out, '\n');
  OutFlush(&out);
}

void ReportIndexed(const char* message, int index) {
  T_OutLine out;
  OutStart(&out);
  OutText(&out, message);
  OutInt(&out, index);
  OutChar(&out, '\n');
  OutFlush(&out);
}

}  // namespace

// Every line says "white" whichever side's root search asks: the texts are fixed.
void TestBoard(const T_Bitboard* test, const T_Bitboard* live) {
  if (test->all_piece != live->all_piece) Report("white test_all_piece != bitboard->all_piece");
  if (test->all_white_piece != live->all_white_piece) Report("white test_all_white_piece != bitboard->all_white_piece");
  if (test->all_black_piece != live->all_black_piece) Report("white test_all_black_piece != bitboard->all_black_piece");
  if (test->colour_move != live->colour_move) Report("white test_colour_move != bitboard->colour_move");
  if (test->taking_passage_yes != live->taking_passage_yes)
    Report("white test_taking_passage_yes != bitboard->taking_passage_yes");
  if (test->taking_passage_x != live->taking_passage_x)
    Report("white test_taking_passage_x != bitboard->taking_passage_x");
  if (test->taking_passage_y != live->taking_passage_y)
    Report("white test_taking_passage_y != bitboard->taking_passage_y");
  if (test->castling_Q != live->castling_Q) Report("white test_castling_Q != bitboard->castling_Q");
  if (test->castling_K != live->castling_K) Report("white test_castling_K != bitboard->castling_K");
  if (test->castling_q != live->castling_q) Report("white test_castling_q != bitboard->castling_q");
  if (test->castling_k != live->castling_k) Report("white test_castling_k != bitboard->castling_k");
  if (test->hash_key != live->hash_key) Report("white test_hash_key !=  bitboard->hash_key");
  if (test->eval != live->eval) Report("white test_eval != bitboard->eval");
  for (int n = 0; n < 7; ++n) {
    if (test->white_piece[n] != live->white_piece[n])
      ReportIndexed("white test_white_piece[n] = bitboard->white_piece[n]", n);
    if (test->black_piece[n] != live->black_piece[n])
      ReportIndexed("white test_black_piece[n] = bitboard->black_piece[n]", n);
  }
  for (int k = 0; k < 64; ++k) {
    if (test->white_name_from_coord[k] != live->white_name_from_coord[k])
      ReportIndexed("white test_white_name_from_coord[k] = bitboard->white_name_from_coord[k]", k);
    if (test->black_name_from_coord[k] != live->black_name_from_coord[k])
      ReportIndexed("white test_black_name_from_coord[k] = bitboard->black_name_from_coord[k]", k);
  }
}
