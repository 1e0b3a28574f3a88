// Driving modal loops from a test: steps run one at a time from a thread timer while
// a dialog or message box runs its own loop, the way a user would act on it.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>

// A step acts on whatever is on screen and returns true when it is done; until then
// it is tried again at the next tick.
using ModalStep = std::function<bool()>;

// Runs action (which opens a modal loop) while the steps run in order. Returns false
// when the action returned before every step was done.
bool RunModal(const std::function<void()>& action, std::initializer_list<ModalStep> steps);

// Waits for the dialog or box with this caption, then acts on it.
ModalStep On(const wchar_t* caption, std::function<void(HWND)> act);

// Sends command id (IDOK, IDCANCEL) to the dialog or box with this caption.
ModalStep Press(const wchar_t* caption, int id);

// Captions of the settings dialog, the about box and the game's message boxes.
inline constexpr const wchar_t* kSettingsCaption = L"Kvader - nastavení";
inline constexpr const wchar_t* kAboutCaption = L"O programu Kvader";
inline constexpr const wchar_t* kBoxCaption = L"Kvader";

// The dialog or message box with this caption, or nullptr.
HWND FindBox(const wchar_t* caption);

// The text of a message box.
std::wstring MessageBoxText(HWND box);

// Text of a control of a dialog.
std::wstring ItemText(HWND dialog, int id);

// Whether the main window's fall timer is running (it keeps running).
bool FallTimerRunning(HWND mainWindow);
