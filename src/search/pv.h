#pragma once

constexpr int kMaxPly = 101;  // entries of every ply-indexed line and table

struct T_PV_point {
  int move_line[kMaxPly];
  int score_move;
  int length_line;
};

extern T_PV_point p_PV_best_point;
extern int current_line[kMaxPly];

void SetPVFromLine(int ply, int score);
void CopyPV(T_PV_point* save);
void RestorePV(const T_PV_point* save);
