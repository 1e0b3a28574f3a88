// Process-wide state of the front end: the settings and run state of the game, the
// brick table, the handles of the main window's three children, the fall timer's id
// and the texts of the string table. All of it lives for the whole run, and more than
// one window writes it: the main window keeps the run state and starts and stops the
// fall timer, the board windows speed the game up (curInterval and the timer), and
// the settings dialog rescales curInterval.
#pragma once

#include <windows.h>

#include <cstdint>

#include "model/brick.h"

struct GameSettings {
    uint32_t curInterval;   // ms between two falls; the period of FALL_TIMER
    uint32_t baseInterval;  // ms every game starts with; a multiple of 10, 10..60000
    uint32_t accelEvery;    // a board speeds up when its bricksDealt is a multiple of this; never 0
    int32_t selectionMode;  // SelectionMode chosen in the settings
    uint32_t intensity;     // intensity of the brick selection; never 0
    int32_t paused;         // 1 while the game is paused
    int32_t gameOver;       // 1 while no game runs (from start-up until the first game)
    int32_t boxPending;     // 1 while a game that ended minimized waits for the restore to show its box
};
// The settings at start-up: 1 s a fall, a speed-up every 10 bricks, random bricks at
// intensity 5, no game.
inline constexpr GameSettings kStartSettings{1000, 1000, 10, 0, 5, 0, 1, 0};
extern GameSettings settings;

extern BrickTable brickTable;  // filled once at start-up, read-only afterwards

extern HWND playerBoardWnd;    // class LeftWin: the player's well
extern HWND statsPanelWnd;     // dialog 300 between the wells
extern HWND computerBoardWnd;  // class RightWin: the computer's well in a versus game
extern int32_t panelWidth;     // the panel's width in pixels, as created from its template
extern int32_t cellPixels;     // a well's cell in pixels at the screen's DPI, set with the main window

inline constexpr UINT_PTR FALL_TIMER = 1;  // timer of the main window; ticks arrive as WM_TIMER

// Intervals are kept in milliseconds and shown in hundredths of a second.
inline constexpr uint32_t kMsPerHundredth = 10;

// The shortest fall interval: Windows runs no window timer faster (USER_TIMER_MINIMUM),
// so a shorter one would only show a speed on the label that no Windows gives. Windows
// serves timers on its clock tick (15.625 ms by default), later than the fastest
// intervals come due; FallTimerTick makes the falls that came due meanwhile, so the
// bricks fall as often as the label says whatever the tick.
inline constexpr uint32_t kShortestInterval = 10;

// interval, or kShortestInterval where interval is shorter.
inline constexpr uint32_t NotBelowShortest(uint32_t interval) {
    return interval > kShortestInterval ? interval : kShortestInterval;
}

// The interval after a speed-up: nine tenths of interval, truncated, never below
// kShortestInterval.
inline constexpr uint32_t SpedUp(uint32_t interval) { return NotBelowShortest(interval * 9 / 10); }

// Starts FALL_TIMER of mainWindow at interval ms, from a full period, or stops it
// (interval 0). Every start and stop of the fall timer goes through it, so that the
// tests can watch the timer, which no Win32 call reports, and play Windows' own.
extern void (*setFallTimer)(HWND mainWindow, uint32_t interval);

// The monotonic clock the falls are counted on, in microseconds
// (QueryPerformanceCounter). Replaceable by tests, as setFallTimer is, so that they can
// play Windows' clock.
extern int64_t (*fallClock)();

// The fall timer as the main window and the boards left it.
struct FallTimer {
    bool running;   // started by RestartFallTimer and not stopped since
    bool menuOpen;  // from WM_ENTERMENULOOP to WM_EXITMENULOOP: it stays stopped
    int64_t due;    // on fallClock: when the last fall was due; at most the clock after a tick
};
extern FallTimer fallTimer;

// Puts FALL_TIMER of mainWindow in step with the run state: while a game runs, is not
// paused and no menu is open it (re)starts it at curInterval, from a full period;
// otherwise it stops it. A timer that was stopped counts its falls from now; one that
// runs keeps the due time of its last fall, so that a speed-up (at every deal with a
// speed-up period of 1, at every landing in a versus game) does not cost a fall. The
// main window calls it on every change of the run state and after its dialogs and
// menus; the board windows when they speed up, which may happen while paused (in the
// automatic game the space bar lands a brick).
void RestartFallTimer(HWND mainWindow);

// Stops FALL_TIMER of mainWindow, whatever the run state: while a dialog is open, at
// the end of a game, and before a new game counts its falls from now.
void StopFallTimer(HWND mainWindow);

// A tick of FALL_TIMER, however late Windows served it: the falls that came due since
// the last one, each a VK_DOWN to the player's well. At least one, the first at once,
// so ticks that come back to back still make one fall each; each fall moves the due
// time on by the interval then in force, so a speed-up in the tick shortens what is
// still owed; at most max(2, 50 ms / curInterval), the rest dropped, so a machine that
// stalled does not drop a brick the player had no time to see. The falls end as soon
// as the timer stops (game over); a tick of a stopped timer, left in the queue by the
// stop, makes none.
void FallTimerTick();

// Private messages, always sent, never posted (UM_SHOWGAMEOVER aside).
inline constexpr UINT UM_NEWGAME = WM_USER + 1;   // wParam GameMode, lParam 1 on the computer's board
inline constexpr UINT UM_GAMEOVER = WM_USER + 2;  // board window -> its parent
inline constexpr UINT UM_PUTBRICK = WM_USER + 3;  // wParam: the BrickType the player has landed
// Posted by the main window to itself as it is restored with a game-over box pending.
inline constexpr UINT UM_SHOWGAMEOVER = WM_USER + 4;

// The seven texts of the string table, ids 401 to 407.
inline constexpr int kTextCount = 7;
inline constexpr int kTextLength = 100;
enum TextId {
    kTextAppName,
    kTextNoBrickFile,
    kTextGameOver,
    kTextSpeedPrefix,
    kTextBadSettings,
    kTextManualFile,
    kTextMillions,  // the unit after a count shown in whole millions
};
extern wchar_t texts[kTextCount][kTextLength];

// Loads strings 401 to 407 into texts, each cut to 99 characters.
void LoadTexts(HINSTANCE instance);
