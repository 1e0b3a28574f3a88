// Start-up without the brick file: the user is told, no window opens, exit code 1.
#include <string>

#include "ui/app.h"
#include "ui/run_state.h"
#include "ui_modal.h"
#include "ui_shell_fixture.h"

namespace {

TEST(StartUp, WithoutTheBrickFileTellsTheUserAndEnds) {
    wchar_t here[MAX_PATH], temp[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, here);
    GetTempPathW(MAX_PATH, temp);
    const std::wstring empty = std::wstring(temp) + L"kvader-no-bricks";
    CreateDirectoryW(empty.c_str(), nullptr);
    ASSERT_TRUE(SetCurrentDirectoryW(empty.c_str()));
    DeleteFileW(L"kvader.dat");

    std::wstring text;
    bool mainWindowExists = true;
    int exitCode = -1;
    EXPECT_TRUE(RunModal([&] { exitCode = RunKvader(GetModuleHandleW(nullptr), SW_SHOW); },
                         {[&] {
                             HWND box = FindBox(kBoxCaption);
                             if (!box) return false;
                             text = MessageBoxText(box);
                             mainWindowExists = FindWindowW(L"Kvader", nullptr) != nullptr;
                             PostMessageW(box, WM_COMMAND, IDOK, 0);
                             return true;
                         }}));
    SetCurrentDirectoryW(here);
    EXPECT_EQ(text, L"Nelze načíst údaje o kostkách (kvader.dat)!");
    EXPECT_FALSE(mainWindowExists);
    EXPECT_EQ(exitCode, 1);
}

}  // namespace
