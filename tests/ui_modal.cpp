#include "ui_modal.h"

#include "ui/run_state.h"

std::wstring MessageBoxText(HWND box) { return ItemText(box, 0xFFFF); }

std::wstring ItemText(HWND dialog, int id) {
    wchar_t text[512] = {};
    GetDlgItemTextW(dialog, id, text, 512);
    return text;
}

bool FallTimerRunning(HWND mainWindow) {
    if (!KillTimer(mainWindow, FALL_TIMER)) return false;
    RestartFallTimer(mainWindow);
    return true;
}
