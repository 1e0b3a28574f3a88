// Reading what dialogs, boxes and the main window show: control texts, the text of a
// message box, the dialogs' captions, and whether the fall timer runs.
#pragma once

#include <windows.h>

#include <string>

// Captions of the settings dialog, the about box and the game's message boxes.
inline constexpr const wchar_t* kSettingsCaption = L"Kvader - nastavení";
inline constexpr const wchar_t* kAboutCaption = L"O programu Kvader";
inline constexpr const wchar_t* kBoxCaption = L"Kvader";

// The text of a message box.
std::wstring MessageBoxText(HWND box);

// Text of a control of a dialog.
std::wstring ItemText(HWND dialog, int id);

// Whether the main window's fall timer is running (it keeps running).
bool FallTimerRunning(HWND mainWindow);
