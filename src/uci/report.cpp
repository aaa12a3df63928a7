#include "uci/report.h"

#include <cstdint>

#include "uci/output.h"

int last_reported_score = -999999999;
int last_reported_depth = 0;

namespace {

char PromotionLetter(int move) {
  int type = MoveType(move);
  if (!IsPromotion(type)) return 0;
  static const char letters[6] = {0, 0, 'n', 'b', 'r', 'q'};
  return letters[PromotedPiece(type)];
}

void OutSquare(T_OutLine* out, int square) {
  char text[5];
  int n = SquareText(square, text);
  for (int i = 0; i < n; ++i) OutChar(out, text[i]);
}

// First form: the promotion letter for a promotion, nothing otherwise.
void OutMoveFirstForm(T_OutLine* out, int move) {
  OutSquare(out, MoveFrom(move));
  OutSquare(out, MoveTo(move));
  if (char c = PromotionLetter(move)) OutChar(out, c);
}

// Second form, the root search's line: nothing after an en-passant capture,
// the letter after a promotion, one space after every other move.
void OutMoveSecondForm(T_OutLine* out, int move) {
  OutSquare(out, MoveFrom(move));
  OutSquare(out, MoveTo(move));
  if (MoveType(move) == move_taking_passage) return;
  char c = PromotionLetter(move);
  OutChar(out, c ? c : ' ');
}

// Nodes per second as a 64-bit figure, truncated toward zero; a count that
// does not fit (or a time that is no time) cannot wrap around.
long long NodesPerSecond(u64 nodes, double seconds) {
  double rate = static_cast<double>(nodes) / seconds;
  if (!(rate >= 0.0)) return 0;  // NaN, or a negative time
  if (rate >= 9223372036854775807.0) return INT64_MAX;
  return static_cast<long long>(rate);
}

// The mover's view: s = score for White to move, -score for Black.
void OutScore(T_OutLine* out, int score, int white, int length) {
  long long s = white ? static_cast<long long>(score) : -static_cast<long long>(score);
  if (s > 900000) {
    OutText(out, " score mate ");
    OutInt(out, length);
  } else if (s < -900000) {
    OutText(out, " score mate ");
    OutInt(out, -static_cast<long long>(length));
  } else {
    OutText(out, " score cp ");
    OutInt(out, s);
  }
}

int LineMoves(const T_PV_point* pv) {
  int n = pv->length_line;
  if (n < 0) return 0;
  return n > kMaxPly ? kMaxPly : n;
}

}  // namespace

int SquareText(int square, char* text) {
  if (square < 0 || square > 63) {
    // Not a square: written so that a move of two of them reads as the null move "0000".
    text[0] = '0';
    text[1] = '0';
  } else {
    text[0] = static_cast<char>('a' + square % 8);
    text[1] = static_cast<char>('1' + square / 8);
  }
  text[2] = 0;
  return 2;
}

int MoveText(int move, char* text) {
  int n = SquareText(MoveFrom(move), text);
  n += SquareText(MoveTo(move), text + n);
  if (char c = PromotionLetter(move)) text[n++] = c;
  text[n] = 0;
  return n;
}

void PrintCurrentMove(const T_MoveList* list, int index, int move_number, int depth) {
  int move = list->move[index];
  T_OutLine out;
  OutStart(&out);
  OutText(&out, "info currmove ");
  OutSquare(&out, MoveFrom(move));
  OutSquare(&out, MoveTo(move));
  OutText(&out, " currmovenumber ");
  OutInt(&out, move_number);
  OutText(&out, " depth ");
  OutInt(&out, depth);
  OutChar(&out, '\n');
  OutFlush(&out);
}

void PrintSearchLine(int value, int depth, const T_PV_point* pv, u64 nodes, double seconds, int white_flag) {
  T_OutLine out;
  OutStart(&out);
  if (value == last_reported_score) {
    OutChar(&out, '\n');
    if (depth == last_reported_depth) {
      OutFlush(&out);
      return;
    }
  }
  last_reported_score = value;
  last_reported_depth = depth;

  OutText(&out, "info ");
  OutText(&out, " nps ");
  OutInt(&out, NodesPerSecond(nodes, seconds));
  OutText(&out, " depth ");
  OutInt(&out, depth);
  OutText(&out, " seldepth ");
  OutInt(&out, pv->length_line);
  OutScore(&out, value, white_flag == 1, pv->length_line);
  OutText(&out, " nodes ");
  OutUnsigned(&out, nodes);

  long long stored = pv->score_move;
  long long found = value;
  if ((stored < 0 ? -stored : stored) == (found < 0 ? -found : found)) {
    OutText(&out, " pv ");
    int n = LineMoves(pv);
    for (int i = 0; i < n; ++i) {
      OutMoveSecondForm(&out, pv->move_line[i]);
      OutChar(&out, ' ');
    }
    OutChar(&out, '\n');
  } else {
    OutChar(&out, '\n');
    OutText(&out, "ERROR LINE \n");
    OutText(&out, " value = ");
    OutInt(&out, value);
    OutChar(&out, '\n');
    OutText(&out, " p_PV_best_point.score_move = ");
    OutInt(&out, pv->score_move);
    OutChar(&out, '\n');
    OutText(&out, "**********************\n");
    OutText(&out, "  \n");
    OutChar(&out, '\n');
  }
  OutFlush(&out);
}

void PrintIterationLine(u64 nodes, double seconds, int depth, int score, int root_white, const T_PV_point* pv) {
  T_OutLine out;
  OutStart(&out);
  OutText(&out, "info ");
  OutText(&out, " nps ");
  OutInt(&out, NodesPerSecond(nodes, seconds));
  OutText(&out, " depth ");
  OutInt(&out, depth);
  OutScore(&out, score, root_white, pv->length_line);
  OutText(&out, " nodes ");
  OutUnsigned(&out, nodes);
  OutText(&out, " pv ");
  int n = LineMoves(pv);
  for (int i = 0; i < n; ++i) {
    OutMoveFirstForm(&out, pv->move_line[i]);
    OutChar(&out, ' ');
  }
  OutChar(&out, '\n');
  OutFlush(&out);
}

void PrintBestMove(int best_from, int best_to, int promotion_move) {
  T_OutLine out;
  OutStart(&out);
  OutText(&out, "bestmove ");
  OutSquare(&out, best_from);
  OutSquare(&out, best_to);
  if (char c = PromotionLetter(promotion_move)) OutChar(&out, c);
  OutChar(&out, '\n');
  OutFlush(&out);
}
