// The program from start to end: texts, seeding, the brick file, COM for the shell,
// the main window and the message loop with the accelerators.
#pragma once

#include <windows.h>

// Runs Kvader. Returns the process exit code: 0 after the main window has closed,
// 1 when the brick file cannot be loaded (after telling the user; no window opens).
int RunKvader(HINSTANCE instance, int show);

// One step of the message loop: the accelerators of table first, for mainWindow;
// every other message is translated (which makes the characters the accelerators
// match) and dispatched; while a key-down or character of a held key is translated,
// translatingHeldKey is set. No dialog keyboard handling. RunKvader's loop runs it, and
// the tests feed their keys and characters through it.
void DispatchLoopMessage(HWND mainWindow, HACCEL table, MSG& msg);
