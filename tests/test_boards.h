// Helpers shared by the model and computer-player tests: the shipped brick table,
// wells drawn as pictures, the board's invariants as an assertion, positions that
// compare and print.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "board_check.h"
#include "model/board.h"
#include "model/brick.h"

// The brick file shipped in data/, loaded from the tests' working directory.
const BrickTable& ShippedTable();
inline const BrickType& Shipped(int type) { return ShippedTable().types[type]; }

// Draws the rows of picture, separated by '/', so that the last one is row 23: ten
// characters each for columns 1..10, '#' filled. Sets rowFill and colHeight from the grid.
void Draw(Board& board, const char* picture);

// times rows alike, as a picture.
std::string Rows(const char* row, int times);

// Rows 1 to 23 alternately without their last and their first cell: only the bar and
// the J still fit, on row 0.
std::string NearlyFullWell();

// A freshly reset board with picture drawn in.
Board Well(const char* picture = "");

// The board's invariants (BoardFault), as a GoogleTest assertion.
inline ::testing::AssertionResult Sound(const Board& board) {
    const std::string fault = BoardFault(board);
    if (fault.empty()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << fault;
}

inline bool operator==(const BrickPos& a, const BrickPos& b) {
    return a.rotation == b.rotation && a.column == b.column && a.row == b.row;
}
inline void PrintTo(const BrickPos& p, std::ostream* out) {
    *out << "{" << p.rotation << ", " << p.column << ", " << p.row << "}";
}
