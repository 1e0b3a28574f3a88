// Moving the falling brick one step, or dropping it, with collision against the
// walls, the floor and the fixed cells. Only the new position is ever tested; a
// blocked step leaves the brick exactly where it was.
#pragma once

#include <cstdint>

#include "model/board.h"

enum MoveCommand : uint32_t {
    kMoveLeft = 1,
    kMoveRight = 2,
    kMoveDown = 3,
    kRotateForward = 4,
    kRotateBack = 5,
    kDrop = 6,
};

// Results of MoveBrick.
inline constexpr int kLanded = 0;   // a down step was blocked, or a drop ended
inline constexpr int kBlocked = 1;  // a left, right or rotation step was blocked
inline constexpr int kMoved = 2;    // the step was made (or the command is unknown)

// Applies command to pos, changing it in place. Returns kMoved when all four cells
// of the new position are empty (and for a command outside 1..6, which changes
// nothing); kBlocked with pos restored when a sideways or rotation step is blocked;
// kLanded when a down step is blocked (pos restored) or a drop has ended (pos at the
// lowest place reached). Cells outside the grid, and a rotation index the brick
// does not have, count as occupied. The grid is only read.
int MoveBrick(uint32_t command, BrickPos& pos, const BrickType& brick, const uint8_t (&grid)[kGridColumns][kGridRows]);
