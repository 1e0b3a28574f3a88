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

// The window procedure both classes share; board is the one bound to the class.
// WM_KEYDOWN, UM_NEWGAME and UM_PUTBRICK play the game (all return 0, except that
// UM_PUTBRICK returns 1 when this board has just reported game over); WM_PAINT paints.
LRESULT BoardWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, Board& board);

// Moves the brick by the command that key stands for (arrows, Z, X, Enter); when it
// lands, fixes it. Returns 0 when the brick has landed and been fixed; 1 when the
// key means nothing, the brick is still falling, or game over has been reported.
int HandleBrickKey(HWND window, WPARAM key, Board& board, const BrickType& brick, BrickPos& pos);

// Fixes brick where it stands. Returns 0 when fixed, 1 when game over was reported.
int LandBrick(HWND window, Board& board, const BrickType& brick, const BrickPos& pos);

// Gives board its next brick: chosen (the player's board) or handed over (the
// computer's), put at the spawn place or where the computer would put it, with the
// hint in hint mode; speeds the game up every accelEvery deals; updates the panel.
void DealBrick(HWND window, const BrickTable& table, Board& board);
