// The benchmarks' board from the middle of a game, the same for the timed and the
// counted figures: the computer plays 60 random bricks (the runtime's rand() seeded
// with 7) on an empty well.
#pragma once

#include <cstdlib>

#include "ai/chooser.h"
#include "ai/evaluator.h"
#include "model/board.h"

inline Board MidGameBoard(const BrickTable& table) {
    SetRandomDraw(nullptr);
    srand(7);
    Board board{};
    ResetBoard(board);
    SetBrickSelection(kRandomSelection, 5);
    for (int i = 0; i < 60; ++i) {
        const BrickType& brick = *ChooseBrick(table, board);
        BrickPos pos{};
        if (FindBestPlacement(brick, &pos, board) == NoPlacement ||
            !FixBrick(brick.rotations[pos.rotation], pos, board))
            break;
    }
    return board;
}
