#include <cstring>

#include "board/bittables.h"
#include "uci/uci.h"

const char start_fen[] = "fen rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1 ";

namespace {

int PieceCode(char c) {
  switch (c) {
    case 'p': case 'P': return kPawn;
    case 'n': case 'N': return kKnight;
    case 'b': case 'B': return kBishop;
    case 'r': case 'R': return kRook;
    case 'q': case 'Q': return kQueen;
    case 'k': case 'K': return kKing;
    default: return kNone;
  }
}

bool HasPiece(const T_Bitboard* b, int colour, int code, int square) {
  return (colour ? b->white_name_from_coord : b->black_name_from_coord)[square] == code;
}

}  // namespace

// Reads placement, side, castling and en passant. The text is never read past its
// end and nothing is placed outside the board; a text that stops inside a field
// leaves the remaining fields absent. Castling rights and the en-passant square
// are kept only when the board can honour them, so that make never moves a rook
// or lifts a pawn that is not there.
void ReadFen(T_Bitboard* board, const char* fen) {
  board->all_piece = board->all_white_piece = board->all_black_piece = 0;
  for (int i = 0; i < 7; ++i) board->white_piece[i] = board->black_piece[i] = 0;
  for (int i = 0; i < 64; ++i) board->white_name_from_coord[i] = board->black_name_from_coord[i] = 0;

  const char* p = fen;
  while (*p && *p != ' ') ++p;  // the leading word, normally "fen"
  while (*p == ' ') ++p;

  // Placement: ranks 8 down to 1, each from file a; anything beyond file h or
  // below rank 1 is ignored.
  int row = 56, file = 0;
  while (*p && *p != ' ') {
    char c = *p++;
    if (c == '/') {
      row -= 8;
      file = 0;
      continue;
    }
    int code = PieceCode(c);
    if (code != kNone) {
      if (row >= 0 && file < 8) {
        int s = row + file;
        u64 m = square_mask[s];
        if (c >= 'a') {
          board->all_black_piece |= m;
          board->black_piece[code] |= m;
          board->black_name_from_coord[s] = code;
        } else {
          board->all_white_piece |= m;
          board->white_piece[code] |= m;
          board->white_name_from_coord[s] = code;
        }
      }
      ++file;
    } else if (c >= '1' && c <= '8') {
      file += c - '0';
    } else {
      ++file;
    }
    if (file > 8) file = 8;
  }
  board->all_piece = board->all_white_piece | board->all_black_piece;

  while (*p == ' ') ++p;
  if (*p == 'w') board->colour_move = 1;
  else if (*p == 'b') board->colour_move = 0;

  // The castling field starts two characters after the side letter.
  for (int k = 0; k < 2 && *p; ++k) ++p;
  board->castling_Q = board->castling_K = board->castling_q = board->castling_k = 0;
  while (*p && *p != ' ') {
    switch (*p++) {
      case 'K': board->castling_K = 1; break;
      case 'Q': board->castling_Q = 1; break;
      case 'k': board->castling_k = 1; break;
      case 'q': board->castling_q = 1; break;
      default: break;
    }
  }
  bool white_king_home = HasPiece(board, 1, kKing, 4);
  bool black_king_home = HasPiece(board, 0, kKing, 60);
  if (!white_king_home || !HasPiece(board, 1, kRook, 7)) board->castling_K = 0;
  if (!white_king_home || !HasPiece(board, 1, kRook, 0)) board->castling_Q = 0;
  if (!black_king_home || !HasPiece(board, 0, kRook, 63)) board->castling_k = 0;
  if (!black_king_home || !HasPiece(board, 0, kRook, 56)) board->castling_q = 0;

  while (*p == ' ') ++p;
  board->taking_passage_yes = 0;
  board->taking_passage_x = 0;
  board->taking_passage_y = 0;
  if (*p == 0 || *p == '-') return;
  int x = (p[0] >= 'a' && p[0] <= 'h') ? p[0] - 'a' : -1;
  int y = (p[1] >= '1' && p[1] <= '8') ? p[1] - '1' : -1;
  if (x < 0 || y < 0) return;
  // Only a target the side to move can really capture on: the square passed
  // over is empty and the pawn that passed it stands just beyond.
  int target = y * 8 + x;
  bool ok = board->colour_move ? (y == 5 && HasPiece(board, 0, kPawn, target - 8))
                               : (y == 2 && HasPiece(board, 1, kPawn, target + 8));
  if (!ok || (board->all_piece & square_mask[target])) return;
  board->taking_passage_yes = 1;
  board->taking_passage_x = x;
  board->taking_passage_y = y;
}
