// A fresh main window per test, created as the program creates it, with the settings
// back at their start-up values and the manual command recorded instead of run.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "ui_modal.h"

class Shell : public ::testing::Test {
  protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    void Command(int id) { SendMessageW(main_, WM_COMMAND, id, 0); }
    void KeyDown(WPARAM key) { SendMessageW(main_, WM_KEYDOWN, key, 0); }
    void Tick() { SendMessageW(main_, WM_TIMER, 1, 0); }
    // A character as the message loop would meet it, accelerators first.
    void Char(wchar_t ch);
    SIZE ClientSize() const;
    std::wstring SpeedLabel() const;

    static HACCEL accelerators_;
    static std::wstring manualOpened_;
    static int manualRequests_;
    HWND main_ = nullptr;
};
