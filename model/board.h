// One well: its grid with walls and floor, the per-row and per-column bookkeeping
// that the computer player reads, the counters the statistics panel shows, and the
// board's mode and falling brick. Landing a brick and clearing rows happen here.
#pragma once

#include <cstdint>

#include "model/brick.h"

// Grid geometry: columns 0 and 11 are walls, 1 to 10 the well; rows 0 to 23 the well
// (row 0 at the top), row 24 the floor. Walls and floor are filled cells.
inline constexpr int kGridColumns = 12;
inline constexpr int kGridRows = 25;
inline constexpr int kFirstWellColumn = 1;
inline constexpr int kLastWellColumn = 10;
inline constexpr int kWellColumns = 10;
inline constexpr int kWellRows = 24;
inline constexpr int kFloorRow = 24;
inline constexpr int kMaxClear = 4;  // rows one brick can complete

// Where a brick stands: rotation index and the board cell of its box's top-left
// corner, so cell (dx, dy) covers (column + dx, row + dy).
struct BrickPos {
    int32_t rotation, column, row;
};

// Where a new brick of the player appears; a brick that comes to rest here is refused.
inline constexpr BrickPos SpawnPos{0, 4, 0};

enum GameMode : int32_t { kStandardGame = 0, kAutomaticGame = 1, kHintGame = 2, kVersusGame = 3 };

struct Board {
    uint32_t bricksDealt;                    // bricks dealt this game (raised by the chooser)
    int32_t brickTypeCount[kBrickTypes];     // entry t: bricks of type t dealt this game
    int32_t rowsTotal;                       // rows removed this game
    int32_t clearsBySize[kMaxClear + 1];     // entry n: landings that removed exactly n rows
    uint8_t grid[kGridColumns][kGridRows];   // grid[column][row]: 0 empty, 1 filled
    int32_t rowFill[kGridRows];              // filled cells of row r in columns 1..10; floor's stays 0
    int32_t colHeight[kLastWellColumn + 1];  // 24 - topmost filled row of column c; entry 0 stays 0
    int32_t dirtyTop, dirtyBottom;           // band of rows the last clearing changed; bottom -1: none
    int32_t mode, isComputer;                // GameMode; 1 on the computer's board in a versus game
    const BrickType* curBrick;               // falling brick, or nullptr; not owned
    BrickPos curPos, hintPos;                // falling brick's place; the hint's place
};

// Empties the well, builds walls and floor, zeroes counters, mode and isComputer and
// sets dirtyTop and dirtyBottom to -1. curBrick, curPos and hintPos are left alone.
void ResetBoard(Board& board);

// Writes a landed brick (the rotation that pos names) into the grid, removes the
// rows it completed, keeps rowFill and colHeight right and counts the clear.
// Returns 1 when fixed, 0 when refused; a refused brick changes nothing at all.
// Refused: any brick at column 4, row 0 (the end of a game), and any position whose
// four cells are not four distinct empty cells of the well.
int FixBrick(const BrickRotation& rotation, const BrickPos& pos, Board& board);

// Removes the full rows among rows top..bottom, lets the rows above drop and
// corrects colHeight. Sets dirtyBottom to the lowest full row (-1 if none) and
// dirtyTop to the topmost row it examined. Returns the number of rows removed.
// Rows outside the well are never examined, whatever the arguments.
int ClearFullRows(int32_t bottom, int32_t top, Board& board);
