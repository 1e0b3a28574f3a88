// Which brick comes next: uniformly at random, or steered by the placement
// evaluator towards the types that suit the board best (or worst), with a rank drawn
// from a geometric law whose steepness the intensity sets.
#pragma once

#include <cstdint>

#include "model/board.h"
#include "model/brick.h"

enum SelectionMode : int32_t { kRandomSelection = 0, kMoreSuitable = 1, kLessSuitable = 2 };

inline constexpr int32_t kDrawRange = 32768;  // draws are 0 .. 32767

// Sets the selection for every board from the next brick on. In a steered mode the
// rank law is recomputed from intensity (below 1 taken as 1); switching to the
// random mode keeps the last law untouched.
void SetBrickSelection(int32_t mode, int32_t intensity);

// Returns the next brick type from table for board, and counts it in the board's
// bricksDealt and brickTypeCount. Draws exactly one number per call. Changes nothing
// else in the board (the falling brick is the caller's business).
const BrickType* ChooseBrick(const BrickTable& table, Board& board);

// Takes the n largest of values[0..count-1] one by one, largest first and the lowest
// position first among equals, overwriting each taken entry with NoPlacement; returns
// the position of the last one taken (0 when nothing was taken). Entries equal to
// NoPlacement are never taken.
int PickNthLargest(int32_t* values, int count, int n);

// Where ChooseBrick takes its numbers 0..32767 (values outside are reduced to
// 15 bits); nullptr restores the default, the runtime's rand(). The game never
// calls it: it is there for the tests, which script the draws, and for kvader-sim,
// which draws from a generator of its own.
void SetRandomDraw(int (*draw)());

// The seed of the runtime's generator for one launch of the game, from the clock in
// seconds and a finer clock (milliseconds or finer, any origin), mixed through a hash
// so that launches a second or a millisecond apart get seeds spread over all 32 bits.
// The first draw of a generator like the Windows runtime's moves by about 3 in 32,768
// when its seed grows by one: seeded with the seconds alone, every launch for 24
// minutes would begin with the same brick.
uint32_t LaunchSeed(uint32_t seconds, uint32_t fineClock);
