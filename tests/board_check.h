// The board's invariants, checked from the grid alone, for every kind of test: the
// GoogleTest suites, the fuzz targets, the soak and the input storm.
#pragma once

#include <cstdint>
#include <string>

#include "model/board.h"

// rowFill and colHeight as they follow from the grid alone.
void RecomputeBookkeeping(const Board& board, int32_t (&rowFill)[kGridRows], int32_t (&colHeight)[kLastWellColumn + 1]);

// Empty when the board is sound: walls and floor filled, every cell 0 or 1, rowFill
// and colHeight as the grid gives them, no full row, the filled rows one block that
// ends at row 23, and the counters consistent (rowsTotal the sum of the clears,
// bricksDealt the sum of the type counters). Otherwise what is wrong, with the well.
std::string BoardFault(const Board& board);

// Whether two boards are equal field by field (a Board has padding, so never by bytes).
bool SameBoard(const Board& a, const Board& b);

// Ten characters per row for columns 1..10 of rows first..last.
std::string DrawRows(const Board& board, int first, int last);
