// Automatic games without windows: the computer places every brick exactly as the
// game's automatic mode does, with the draws of a fixed generator, so that a game is
// the same on every platform and build, whichever thread plays it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <vector>

#include "model/brick.h"

// The draws: the classic 15-bit linear congruential generator,
// state = state * 214013 + 2531011 (unsigned 32-bit), draw = (state >> 16) & 32767.
// Game i of a run starts the generator at firstSeed + i.
inline constexpr uint32_t kDrawMultiplier = 214013;
inline constexpr uint32_t kDrawIncrement = 2531011;

// One game: bricks that landed (the refused brick that ends a game is not counted),
// rows removed, landings that removed 1, 2, 3 and 4 rows, and whether the game
// was stopped by the brick limit instead of ending.
struct GameResult {
    uint32_t seed;
    uint32_t bricks;
    uint32_t rows;
    uint32_t clears[5];  // entry n: landings that removed exactly n rows; entry 0 unused
    bool capped;
};

// The header of the game log; then one line per brick in game order, bricks in the
// order they were dealt: game (from 0), brick (from 1), its type (its place in the
// brick table), the rotation, column and row of the place the computer chose, that
// place's score, and the rows the landing removed, or -1 when the landing was refused
// and ended the game (a landing at the spawn place: the place the computer chose,
// or where the brick stayed when it fitted nowhere).
inline constexpr const char* kLogHeader = "game,brick,type,rotation,column,row,score,rows\n";

// Plays games firstSeed .. firstSeed + games - 1 on `jobs` threads (at least one) with
// the chooser's present selection and returns their results in game order; entry i
// does not depend on jobs. Each game starts from a new board and repeats: the next
// brick from ChooseBrick, the computer's place for it (the spawn place when it fits
// nowhere), the landing; until a landing is refused or maxBricks bricks have landed.
// Hands the generator to the chooser with SetRandomDraw and leaves it there.
// log, when given, receives every game's lines (without the header), in game order
// whatever jobs is; a write error shows in ferror(log). progress, when given, is
// called on the calling thread now and then with the number of games finished.
std::vector<GameResult> PlayGames(const BrickTable& table, uint32_t firstSeed, uint32_t games, uint32_t maxBricks,
                                  unsigned jobs, const std::function<void(uint32_t)>& progress = {},
                                  FILE* log = nullptr);
