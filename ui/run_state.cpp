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

void RestartFallTimer(HWND mainWindow) {
    if (settings.gameOver || settings.paused)
        KillTimer(mainWindow, FALL_TIMER);
    else
        SetTimer(mainWindow, FALL_TIMER, settings.curInterval, nullptr);
}

void LoadTexts(HINSTANCE instance) {
    for (int i = 0; i < kTextCount; ++i) LoadStringW(instance, IDS_APP_NAME + i, texts[i], kTextLength);
}
