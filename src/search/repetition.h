#pragma once
#include "board/types.h"

constexpr int kSearchKeys = 120;
constexpr int kKeyHistory = 1000;

extern u64 search_keys[kSearchKeys];
// Game history written by the position command: entry key_history_count is the current position.
extern u64 key_history[kKeyHistory];
extern int key_history_count;

bool IsRepetition(int ply);
