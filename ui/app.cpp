#include "ui/app.h"

#include <objbase.h>

#include <cstdlib>
#include <ctime>

#include "ai/chooser.h"
#include "res/resource.h"
#include "ui/game_files.h"
#include "ui/main_window.h"
#include "ui/run_state.h"

void DispatchLoopMessage(HWND mainWindow, HACCEL table, MSG& msg) {
    const bool isKey = msg.message == WM_KEYDOWN || msg.message == WM_CHAR;
    translatingHeldKey = isKey && (msg.lParam & kHeldKeyBit);
    const int translated = TranslateAcceleratorW(mainWindow, table, &msg);
    translatingHeldKey = false;
    if (translated) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

int RunKvader(HINSTANCE instance, int show) {
    LoadTexts(instance);
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    srand(LaunchSeed(static_cast<uint32_t>(time(nullptr)), counter.LowPart ^ static_cast<uint32_t>(counter.HighPart)));
    if (!LoadGameBricks(brickTable)) {
        MessageBoxW(nullptr, texts[kTextNoBrickFile], texts[kTextAppName], MB_ICONERROR);
        return 1;  // also when the box could not be shown
    }
    // The manual is opened through the shell, which may load its extensions through
    // COM: the thread joins a single-threaded apartment first, as the shell asks.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    HWND mainWindow = CreateMainWindow(instance);
    ShowWindow(mainWindow, show);
    UpdateWindow(mainWindow);
    HACCEL table = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDA_MAIN));
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchLoopMessage(mainWindow, table, msg);
    if (SUCCEEDED(com)) CoUninitialize();
    return static_cast<int>(msg.wParam);
}
