// Helpers shared by the model and computer-player tests: the shipped brick table,
// boards drawn row by row, the board's invariants as an assertion.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "board_check.h"
#include "model/board.h"
#include "model/brick.h"

// The brick file shipped in data/, loaded from the tests' working directory.
const BrickTable& ShippedTable();

// A freshly reset board.
Board EmptyBoard();

// Sets row `row` of the well from ten characters for columns 1..10, '#' filled,
// anything else empty, then recomputes rowFill and colHeight from the grid.
void PutRow(Board& board, int row, const char* cells);

// Sets rowFill and colHeight from the grid.
void SyncBookkeeping(Board& board);

// The board's invariants (BoardFault), as a GoogleTest assertion.
inline ::testing::AssertionResult BoardInvariantsHold(const Board& board) {
    const std::string fault = BoardFault(board);
    if (fault.empty()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << fault;
}

// Whether two positions are equal, printing both when they are not.
inline ::testing::AssertionResult SamePos(const BrickPos& got, const BrickPos& want) {
    if (got.rotation == want.rotation && got.column == want.column && got.row == want.row)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "position {" << got.rotation << ", " << got.column << ", " << got.row
                                         << "}, expected {" << want.rotation << ", " << want.column << ", " << want.row
                                         << "}";
}
