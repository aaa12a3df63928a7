#pragma once
#include "board/types.h"

// The one record that describes a position. Field order and names are part of
// the engine's vocabulary (the diagnostics of TestBoard name them).
struct T_Bitboard {
  u64 all_piece;
  u64 all_white_piece;
  u64 all_black_piece;
  u64 white_piece[7];
  u64 black_piece[7];
  int white_name_from_coord[64];
  int black_name_from_coord[64];
  u8 colour_move;          // 1 white, 0 black
  u8 taking_passage_yes;   // en passant possible this move
  int taking_passage_x;    // file of the square passed over
  int taking_passage_y;    // rank of the square passed over
  u8 castling_Q;
  u8 castling_K;
  u8 castling_q;
  u8 castling_k;
  u64 hash_key;
  int eval;                // material balance, white's view
};

// What make saves for unmake and for the key update.
struct T_Undo {
  u8 taking_passage_yes;
  int taking_passage_x;
  int taking_passage_y;
  u8 castling_Q;
  u8 castling_K;
  u8 castling_q;
  u8 castling_k;
};

// Colour-indexed views of the record, so that colour templates can name
// "own" and "enemy" sets once.
template <int C> inline u64* OwnPieces(T_Bitboard* b) { return C ? b->white_piece : b->black_piece; }
template <int C> inline const u64* OwnPieces(const T_Bitboard* b) { return C ? b->white_piece : b->black_piece; }
template <int C> inline u64& OwnAll(T_Bitboard* b) { return C ? b->all_white_piece : b->all_black_piece; }
template <int C> inline u64 OwnAll(const T_Bitboard* b) { return C ? b->all_white_piece : b->all_black_piece; }
template <int C> inline int* OwnNames(T_Bitboard* b) { return C ? b->white_name_from_coord : b->black_name_from_coord; }
template <int C> inline const int* OwnNames(const T_Bitboard* b) { return C ? b->white_name_from_coord : b->black_name_from_coord; }

// Copies every field of src into dst.
void CopyBoard(T_Bitboard* dst, const T_Bitboard* src);
// Writes one "white test_..." line per field in which live differs from test.
void TestBoard(const T_Bitboard* test, const T_Bitboard* live);
