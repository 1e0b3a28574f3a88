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

    SIZE ClientSize() const;

    static HACCEL accelerators_;
    static std::wstring manualOpened_;
    static int manualRequests_;
    HWND main_ = nullptr;
};
