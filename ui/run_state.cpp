#include "ui/run_state.h"

#include <algorithm>

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

constexpr int64_t kMicrosecondsPerMs = 1000;
// Falls owed beyond this much time are dropped, though never the second.
constexpr uint32_t kCatchUpMs = 50;

void SetTimerOf(HWND mainWindow, uint32_t interval) {
    if (interval)
        SetTimer(mainWindow, FALL_TIMER, interval, nullptr);
    else
        KillTimer(mainWindow, FALL_TIMER);
}

int64_t PerformanceMicroseconds() {
    static LARGE_INTEGER frequency{};  // fixed at boot: asked once, not at every tick
    if (frequency.QuadPart <= 0) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER count{};
    QueryPerformanceCounter(&count);
    // In two parts: the count of a machine up for weeks times a million overflows.
    const int64_t perSecond = frequency.QuadPart > 0 ? frequency.QuadPart : 1;
    return count.QuadPart / perSecond * 1000000 + count.QuadPart % perSecond * 1000000 / perSecond;
}

}  // namespace

void (*setFallTimer)(HWND mainWindow, uint32_t interval) = SetTimerOf;
int64_t (*fallClock)() = PerformanceMicroseconds;
FallTimer fallTimer;

void RestartFallTimer(HWND mainWindow) {
    const bool runs = !settings.gameOver && !settings.paused && !fallTimer.menuOpen;
    if (runs && !fallTimer.running) fallTimer.due = fallClock();
    fallTimer.running = runs;
    setFallTimer(mainWindow, runs ? settings.curInterval : 0);
}

void StopFallTimer(HWND mainWindow) {
    fallTimer.running = false;
    setFallTimer(mainWindow, 0);
}

void FallTimerTick() {
    if (!fallTimer.running) return;
    const int64_t now = fallClock();
    const uint32_t most = std::max<uint32_t>(2, kCatchUpMs / NotBelowShortest(settings.curInterval));
    for (uint32_t falls = 0; fallTimer.running; ++falls) {
        const int64_t interval = int64_t{settings.curInterval} * kMicrosecondsPerMs;
        if (falls > 0 && now - fallTimer.due < interval) break;
        if (falls == most) {
            fallTimer.due = now;
            break;
        }
        fallTimer.due += interval;
        SendMessageW(playerBoardWnd, WM_KEYDOWN, VK_DOWN, 0);
    }
    fallTimer.due = std::min(fallTimer.due, now);
}

void LoadTexts(HINSTANCE instance) {
    for (int i = 0; i < kTextCount; ++i) LoadStringW(instance, IDS_APP_NAME + i, texts[i], kTextLength);
}
