#include <gtest/gtest.h>

#include "search/pv.h"

namespace {

constexpr int kStale = 0x5EED;

void FillLine(T_PV_point* line, int first_move, int score, int length) {
  for (int i = 0; i < kMaxPly; ++i) line->move_line[i] = first_move + i;
  line->score_move = score;
  line->length_line = length;
}

TEST(PvStore, LeafSetsExactlyItsPlyOfMoves) {
  for (int i = 0; i < kMaxPly; ++i) current_line[i] = 1000 + i;
  FillLine(&p_PV_best_point, kStale, 555, 40);

  SetPVFromLine(3, -77);
  EXPECT_EQ(p_PV_best_point.length_line, 3);
  EXPECT_EQ(p_PV_best_point.score_move, -77);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(p_PV_best_point.move_line[i], 1000 + i) << i;

  SetPVFromLine(0, 12);  // a root without moves: only the score
  EXPECT_EQ(p_PV_best_point.length_line, 0);
  EXPECT_EQ(p_PV_best_point.score_move, 12);
}

TEST(PvStore, CopyAndRestoreMoveOnlyTheLineLength) {
  struct Case {
    int length;
  } cases[] = {{0}, {1}, {5}, {kMaxPly}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.length);
    FillLine(&p_PV_best_point, 2000, 31, c.length);
    T_PV_point save;
    FillLine(&save, kStale, 0, 0);
    CopyPV(&save);
    EXPECT_EQ(save.score_move, 31);
    EXPECT_EQ(save.length_line, c.length);
    for (int i = 0; i < kMaxPly; ++i) EXPECT_EQ(save.move_line[i], i < c.length ? 2000 + i : kStale + i) << i;

    // Restoring over a different line brings back the saved one and nothing beyond it.
    FillLine(&p_PV_best_point, 3000, -8, 60);
    RestorePV(&save);
    EXPECT_EQ(p_PV_best_point.score_move, 31);
    EXPECT_EQ(p_PV_best_point.length_line, c.length);
    for (int i = 0; i < kMaxPly; ++i)
      EXPECT_EQ(p_PV_best_point.move_line[i], i < c.length ? 2000 + i : 3000 + i) << i;
  }
}

// A leaf deeper than the line can hold keeps the first kMaxPly moves instead of
// writing past the record.
TEST(PvStore, OverlongLeafIsCutToTheRecord) {
  for (int i = 0; i < kMaxPly; ++i) current_line[i] = 4000 + i;
  SetPVFromLine(kMaxPly + 20, 5);
  EXPECT_EQ(p_PV_best_point.length_line, kMaxPly);
  EXPECT_EQ(p_PV_best_point.move_line[kMaxPly - 1], 4000 + kMaxPly - 1);

  T_PV_point save;
  CopyPV(&save);
  EXPECT_EQ(save.length_line, kMaxPly);
  EXPECT_EQ(save.move_line[kMaxPly - 1], 4000 + kMaxPly - 1);
}

}  // namespace
