#include <cstring>

#include "board/makemove.h"
#include "board/zobrist.h"
#include "movegen/movegen.h"
#include "search/repetition.h"
#include "uci/output.h"
#include "uci/uci.h"

namespace {

int FileIndex(char c) { return c >= 'a' && c <= 'h' ? c - 'a' : -1; }
int RankIndex(char c) { return c >= '1' && c <= '8' ? c - '1' : -1; }

void MovesError() { Emit("WARNING ! moves error\n"); }

// Entry key_history_count is always the current position; past 999 moves the
// oldest key makes room, so the history holds the most recent positions.
void AppendKey(u64 key) {
  if (key_history_count < kKeyHistory - 1) {
    key_history[++key_history_count] = key;
  } else {
    std::memmove(key_history, key_history + 1, (kKeyHistory - 1) * sizeof(key_history[0]));
    key_history[kKeyHistory - 1] = key;
  }
}

}  // namespace

void PlayTextMove(T_Bitboard* board, char from_file, char from_rank, char to_file, char to_rank, char promotion) {
  int ff = FileIndex(from_file), fr = RankIndex(from_rank);
  int tf = FileIndex(to_file), tr = RankIndex(to_rank);
  if (ff < 0 || fr < 0 || tf < 0 || tr < 0) {
    MovesError();
    return;
  }
  int from = ff + 8 * fr, to = tf + 8 * tr;

  T_MoveList list;
  if (board->colour_move == 1) {
    GenerateCapturesWhite(board, &list);
    GenerateQuietWhite(board, &list);
  } else {
    GenerateCapturesBlack(board, &list);
    GenerateQuietBlack(board, &list);
  }

  int i = 0;
  while (i < list.count && !(MoveFrom(list.move[i]) == from && MoveTo(list.move[i]) == to)) ++i;
  if (i == list.count) {
    MovesError();
    return;
  }

  // The four promotions of one pawn move stand together: queen, rook, bishop, knight.
  // A letter other than "q" only picks among them, never an unrelated entry.
  int offset;
  switch (promotion) {
    case 0: case 'q': offset = 0; break;
    case 'r': offset = 1; break;
    case 'b': offset = 2; break;
    case 'n': offset = 3; break;
    default: MovesError(); return;
  }
  if (offset > 0) {
    int k = i + offset;
    if (!IsPromotion(MoveType(list.move[i])) || k >= list.count || !IsPromotion(MoveType(list.move[k])) ||
        MoveFrom(list.move[k]) != from || MoveTo(list.move[k]) != to) {
      MovesError();
      return;
    }
    i = k;
  }

  T_Undo undo;
  if (board->colour_move == 1) {
    MakeMoveWhite(board, &list, i, &undo);
  } else {
    MakeMoveBlack(board, &list, i, &undo);
  }
}

void PositionCommand(T_Bitboard* board) {
  // Without a "uci" first the keys are drawn here, so that the game history
  // and the search that may follow use the same keys.
  if (!ZobristKeysDrawn()) InitZobrist();
  const char* fen = std::strstr(input_line, "fen ");
  const char* moves = std::strstr(input_line, "moves ");
  ReadFen(board, fen ? fen : start_fen);

  for (int i = 0; i < kKeyHistory; ++i) key_history[i] = static_cast<u64>(i);
  HashKeyFromScratch(board);
  key_history[0] = board->hash_key;
  key_history_count = 0;
  if (moves == nullptr) return;

  const char* p = moves + 6;
  while (*p == ' ') ++p;
  while (*p) {
    const char* token = p;
    while (*p && *p != ' ') ++p;
    size_t length = static_cast<size_t>(p - token);
    if (length == 4 || length == 5) {
      PlayTextMove(board, token[0], token[1], token[2], token[3], length == 5 ? token[4] : 0);
    } else {
      MovesError();
    }
    // A failed token still takes its place in the history, with the unchanged key.
    HashKeyFromScratch(board);
    AppendKey(board->hash_key);
    while (*p == ' ') ++p;
  }
}
