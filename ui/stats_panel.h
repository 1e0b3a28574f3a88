// The statistics panel between the wells: rows cleared (the player's on the left and
// the computer's on the right in a versus game, else on the right only), bricks dealt
// per type, and the speed label. The panel has no behaviour; it is written from here.
#pragma once

#include <windows.h>

#include <cstdint>

#include "model/board.h"

// Writes board's cleared rows into the column that fits its mode (and empties the
// left column outside a versus game) and, unless it is the computer's board, its
// brick counts. A count is shown whole up to 9,999,999 and in whole millions above
// (string 407 after the number: "10 mil." for 10,000,000 to 10,999,999).
void UpdateStatsPanel(HWND panel, const Board& board);

// Writes "Rychlost: N" into the speed label through statsPanelWnd (the one panel),
// N = the interval (ms) in hundredths of a second.
void ShowSpeed(uint32_t interval);
