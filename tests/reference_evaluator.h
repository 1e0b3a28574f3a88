// The placement score computed the plain way: every cell of every placement read
// from the grid and the rotations' cells, with none of the evaluator's bookkeeping.
// The evaluator must agree with it on every board; the benchmarks measure both.
#pragma once

#include <cstdint>

#include "model/board.h"

struct ReferencePlacement {
    int32_t score;
    BrickPos pos;  // {-1, -1, -1} when nothing fits
};

// Every rotation in every column, scored from the grid as the formula reads.
ReferencePlacement ReferenceBestPlacement(const BrickType& brick, const Board& board);
