#pragma once
#include <cstdint>

typedef uint64_t u64;
typedef uint32_t u32;
typedef uint8_t u8;

// Colours as template arguments and as values of colour_move.
constexpr int kWhite = 1;
constexpr int kBlack = 0;

// Piece codes.
constexpr int kNone = 0, kPawn = 1, kKnight = 2, kBishop = 3, kRook = 4, kQueen = 5, kKing = 6;
