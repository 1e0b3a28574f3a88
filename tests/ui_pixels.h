// Pixels by rule: every cell of a board window, read back from the window itself,
// against the colour its board calls for (the grid, then the hint in the hint game,
// then the falling brick on top).
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include "model/board.h"

// Paints what is pending in window, then compares the middle and the outline of each
// of its 12 x 25 cells with what board says; names the first cells that differ.
::testing::AssertionResult PaintedAsItsBoard(HWND window, const Board& board);
