#include "ui_shell_fixture.h"

#include "ai/chooser.h"
#include "res/resource.h"
#include "ui/app.h"
#include "ui/main_window.h"
#include "ui/run_state.h"

HACCEL Shell::accelerators_;
std::wstring Shell::manualOpened_;
int Shell::manualRequests_;

void Shell::SetUpTestSuite() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    LoadTexts(instance);
    ASSERT_EQ(LoadBrickTable(brickTable), 1) << "kvader.dat must be in the working directory";
    accelerators_ = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDA_MAIN));
    openManual = [](HWND, const wchar_t* file) {
        manualOpened_ = file;
        ++manualRequests_;
    };
}

void Shell::SetUp() {
    settings = kStartSettings;
    SetBrickSelection(0, 5);
    manualOpened_.clear();
    manualRequests_ = 0;
    main_ = CreateMainWindow(GetModuleHandleW(nullptr));
    ASSERT_NE(main_, nullptr);
    ShowWindow(main_, SW_SHOW);
    UpdateWindow(main_);
}

void Shell::TearDown() {
    if (IsWindow(main_)) DestroyWindow(main_);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

SIZE Shell::ClientSize() const {
    RECT client;
    GetClientRect(main_, &client);
    return SIZE{client.right, client.bottom};
}
