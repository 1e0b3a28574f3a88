#include "ui_modal.h"

#include <deque>

#include "ui/run_state.h"

namespace {

std::deque<ModalStep> pending;

void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) {
    if (!pending.empty() && pending.front()()) pending.pop_front();
}

}  // namespace

bool RunModal(const std::function<void()>& action, std::initializer_list<ModalStep> steps) {
    pending.assign(steps.begin(), steps.end());
    const UINT_PTR timer = SetTimer(nullptr, 0, 40, OnTick);
    action();
    KillTimer(nullptr, timer);
    const bool allDone = pending.empty();
    pending.clear();
    return allDone;
}

ModalStep On(const wchar_t* caption, std::function<void(HWND)> act) {
    return [caption, act] {
        HWND box = FindBox(caption);
        if (box) act(box);
        return box != nullptr;
    };
}

ModalStep Press(const wchar_t* caption, int id) {
    return On(caption, [id](HWND box) { PostMessageW(box, WM_COMMAND, id, 0); });
}

HWND FindBox(const wchar_t* caption) { return FindWindowW(L"#32770", caption); }

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
