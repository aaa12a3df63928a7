#include <gtest/gtest.h>

#include <string>

#include "board/makemove.h"
#include "board_fixture.h"

namespace {

constexpr int Sq(const char* name) { return (name[1] - '1') * 8 + (name[0] - 'a'); }

constexpr int Word(int capture, int type, const char* from, const char* to, int piece) {
  return MakeMoveWord(capture, type, Sq(from), Sq(to), piece);
}

void SetRights(T_Bitboard* b, const char* rights) {
  std::string r = rights;
  b->castling_K = r.find('K') != std::string::npos;
  b->castling_Q = r.find('Q') != std::string::npos;
  b->castling_k = r.find('k') != std::string::npos;
  b->castling_q = r.find('q') != std::string::npos;
}

struct MakeCase {
  const char* name;
  const char* fen;
  const char* forced_rights;  // set after reading the FEN (a right the FEN reader would drop), or nullptr
  int move;
  const char* placement_after;
  const char* rights_after;
  int eval_change;
  int ep_yes, ep_x, ep_y;  // en-passant fields after the move
};

constexpr char kCastlingFen[] = "r3k2r/8/8/8/8/8/8/R3K2R w KQkq -";
constexpr char kCastlingFenBlack[] = "r3k2r/8/8/8/8/8/8/R3K2R b KQkq -";
constexpr char kAfterE4[] = "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3";

const MakeCase kMakeCases[] = {
    // Pawn pushes and the en-passant fields.
    {"e2-e4", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", nullptr, Word(0, move_quiet, "e2", "e4", kPawn),
     "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR", "KQkq", 0, 1, 4, 2},
    {"e2-e3", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", nullptr, Word(0, move_quiet, "e2", "e3", kPawn),
     "rnbqkbnr/pppppppp/8/8/8/4P3/PPPP1PPP/RNBQKBNR", "KQkq", 0, 0, 0, 0},
    {"reply to e4 clears en passant, keeps its square", kAfterE4, nullptr, Word(0, move_quiet, "g8", "f6", kKnight),
     "rnbqkb1r/pppppppp/5n2/8/4P3/8/PPPP1PPP/RNBQKBNR", "KQkq", 0, 0, 4, 2},
    {"e7-e5", kAfterE4, nullptr, Word(0, move_quiet, "e7", "e5", kPawn),
     "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR", "KQkq", 0, 1, 4, 5},
    {"white en passant", "4k3/8/8/3pP3/8/8/8/4K3 w - d6", nullptr, Word(1, move_taking_passage, "e5", "d6", kPawn),
     "4k3/8/3P4/8/8/8/8/4K3", "-", 100, 0, 3, 5},
    {"black en passant", "4k3/8/8/8/3pP3/8/8/4K3 b - e3", nullptr, Word(1, move_taking_passage, "d4", "e3", kPawn),
     "4k3/8/8/8/8/4p3/8/4K3", "-", -100, 0, 4, 2},

    // Rights lost by moving king or rook.
    {"rook leaves a1", kCastlingFen, nullptr, Word(0, move_quiet, "a1", "b1", kRook), "r3k2r/8/8/8/8/8/8/1R2K2R", "Kkq",
     0, 0, 0, 0},
    {"rook leaves h1", kCastlingFen, nullptr, Word(0, move_quiet, "h1", "h5", kRook), "r3k2r/8/8/7R/8/8/8/R3K3", "Qkq",
     0, 0, 0, 0},
    {"rook arriving on a1 gives no right back", "r3k2r/8/8/8/8/8/8/1R2K2R w Kkq -", nullptr,
     Word(0, move_quiet, "b1", "a1", kRook), "r3k2r/8/8/8/8/8/8/R3K2R", "Kkq", 0, 0, 0, 0},
    {"white king step", kCastlingFen, nullptr, Word(0, move_quiet, "e1", "f1", kKing), "r3k2r/8/8/8/8/8/8/R4K1R", "kq",
     0, 0, 0, 0},
    {"black rook leaves a8", kCastlingFenBlack, nullptr, Word(0, move_quiet, "a8", "a5", kRook),
     "4k2r/8/8/r7/8/8/8/R3K2R", "KQk", 0, 0, 0, 0},
    {"black rook leaves h8", kCastlingFenBlack, nullptr, Word(0, move_quiet, "h8", "g8", kRook),
     "r3k1r1/8/8/8/8/8/8/R3K2R", "KQq", 0, 0, 0, 0},
    {"black king step", kCastlingFenBlack, nullptr, Word(0, move_quiet, "e8", "d7", kKing), "r6r/3k4/8/8/8/8/8/R3K2R",
     "KQ", 0, 0, 0, 0},

    // Castling.
    {"white short castling", kCastlingFen, nullptr, Word(0, move_castling_short, "e1", "g1", kKing),
     "r3k2r/8/8/8/8/8/8/R4RK1", "kq", 0, 0, 0, 0},
    {"white long castling", kCastlingFen, nullptr, Word(0, move_castling_long, "e1", "c1", kKing),
     "r3k2r/8/8/8/8/8/8/2KR3R", "kq", 0, 0, 0, 0},
    {"black short castling", kCastlingFenBlack, nullptr, Word(0, move_castling_short, "e8", "g8", kKing),
     "r4rk1/8/8/8/8/8/8/R3K2R", "KQ", 0, 0, 0, 0},
    {"black long castling", kCastlingFenBlack, nullptr, Word(0, move_castling_long, "e8", "c8", kKing),
     "2kr3r/8/8/8/8/8/8/R3K2R", "KQ", 0, 0, 0, 0},

    // Captures, and the rights of a rook taken in its corner.
    {"bishop takes rook on h8", "r3k2r/8/8/8/8/8/1B6/R3K2R w KQkq -", nullptr, Word(kRook, move_capture, "b2", "h8", kBishop),
     "r3k2B/8/8/8/8/8/8/R3K2R", "KQq", 600, 0, 0, 0},
    {"bishop takes knight on h8", "r3k2n/8/8/8/8/8/1B6/R3K2R w KQkq -", "KQkq",
     Word(kKnight, move_capture, "b2", "h8", kBishop), "r3k2B/8/8/8/8/8/8/R3K2R", "KQkq", 400, 0, 0, 0},
    {"rook a1 takes rook a8", kCastlingFen, nullptr, Word(kRook, move_capture, "a1", "a8", kRook),
     "R3k2r/8/8/8/8/8/8/4K2R", "Kk", 600, 0, 0, 0},
    {"black bishop takes rook on a1", "r3k2r/8/8/8/8/8/1b6/R3K2R b KQkq -", nullptr,
     Word(kRook, move_capture, "b2", "a1", kBishop), "r3k2r/8/8/8/8/8/8/b3K2R", "Kkq", -600, 0, 0, 0},
    {"black takes the white queen", "3qk3/8/8/8/8/8/8/3QK3 b - -", nullptr, Word(kQueen, move_capture, "d8", "d1", kQueen),
     "4k3/8/8/8/8/8/8/3qK3", "-", -1200, 0, 0, 0},
    {"king capture drops both rights", "4k3/8/8/8/8/8/4p3/R3K2R w KQ -", nullptr,
     Word(kPawn, move_capture, "e1", "e2", kKing), "4k3/8/8/8/8/8/4K3/R6R", "-", 100, 0, 0, 0},

    // Promotions.
    {"promotion to knight", "4k3/1P6/8/8/8/8/8/4K3 w - -", nullptr, Word(0, 12, "b7", "b8", kPawn),
     "1N2k3/8/8/8/8/8/8/4K3", "-", 300, 0, 0, 0},
    {"promotion to queen", "4k3/1P6/8/8/8/8/8/4K3 w - -", nullptr, Word(0, 15, "b7", "b8", kPawn),
     "1Q2k3/8/8/8/8/8/8/4K3", "-", 1100, 0, 0, 0},
    {"b7xa8=Q takes the rook", "r3k3/1P6/8/8/8/8/8/4K3 w q -", nullptr, Word(kRook, 25, "b7", "a8", kPawn),
     "Q3k3/8/8/8/8/8/8/4K3", "-", 1700, 0, 0, 0},
    {"b7xa8=N takes a knight", "n3k3/1P6/8/8/8/8/8/4K3 w - -", nullptr, Word(kKnight, 22, "b7", "a8", kPawn),
     "N3k3/8/8/8/8/8/8/4K3", "-", 700, 0, 0, 0},
    {"black promotion to rook", "4k3/8/8/8/8/8/6p1/4K3 b - -", nullptr, Word(0, 14, "g2", "g1", kPawn),
     "4k3/8/8/8/8/8/8/4K1r1", "-", -500, 0, 0, 0},
    {"g2xh1=B takes the rook", "4k3/8/8/8/8/8/6p1/4K2R b K -", nullptr, Word(kRook, 23, "g2", "h1", kPawn),
     "4k3/8/8/8/8/8/8/4K2b", "-", -900, 0, 0, 0},

    // A move type that is never generated only hands the turn over.
    {"type 0 by black", kAfterE4, nullptr, Word(0, 0, "e7", "e5", kPawn), "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR",
     "KQkq", 0, 0, 4, 2},
    {"type 9 by white", "4k3/8/8/3pP3/8/8/8/4K3 w - d6", nullptr, Word(0, 9, "e5", "d6", kPawn), "4k3/8/8/3pP3/8/8/8/4K3",
     "-", 0, 0, 3, 5},
};

using MakeMoveTest = BoardTest;

TEST_F(MakeMoveTest, MakeSetsEveryFieldAndUnmakeRestores) {
  for (const MakeCase& c : kMakeCases) {
    SCOPED_TRACE(c.name);
    T_Bitboard board;
    SetUpBoard(&board, c.fen);
    if (c.forced_rights) {
      SetRights(&board, c.forced_rights);
      HashKeyFromScratch(&board);
    }
    T_Bitboard before;
    CopyBoard(&before, &board);
    const int white = board.colour_move;

    T_Bitboard expected;
    SetUpBoard(&expected, (std::string(c.placement_after) + " w - -").c_str());
    expected.colour_move = white ? 0 : 1;
    SetRights(&expected, c.rights_after);
    expected.taking_passage_yes = static_cast<u8>(c.ep_yes);
    expected.taking_passage_x = c.ep_x;
    expected.taking_passage_y = c.ep_y;
    expected.eval = before.eval + c.eval_change;
    expected.hash_key = before.hash_key;  // make never touches the key

    T_MoveList list;
    list.move[3] = c.move;
    T_Undo undo;
    if (white) MakeMoveWhite(&board, &list, 3, &undo);
    else MakeMoveBlack(&board, &list, 3, &undo);
    EXPECT_TRUE(SameBoard(expected, board));
    EXPECT_EQ(board.eval, MaterialFromScratch(&board));

    // The incremental key agrees with a recount of the new position.
    UpdateHashKey(&list, white, 3, &board, &undo);
    T_Bitboard recount;
    CopyBoard(&recount, &board);
    HashKeyFromScratch(&recount);
    EXPECT_EQ(board.hash_key, recount.hash_key);

    board.hash_key = before.hash_key;
    if (white) UnmakeMoveWhite(&board, &list, 3, &undo);
    else UnmakeMoveBlack(&board, &list, 3, &undo);
    EXPECT_TRUE(SameBoard(before, board));
  }
}

TEST_F(MakeMoveTest, UndoRecordHoldsTheStateBeforeTheMove) {
  T_Bitboard board;
  SetUpBoard(&board, "r3k2r/8/8/3pP3/8/8/8/R3K2R w Kq d6");
  T_MoveList list;
  list.move[0] = Word(0, move_castling_short, "e1", "g1", kKing);
  T_Undo undo;
  MakeMoveWhite(&board, &list, 0, &undo);
  EXPECT_EQ(undo.taking_passage_yes, 1);
  EXPECT_EQ(undo.taking_passage_x, 3);
  EXPECT_EQ(undo.taking_passage_y, 5);
  EXPECT_EQ(undo.castling_K, 1);
  EXPECT_EQ(undo.castling_Q, 0);
  EXPECT_EQ(undo.castling_k, 0);
  EXPECT_EQ(undo.castling_q, 1);
}

}  // namespace
