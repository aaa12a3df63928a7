#include "search/pv.h"

#include <cstring>

T_PV_point p_PV_best_point;
int current_line[kMaxPly];

namespace {

// A line cannot hold more than kMaxPly moves; a deeper leaf keeps the first kMaxPly,
// so that no copy ever runs past the arrays.
inline int StoredLength(int length) { return length < 0 ? 0 : (length > kMaxPly ? kMaxPly : length); }

}  // namespace

void SetPVFromLine(int ply, int score) {
  int length = StoredLength(ply);
  std::memcpy(p_PV_best_point.move_line, current_line, static_cast<size_t>(length) * sizeof(int));
  p_PV_best_point.score_move = score;
  p_PV_best_point.length_line = length;
}

// Only the meaningful part of the line is copied: the nodes on the principal
// variation copy a line after every improvement.
void CopyPV(T_PV_point* save) {
  int length = StoredLength(p_PV_best_point.length_line);
  std::memcpy(save->move_line, p_PV_best_point.move_line, static_cast<size_t>(length) * sizeof(int));
  save->score_move = p_PV_best_point.score_move;
  save->length_line = p_PV_best_point.length_line;
}

void RestorePV(const T_PV_point* save) {
  int length = StoredLength(save->length_line);
  std::memcpy(p_PV_best_point.move_line, save->move_line, static_cast<size_t>(length) * sizeof(int));
  p_PV_best_point.score_move = save->score_move;
  p_PV_best_point.length_line = save->length_line;
}
