#pragma once
#include "board/types.h"

// Move word: name_capture | move_type << 6 | from << 12 | to << 18 | name_piece << 24.
constexpr int move_quiet = 1;
constexpr int move_capture = 2;
constexpr int move_castling_long = 3;
constexpr int move_castling_short = 4;
constexpr int move_taking_passage = 5;
// move_promotion: 12..15 (knight, bishop, rook, queen); move_capture_promotion: 22..25.
constexpr int move_promotion_knight = 12, move_promotion_queen = 15;
constexpr int move_capture_promotion_knight = 22, move_capture_promotion_queen = 25;

constexpr int kMaxMoves = 256;

inline constexpr int MakeMoveWord(int name_capture, int move_type, int from, int to, int name_piece) {
  return name_capture | (move_type << 6) | (from << 12) | (to << 18) | (name_piece << 24);
}
inline constexpr int MoveCapture(int m) { return m & 0x3f; }
inline constexpr int MoveType(int m) { return (m >> 6) & 0x3f; }
inline constexpr int MoveFrom(int m) { return (m >> 12) & 0x3f; }
inline constexpr int MoveTo(int m) { return (m >> 18) & 0x3f; }
inline constexpr int MovePiece(int m) { return (m >> 24) & 7; }
inline constexpr bool IsPromotion(int type) { return (type >= 12 && type <= 15) || (type >= 22 && type <= 25); }
// Code of the piece a promotion type makes (2..5); only meaningful when IsPromotion(type).
inline constexpr int PromotedPiece(int type) { return type >= 22 ? type - 20 : type - 10; }

struct T_MoveList {
  int move[kMaxMoves];
  int sort_key[kMaxMoves];
  int capture_count;
  int count;
};
