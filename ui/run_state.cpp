#include "ui/run_state.h"

#include "res/resource.h"

GameSettings settings = kStartSettings;
BrickTable brickTable;

HWND playerBoardWnd;
HWND statsPanelWnd;
HWND computerBoardWnd;
int32_t panelWidth;
int32_t cellPixels = 16;

wchar_t texts[kTextCount][kTextLength];

namespace {
void SetTimerOf(HWND mainWindow, uint32_t interval) {
    if (interval)
        SetTimer(mainWindow, FALL_TIMER, interval, nullptr);
    else
        KillTimer(mainWindow, FALL_TIMER);
}
}  // namespace

void (*setFallTimer)(HWND mainWindow, uint32_t interval) = SetTimerOf;

void RestartFallTimer(HWND mainWindow) {
    setFallTimer(mainWindow, settings.gameOver || settings.paused ? 0 : settings.curInterval);
}

void LoadTexts(HINSTANCE instance) {
    for (int i = 0; i < kTextCount; ++i) LoadStringW(instance, IDS_APP_NAME + i, texts[i], kTextLength);
}
