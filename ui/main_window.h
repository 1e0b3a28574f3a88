// The program's one top-level window: it lays out the two wells and the panel, keeps
// the run state (no game, running, paused), starts and stops the fall timer (which
// the board windows also restart when they speed up), routes keys to the player's
// well and carries out the menu commands.
#pragma once

#include <windows.h>

// Registers the main window class and creates the window (which creates its
// children and sizes itself). Returns the window.
HWND CreateMainWindow(HINSTANCE instance);

// The main class's window procedure.
LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// WM_CREATE: the player's well, the statistics panel and the computer's well, and
// a client area that shows the first two.
void CreateChildWindows(HWND window);

// Starts a game in GameMode mode (0..3) at baseInterval and runs the fall timer.
void StartGame(HWND window, int mode);

// The client area that shows the player's well and the panel, and in a versus game
// (mode 3) also the computer's well: as high as the panel, which is never lower than
// a well. The main window sizes itself by it in every mode, and again when the
// system's text size or menu font changes.
SIZE MainClientSize(int mode);

// Gives a top-level window a client area of width x height, keeping its top-left
// corner, however many lines its menu bar takes at that width.
void SetClientSize(HWND window, int width, int height);

// How the manual is opened: the shell's "open" verb. It exists so that tests can
// replace it and record the request instead.
extern void (*openManual)(HWND owner, const wchar_t* file);
