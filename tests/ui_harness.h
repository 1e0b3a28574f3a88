// A test parent standing in for the main window, with the statistics panel and both
// board windows as its children, plus helpers to read update regions and panel texts
// and to script which bricks the chooser deals.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <initializer_list>
#include <string>

#include "model/board.h"

struct UiHarness {
    static HWND parent;
    static int gameOvers;  // UM_GAMEOVER messages the parent received
    static int erases;     // WM_ERASEBKGND messages the board windows received
};

// Makes the chooser deal these types, in order (then type 0).
void ScriptBricks(std::initializer_list<int> types);

// Starts a game on the test parent as the main window does: UM_NEWGAME to the
// player's board (and the computer's in a versus game), the width, the timer.
void StartTestGame(int mode);

// True when window's update region is exactly the union of rects (none: empty).
::testing::AssertionResult UpdateRegionIs(HWND window, std::initializer_list<RECT> rects);

// Text of a panel control.
std::wstring PanelText(int id);
