// Helpers shared by the model and computer-player tests: the shipped brick table,
// boards drawn row by row, bookkeeping recomputed from the grid, invariant checks.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "model/board.h"
#include "model/brick.h"

// The brick file shipped in data/, loaded from the tests' working directory.
const BrickTable& ShippedTable();

// A freshly reset board.
Board EmptyBoard();

// Sets row `row` of the well from ten characters for columns 1..10, '#' filled,
// anything else empty, then recomputes rowFill and colHeight from the grid.
void PutRow(Board& board, int row, const char* cells);

// rowFill and colHeight as they follow from the grid alone.
void RecomputeBookkeeping(const Board& board, int32_t (&rowFill)[kGridRows], int32_t (&colHeight)[kLastWellColumn + 1]);
void SyncBookkeeping(Board& board);

// Walls, floor, 0/1 cells, rowFill and colHeight matching the grid, no full row,
// and the filled rows forming one block that ends at row 23.
::testing::AssertionResult BoardInvariantsHold(const Board& board);

// Whether two positions are equal, printing both when they are not.
inline ::testing::AssertionResult SamePos(const BrickPos& got, const BrickPos& want) {
    if (got.rotation == want.rotation && got.column == want.column && got.row == want.row)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "position {" << got.rotation << ", " << got.column << ", " << got.row
                                         << "}, expected {" << want.rotation << ", " << want.column << ", "
                                         << want.row << "}";
}

// Ten characters per row for columns 1..10 of rows first..last, for failure messages.
std::string DrawRows(const Board& board, int first, int last);
