#include "board/zobrist.h"

u64 zobrist[2][7][64];

namespace {

// The generator is carried by the engine itself so that the keys are the same
// on every platform and in every run.
u32 random_state = 1;

// x XOR y of the en-passant target, widened with sign extension.
inline u64 PassageKey(int x, int y) { return taking_passage_key ^ static_cast<u64>(static_cast<int64_t>(x ^ y)); }

}  // namespace

int ZobristRandom() {
  random_state = random_state * 214013u + 2531011u;
  return static_cast<int>((random_state >> 16) & 0x7FFF);
}

void ResetZobristRandom() { random_state = 1; }

static bool keys_drawn = false;

bool ZobristKeysDrawn() { return keys_drawn; }

void InitZobrist() {
  keys_drawn = true;
  for (int block = 0; block < 2; ++block)
    for (int piece = 1; piece < 7; ++piece)
      for (int s = 0; s < 64; ++s) {
        u64 key = static_cast<u64>(ZobristRandom());
        key = (key << 12) ^ static_cast<u64>(ZobristRandom());
        key = (key << 16) ^ static_cast<u64>(ZobristRandom());
        key = (key << 16) ^ static_cast<u64>(ZobristRandom());
        key = (key << 15) ^ static_cast<u64>(ZobristRandom());
        zobrist[block][piece][s] = key;
      }
}

void HashKeyFromScratch(T_Bitboard* board) {
  u64 key = 0;
  for (int s = 0; s < 64; ++s) {
    // Name 0 selects row 0, which is all zero.
    key ^= zobrist[1][board->white_name_from_coord[s]][s];
    key ^= zobrist[0][board->black_name_from_coord[s]][s];
  }
  if (board->colour_move) key ^= side_key;
  if (board->castling_K) key ^= castling_K_key;
  if (board->castling_Q) key ^= castling_Q_key;
  if (board->castling_k) key ^= castling_k_key;
  if (board->castling_q) key ^= castling_q_key;
  if (board->taking_passage_yes) key ^= PassageKey(board->taking_passage_x, board->taking_passage_y);
  board->hash_key = key;
}

void UpdateHashKey(const T_MoveList* list, int colour, int index, T_Bitboard* board, const T_Undo* undo) {
  const int m = list->move[index];
  const int p = MovePiece(m), f = MoveFrom(m), t = MoveTo(m), v = MoveCapture(m), type = MoveType(m);
  const int c = colour ? 1 : 0, o = 1 - c;
  const u64(*own)[64] = zobrist[c];
  u64 key = board->hash_key;
  switch (type) {
    case move_quiet:
      key ^= own[p][t] ^ own[p][f];
      break;
    case move_capture:
      key ^= own[p][t] ^ own[p][f] ^ zobrist[o][v][t];
      break;
    case move_castling_long:
      key ^= own[p][t] ^ own[p][f];
      key ^= c ? own[kRook][0] ^ own[kRook][3] : own[kRook][56] ^ own[kRook][59];
      break;
    case move_castling_short:
      key ^= own[p][t] ^ own[p][f];
      key ^= c ? own[kRook][7] ^ own[kRook][5] : own[kRook][63] ^ own[kRook][61];
      break;
    case move_taking_passage:
      key ^= own[p][t] ^ own[p][f];
      key ^= c ? zobrist[0][v][t - 8] : zobrist[1][v][t + 8];
      break;
    case 12: case 13: case 14: case 15:
      key ^= own[type - 10][t] ^ own[p][f];
      break;
    case 22: case 23: case 24: case 25:
      key ^= zobrist[o][v][t] ^ own[type - 20][t] ^ own[p][f];
      break;
    default:
      break;
  }
  key ^= side_key;
  if (board->castling_K != undo->castling_K) key ^= castling_K_key;
  if (board->castling_Q != undo->castling_Q) key ^= castling_Q_key;
  if (board->castling_k != undo->castling_k) key ^= castling_k_key;
  if (board->castling_q != undo->castling_q) key ^= castling_q_key;
  if (undo->taking_passage_yes) key ^= PassageKey(undo->taking_passage_x, undo->taking_passage_y);
  if (board->taking_passage_yes) key ^= PassageKey(board->taking_passage_x, board->taking_passage_y);
  board->hash_key = key;
}
