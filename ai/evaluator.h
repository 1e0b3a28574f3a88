// The computer player's judgement of a board: every rotation of a brick in every
// column, dropped straight onto the present surface and scored with one integer
// formula. Reads only the column heights and row fills, never the grid.
#pragma once

#include <cstdint>

#include "model/board.h"

// The score of "fits nowhere"; also where the search starts.
inline constexpr int32_t NoPlacement = -2147483647;

// Returns the best score (higher is better) of brick on board, or NoPlacement when
// no rotation fits in any column with a landing row of 0 or more.
// out, when given, receives {rotation, column, landing row} of the best placement;
// it is written only when a placement beats the best so far, so it is left exactly
// as it was when nothing fits. Ties go to the first placement in rotation-then-column
// order. The score does not depend on whether out is given.
//
// score = y + 30*G + 15*F + E_left + E_right + S, for landing row y:
//   G  minus the empty cells the brick covers between its lowest cell and each column's top
//   F  rows the placement completes
//   E  at each new edge towards a well column, a step of d > 2 costs 10*d - 20
//   S  each present step of d > 2 at or under the brick's span earns 10*d - 20
int32_t FindBestPlacement(const BrickType& brick, BrickPos* out, const Board& board);

// A board summed up once for any number of evaluations on it: FindBestPlacement is
// SummarizeBoard followed by FindBestPlacementOn, and the steered selection scores
// all seven bricks on one summary. The fields are the evaluator's own: a summary is
// filled by SummarizeBoard and only read afterwards.
struct BoardSummary {
    int16_t raised[8][32];            // entry [b][c], c < 24: colHeight of column c held to 0..24, plus
                                      // b; the walls and what lies beyond, where eight columns read at
                                      // once may reach, count as height 0 (entries 24..31 pad a row to
                                      // a power of two)
    int16_t base[kBrickBox + 1][24];  // entry [w][c]: what the heights and steps under a brick w wide
                                      // whose left column is c add to its score (for c of 1 to 8,
                                      // and to 16 where w is 1 or 2)
    uint32_t lacking[8];              // entry v of 1 to 4: bit r set when row r lacks exactly v cells
                                      // and lies above the lowest column's top, where a brick can reach
                                      // every empty cell; the rest 0, for counts a brick's row never has
    int32_t tallest;                  // the tallest column's height, 0 to 24
};
void SummarizeBoard(const Board& board, BoardSummary& summary);

// FindBestPlacement on the board that summary sums up: the same score and placement.
int32_t FindBestPlacementOn(const BrickType& brick, BrickPos* out, const BoardSummary& summary);
