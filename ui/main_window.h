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

// WM_CREATE: the player's well, the statistics panel and the computer's well, their
// cells as large as the screen's DPI asks, and a client area that shows the first two
// and is as high as the taller of a well and the panel's template.
void CreateChildWindows(HWND window);

// Starts a game in GameMode mode (0..3) at baseInterval and runs the fall timer; the
// client area shows the computer's well in a versus game only. It is laid out again
// when the system's text size or menu font changes, or on the window's restore when
// that happened while it was minimized, or the game started while it was maximized.
// Each time it is sized, the window is moved (not shrunk) to lie inside its monitor's
// work area.
void StartGame(HWND window, int mode);

// How the manual is opened: the shell's "open" verb. It exists so that tests can
// replace it and record the request instead.
extern void (*openManual)(HWND owner, const wchar_t* file);

// How the taskbar button asks for attention when a game ends while the window is
// minimized (FlashWindowEx, until the window comes to the foreground); replaceable
// by tests, as openManual is. The box opens when the window has been restored.
extern void (*flashTaskbar)(HWND window);

// Set by the message loop while it translates a key-down or character of a held key
// (bit 30 of its lParam, the repeat bit): the commands that must act once a press,
// a new game, the pause and the quit, ignore what an accelerator makes of it.
extern bool translatingHeldKey;
inline constexpr LPARAM kHeldKeyBit = LPARAM{1} << 30;  // of a key-down's or character's lParam

// Whether a key whose MapVirtualKeyW(MAPVK_VK_TO_CHAR) value is mapped types a
// character the game takes: a printable one. 0 (no character), a control character
// (Tab, Backspace, Escape) and a dead key (the top bit set, as Windows gives it; Wine
// gives 0) are the system's: they neither resume a pause nor reach a well.
bool TypesGameCharacter(UINT mapped);
inline constexpr UINT kDeadKeyBit = 0x80000000u;  // of MapVirtualKeyW's value
