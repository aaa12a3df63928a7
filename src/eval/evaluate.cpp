#include <array>

#include "board/bittables.h"
#include "eval/eval.h"

namespace {

// The three squares in front of a king: k + 7, k + 8, k + 9 for White and
// k - 7, k - 8, k - 9 for Black, by plain arithmetic (so a king on a1 is
// sheltered by h1, a2, b2). Squares off the board are left out of the mask; the
// caller counts them as holding none of the king's pieces.
constexpr std::array<u64, 64> ShelterMasks(int direction) {
  std::array<u64, 64> t{};
  for (int k = 0; k < 64; ++k)
    for (int d = 7; d <= 9; ++d) {
      int s = k + direction * d;
      if (s >= 0 && s < 64) t[k] |= 1ull << s;
    }
  return t;
}

constexpr std::array<u64, 64> kShelter[2] = {ShelterMasks(-1), ShelterMasks(1)};

constexpr u64 NorthFill(u64 x) {
  x |= x << 8;
  x |= x << 16;
  return x | x << 32;
}

constexpr u64 SouthFill(u64 x) {
  x |= x >> 8;
  x |= x >> 16;
  return x | x >> 32;
}

// One bit per file (bits 0-7) that holds any square of x.
constexpr u64 Files(u64 x) {
  x |= x >> 32;
  x |= x >> 16;
  x |= x >> 8;
  return x & 0xFF;
}

// Without a hardware popcount in the target flags the builtin becomes a
// library call; the bit-parallel count stays inline.
inline int Count(u64 x) {
#if defined(__POPCNT__)
  return __builtin_popcountll(x);
#else
  x = x - ((x >> 1) & 0x5555555555555555ull);
  x = (x & 0x3333333333333333ull) + ((x >> 2) & 0x3333333333333333ull);
  x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Full;
  return static_cast<int>((x * 0x0101010101010101ull) >> 56);
#endif
}

// Pawns and kings carry no phase value.
int PhaseSum(const u64* piece) {
  int sum = 0;
  for (int c = kKnight; c <= kQueen; ++c) sum += phase_value[c] * Count(piece[c]);
  return sum;
}

// Everything one side earns, from its own point of view. enemy_phase is the
// opponent's non-pawn material, which picks middlegame or endgame terms.
template <int C>
int SideScore(const T_Bitboard* board, int enemy_phase) {
  constexpr int E = 1 - C;
  const u64* own = OwnPieces<C>(board);
  const u64 own_all = OwnAll<C>(board);
  const bool middlegame = enemy_phase > endgame_material_limit;
  // Black's pawns read the pawn tables turned round; the king, knight and
  // bishop tables are symmetric top to bottom and take the plain square.
  auto pawn_index = [](int s) { return C ? s : 63 - s; };

  int score = 0;

  if (own[kKing]) {
    int k = BitScanForward(own[kKing]);
    if (middlegame) {
      int bare = 3 - Count(kShelter[C][k] & own_all);
      score += king_middlegame_table[k] - king_shelter_penalty * bare;
    } else {
      score += king_endgame_table[k];
    }
  }

  const u64 pawns = own[kPawn];
  if (pawns) {
    const u64 enemy_pawns = OwnPieces<E>(board)[kPawn];
    // Squares with an enemy pawn ahead on their own file.
    const u64 blocked = C ? SouthFill(enemy_pawns >> 8) : NorthFill(enemy_pawns << 8);
    const u64 open = pawns & ~blocked;
    // Neighbouring files count only for a pawn whose own file is clear.
    const u64 right_clear = open & ~kFileH & ~(blocked >> 1);
    const u64 left_clear = open & ~kFileA & ~(blocked << 1);
    score += passed_pawn_unit * (2 * Count(open) + Count(right_clear) + Count(left_clear));

    const int* table = middlegame ? pawn_middlegame_table : pawn_endgame_table;
    for (u64 m = pawns; m; m &= m - 1) score += table[pawn_index(BitScanForward(m))];

    if (!middlegame) {
      // A board edge stands in for a clear neighbouring file.
      const u64 passed = (right_clear | (open & kFileH)) & (left_clear | (open & kFileA));
      for (u64 m = passed; m; m &= m - 1) score += passed_pawn_table[pawn_index(BitScanForward(m))];
    }

    // Files with two or more pawns: those holding a pawn with another behind it.
    score -= doubled_pawn_penalty * Count(Files(pawns & NorthFill(pawns << 8)));
  }

  for (u64 m = own[kRook]; m; m &= m - 1)
    score += rook_mobility_weight * FileMobility(BitScanForward(m), board->all_piece, own_all);
  for (u64 m = own[kBishop]; m; m &= m - 1) score += bishop_table[BitScanForward(m)];
  for (u64 m = own[kKnight]; m; m &= m - 1) score += knight_table[BitScanForward(m)];

  return score;
}

}  // namespace

int FileMobility(int s, u64 occupied, u64 own) {
  u64 up = ray_north[s];
  if (u64 blockers = up & occupied) up ^= ray_north[BitScanForward(blockers)];
  u64 down = ray_south[s];
  if (u64 blockers = down & occupied) down ^= ray_south[BitScanReverse(blockers)];
  return Count((up | down) & ~own);
}

int Evaluate(const T_Bitboard* board) {
  const int white_phase = PhaseSum(board->white_piece);
  const int black_phase = PhaseSum(board->black_piece);
  return SideScore<kWhite>(board, black_phase) - SideScore<kBlack>(board, white_phase);
}
