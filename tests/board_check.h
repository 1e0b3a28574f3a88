// The board's invariants, checked from the grid alone, and wells drawn as pictures:
// for the core's tables, the fuzz targets, the soak and the recorded session.
#pragma once

#include <string>

#include "model/board.h"

// Draws the rows of picture, separated by '/', so that the last one is row 23: ten
// characters each for columns 1..10, '#' filled. Sets rowFill and colHeight from the grid.
void Draw(Board& board, const std::string& picture);

// Empty when the board is sound: walls and floor filled, every cell 0 or 1, rowFill
// and colHeight as the grid gives them, no full row, the filled rows one block that
// ends at row 23, and the counters consistent (rowsTotal the sum of the clears,
// bricksDealt the sum of the type counters). Otherwise what is wrong, with the well.
std::string BoardFault(const Board& board);

// Whether two boards are equal in every field.
bool SameBoard(const Board& a, const Board& b);

// Columns 1..10 of the rows from the highest that holds a cell down to row 23, one a
// line: "    |..##......| 22".
std::string DrawRows(const Board& board);

// A brick's place as "rotation,column,row".
std::string Pos(const BrickPos& pos);
