// The two board windows, where the game is played: starting a game on a board,
// turning keys into brick moves, landing bricks, dealing the next brick as the mode
// demands, handing each landed brick to the computer's board in a versus game,
// speeding up and reporting game over to the parent (the main window).
#pragma once

#include <windows.h>

#include "model/board.h"

extern Board playerBoard;    // bound to class LeftWin
extern Board computerBoard;  // bound to class RightWin

inline constexpr wchar_t kLeftWinClass[] = L"LeftWin";
inline constexpr wchar_t kRightWinClass[] = L"RightWin";

// Registers LeftWin and RightWin: white background, no icon, cursor or menu.
void RegisterBoardClasses(HINSTANCE instance);

// What HandleBrickKey, LandBrick and UM_PUTBRICK leave their caller to do.
inline constexpr int kDealNext = 0;  // a brick landed and was fixed: deal on
inline constexpr int kStop = 1;      // nothing more: the key meant nothing, the brick
                                     // still falls, or game over was reported

// The window procedure both classes share; board is the one bound to the class.
// WM_KEYDOWN, UM_NEWGAME and UM_PUTBRICK play the game (all return 0, except that
// UM_PUTBRICK returns kStop when this board has just reported game over); WM_PAINT paints.
LRESULT BoardWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, Board& board);

// Moves the brick by the command that key stands for (arrows, Z, X, Enter); when it
// lands, fixes it with LandBrick. Returns kDealNext when the brick has landed and been
// fixed; kStop when the key means nothing, the brick is still falling, or game over
// has been reported.
int HandleBrickKey(HWND window, WPARAM key, Board& board, const BrickType& brick, BrickPos& pos);

// Fixes brick where it stands and marks what changed for repaint. Returns kDealNext
// when fixed, kStop when it was refused and game over was reported (UM_GAMEOVER,
// sent to the parent, which shows its box before this returns).
int LandBrick(HWND window, Board& board, const BrickType& brick, const BrickPos& pos);

// Gives board its next brick: chosen (the player's board) or handed over (the
// computer's), put at the spawn place or where the computer would put it, with the
// hint in hint mode; updates the panel. When the board's bricksDealt is a multiple
// of accelEvery it speeds the game up: curInterval drops to nine tenths, the speed
// label is rewritten and the parent's fall timer restarted. The computer's board
// deals no bricks of its own (its bricksDealt stays 0), so in a versus game every
// landing speeds the game up.
void DealBrick(HWND window, const BrickTable& table, Board& board);
