#include "ui_harness.h"

#include <deque>

#include "ai/chooser.h"
#include "ui/board_window.h"
#include "ui/main_window.h"
#include "ui/paint.h"
#include "ui/run_state.h"
#include "ui_modal.h"

HWND UiHarness::parent;
int UiHarness::gameOvers;
int UiHarness::erases;

namespace {

std::deque<int> scripted;
WNDPROC boardProcs[2];

int ScriptedDraw() {
    int type = 0;
    if (!scripted.empty()) {
        type = scripted.front();
        scripted.pop_front();
    }
    return type * 4682;  // 7 * r / 32768 == type
}

LRESULT CALLBACK TestParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == UM_GAMEOVER) {
        ++UiHarness::gameOvers;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

template <int Which>
LRESULT CALLBACK CountErases(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) ++UiHarness::erases;
    return CallWindowProcW(boardProcs[Which], window, message, wParam, lParam);
}

class WindowsEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        HINSTANCE instance = GetModuleHandleW(nullptr);
        LoadTexts(instance);
        ASSERT_EQ(LoadBrickTable(brickTable), 1) << "kvader.dat must be in the working directory";
        WNDCLASSW wc = {};
        wc.lpfnWndProc = TestParentProc;
        wc.hInstance = instance;
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = L"KvaderTestParent";
        RegisterClassW(&wc);
        UiHarness::parent = CreateWindowW(L"KvaderTestParent", L"Kvader tests", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                          700, 480, nullptr, nullptr, instance, nullptr);
        ASSERT_NE(UiHarness::parent, nullptr);
        CreateChildWindows(UiHarness::parent);  // the wells and the panel, as the main window makes them
        ASSERT_NE(playerBoardWnd, nullptr);
        ASSERT_NE(computerBoardWnd, nullptr);
        boardProcs[0] = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(playerBoardWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountErases<0>)));
        boardProcs[1] = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(computerBoardWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountErases<1>)));
        UpdateWindow(UiHarness::parent);
        SetRandomDraw(ScriptedDraw);
    }
    void TearDown() override {
        SetRandomDraw(nullptr);
        DestroyWindow(UiHarness::parent);
    }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new WindowsEnvironment);

}  // namespace

void ScriptBricks(std::initializer_list<int> types) { scripted.assign(types.begin(), types.end()); }

void StartTestGame(int mode) {
    // The width comes first, so that what the resize exposes (erased by the system,
    // not by the game) is painted before the game starts.
    const SIZE size = MainClientSize(mode);
    SetClientSize(UiHarness::parent, size.cx, size.cy);
    UpdateWindow(playerBoardWnd);
    UpdateWindow(computerBoardWnd);
    UiHarness::erases = 0;
    StartGame(UiHarness::parent, mode);
}

::testing::AssertionResult UpdateRegionIs(HWND window, std::initializer_list<RECT> rects) {
    HRGN got = CreateRectRgn(0, 0, 0, 0), want = CreateRectRgn(0, 0, 0, 0);
    GetUpdateRgn(window, got, FALSE);
    for (const RECT& r : rects) {
        HRGN part = CreateRectRgnIndirect(&r);
        CombineRgn(want, want, part, RGN_OR);
        DeleteObject(part);
    }
    const bool same = EqualRgn(got, want);
    RECT box;
    GetRgnBox(got, &box);
    DeleteObject(got);
    DeleteObject(want);
    if (same) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "update region differs; its box is (" << box.left << "," << box.top << ")-("
                                         << box.right << "," << box.bottom << ")";
}

std::wstring PanelText(int id) { return ItemText(statsPanelWnd, id); }
