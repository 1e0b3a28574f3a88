// The settings and about dialogs, filled in and answered as a user would while their
// modal loops run; message boxes are read and closed the same way.
#include <cwchar>
#include <string>
#include <vector>

#include "ai/chooser.h"
#include "ai/evaluator.h"
#include "model/board.h"
#include "res/resource.h"
#include "ui/dialogs.h"
#include "ui/run_state.h"
#include "ui_shell_fixture.h"

namespace {

struct Entry {
    const wchar_t* speed;
    const wchar_t* period;
    const wchar_t* intensity;
    int radio;  // 510..512
};

ModalStep Fill(const Entry& e) {
    return [e] {
        HWND dialog = FindBox(kSettingsCaption);
        if (!dialog) return false;
        SetDlgItemTextW(dialog, IDC_SPEED_EDIT, e.speed);
        SetDlgItemTextW(dialog, IDC_ACCEL_EDIT, e.period);
        SetDlgItemTextW(dialog, IDC_INTENSITY_EDIT, e.intensity);
        CheckRadioButton(dialog, IDC_RANDOM_RADIO, IDC_UNSUITABLE_RADIO, e.radio);
        return true;
    };
}

ModalStep Press(const wchar_t* caption, int id) {
    return [caption, id] {
        HWND box = FindBox(caption);
        if (!box) return false;
        PostMessageW(box, WM_COMMAND, id, 0);
        return true;
    };
}

// A key sent to the control that has the focus, as the keyboard would.
ModalStep Type(const wchar_t* caption, WPARAM key) {
    return [caption, key] {
        if (!FindBox(caption)) return false;
        PostMessageW(GetFocus(), WM_KEYDOWN, key, 0);
        return true;
    };
}

ModalStep Read(const wchar_t* caption, std::wstring& text) {
    return [caption, &text] {
        HWND box = FindBox(caption);
        if (!box || GetWindow(box, GW_OWNER) == nullptr) return false;
        text = MessageBoxText(box);
        return true;
    };
}

TEST_F(Shell, SettingsOpenWithTheStartUpValues) {
    std::wstring speed, period, intensity;
    bool random = false;
    EXPECT_TRUE(RunModal([&] { Command(IDM_SETTINGS); }, {[&] {
                                                              HWND dialog = FindBox(kSettingsCaption);
                                                              if (!dialog) return false;
                                                              speed = ItemText(dialog, IDC_SPEED_EDIT);
                                                              period = ItemText(dialog, IDC_ACCEL_EDIT);
                                                              intensity = ItemText(dialog, IDC_INTENSITY_EDIT);
                                                              random = IsDlgButtonChecked(dialog, IDC_RANDOM_RADIO) ==
                                                                       BST_CHECKED;
                                                              return true;
                                                          },
                                                          Press(kSettingsCaption, IDCANCEL)}));
    EXPECT_EQ(speed, L"100");
    EXPECT_EQ(period, L"10");
    EXPECT_EQ(intensity, L"5");
    EXPECT_TRUE(random);
}

struct BoundCase {
    Entry entry;
    bool accepted;
    uint32_t baseInterval;
};

TEST_F(Shell, SettingsAcceptOrRefuseAtTheBounds) {
    const BoundCase cases[] = {
        {{L"6000", L"10", L"5", IDC_RANDOM_RADIO}, true, 60000},
        {{L"6001", L"10", L"5", IDC_RANDOM_RADIO}, false, 0},
        {{L"1", L"1", L"1", IDC_RANDOM_RADIO}, true, 10},
        {{L"0", L"10", L"5", IDC_RANDOM_RADIO}, false, 0},
        {{L"", L"10", L"5", IDC_RANDOM_RADIO}, false, 0},
        {{L"100", L"0", L"5", IDC_RANDOM_RADIO}, false, 0},
        {{L"100", L"10", L"", IDC_RANDOM_RADIO}, false, 0},
        {{L"100", L"", L"0", IDC_RANDOM_RADIO}, false, 0},
        {{L"4294967296", L"10", L"5", IDC_RANDOM_RADIO}, false, 0},
    };
    for (const BoundCase& c : cases) {
        settings = GameSettings{1000, 1000, 10, 0, 5, 0, 1};
        const GameSettings before = settings;
        std::wstring message, speedAfter;
        bool stillOpen = false;
        if (c.accepted) {
            EXPECT_TRUE(RunModal([&] { Command(IDM_SETTINGS); }, {Fill(c.entry), Press(kSettingsCaption, IDOK)}));
            EXPECT_EQ(settings.baseInterval, c.baseInterval) << c.entry.speed;
            continue;
        }
        EXPECT_TRUE(RunModal([&] { Command(IDM_SETTINGS); }, {Fill(c.entry), Press(kSettingsCaption, IDOK),
                                                              Read(kBoxCaption, message), Press(kBoxCaption, IDOK),
                                                              [&] {
                                                                  HWND dialog = FindBox(kSettingsCaption);
                                                                  if (!dialog || FindBox(kBoxCaption)) return false;
                                                                  stillOpen = true;
                                                                  speedAfter = ItemText(dialog, IDC_SPEED_EDIT);
                                                                  return true;
                                                              },
                                                              Press(kSettingsCaption, IDCANCEL)}))
            << c.entry.speed;
        EXPECT_EQ(message, L"Hodnoty nesmí být nula a rychlost může být nejvýše 6000 (1 minuta)!") << c.entry.speed;
        EXPECT_TRUE(stillOpen) << c.entry.speed;
        EXPECT_EQ(speedAfter, c.entry.speed) << "the user's values stay in place";
        EXPECT_EQ(0, memcmp(&settings, &before, sizeof settings)) << c.entry.speed << ": nothing stored";
    }
}

TEST_F(Shell, NewSpeedRescalesTheRunningGame) {
    Command(IDM_STANDARD_GAME);
    settings.curInterval = 729;
    EXPECT_TRUE(RunModal([&] { Command(IDM_SETTINGS); },
                         {Fill({L"50", L"10", L"5", IDC_RANDOM_RADIO}), Press(kSettingsCaption, IDOK)}));
    EXPECT_EQ(settings.baseInterval, 500u);
    EXPECT_EQ(settings.curInterval, 364u);
    EXPECT_EQ(SpeedLabel(), L"Rychlost: 36");
    EXPECT_TRUE(FallTimerRunning(main_));

    settings.gameOver = 1;  // with no game the label shows the new starting speed
    EXPECT_TRUE(RunModal([&] { Command(IDM_SETTINGS); },
                         {Fill({L"250", L"10", L"5", IDC_RANDOM_RADIO}), Press(kSettingsCaption, IDOK)}));
    EXPECT_EQ(SpeedLabel(), L"Rychlost: 250");
}

TEST_F(Shell, CancelEscapeAndCloseChangeNothing) {
    const ModalStep leave[] = {Press(kSettingsCaption, IDCANCEL), Type(kSettingsCaption, VK_ESCAPE), [] {
                                   HWND dialog = FindBox(kSettingsCaption);
                                   if (dialog) PostMessageW(dialog, WM_CLOSE, 0, 0);
                                   return dialog != nullptr;
                               }};
    for (const ModalStep& step : leave) {
        const GameSettings before = settings;
        EXPECT_TRUE(RunModal([&] { Command(IDM_SETTINGS); }, {Fill({L"30", L"3", L"9", IDC_UNSUITABLE_RADIO}), step}));
        EXPECT_EQ(0, memcmp(&settings, &before, sizeof settings));
    }
}

// Which brick the chooser deals on an empty board for the highest draw tells its mode.
int DealtWithTopDraw() {
    SetRandomDraw([] { return 32767; });
    Board board{};
    ResetBoard(board);
    const int type = static_cast<int>(ChooseBrick(brickTable, board) - brickTable.types);
    SetRandomDraw(nullptr);
    return type;
}

TEST_F(Shell, EveryConfirmationHandsTheSelectionToTheChooser) {
    int lowest = 0;  // the least suitable brick on an empty board
    Board empty{};
    ResetBoard(empty);
    for (int t = 1; t < kBrickTypes; ++t)
        if (FindBestPlacement(brickTable.types[t], nullptr, empty) <
            FindBestPlacement(brickTable.types[lowest], nullptr, empty))
            lowest = t;
    ASSERT_NE(lowest, 6);

    EXPECT_TRUE(RunModal([&] { Command(IDM_SETTINGS); },
                         {Fill({L"100", L"10", L"20", IDC_UNSUITABLE_RADIO}), Press(kSettingsCaption, IDOK)}));
    EXPECT_EQ(settings.selectionMode, 2);
    EXPECT_EQ(settings.intensity, 20u);
    EXPECT_EQ(DealtWithTopDraw(), lowest);

    SetBrickSelection(kLessSuitable, 20);
    settings.selectionMode = 0;
    EXPECT_TRUE(RunModal([&] { Command(IDM_SETTINGS); }, {Press(kSettingsCaption, IDOK)}));
    EXPECT_EQ(DealtWithTopDraw(), 6) << "confirming unchanged values still sets the random mode";
}

TEST_F(Shell, AboutClosesOnEnterButNotOnEscape) {
    bool openAfterEscape = false;
    EXPECT_TRUE(RunModal([&] { Command(IDM_ABOUT); }, {Type(kAboutCaption, VK_ESCAPE),
                                                       [&] {
                                                           openAfterEscape = FindBox(kAboutCaption) != nullptr;
                                                           return true;
                                                       },
                                                       Type(kAboutCaption, VK_RETURN)}));
    EXPECT_TRUE(openAfterEscape);
    EXPECT_EQ(FindBox(kAboutCaption), nullptr);
}

}  // namespace

namespace {

struct TextFit {
    HWND control;
    std::wstring text;
    SIZE needed, has;
};

std::string Utf8(const std::wstring& text) {
    std::string out(text.size() * 3, '\0');
    out.resize(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &out[0],
                                                       static_cast<int>(out.size()), nullptr, nullptr)));
    return out;
}

// The rectangle the text of control needs in the control's own font, wrapped at its
// width, against the control's client area (an edit's formatting rectangle).
TextFit Measure(HWND control) {
    TextFit fit{control, {}, {}, {}};
    wchar_t text[512] = {};
    GetWindowTextW(control, text, 512);
    fit.text = text;
    RECT area;
    GetClientRect(control, &area);
    wchar_t name[16] = {};
    GetClassNameW(control, name, 16);
    const bool edit = _wcsicmp(name, L"Edit") == 0;
    if (edit) SendMessageW(control, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&area));
    fit.has = SIZE{area.right - area.left, area.bottom - area.top};
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT needed{0, 0, fit.has.cx, 0};
    DrawTextW(dc, text, -1, &needed, DT_CALCRECT | DT_WORDBREAK | (edit ? DT_NOPREFIX : 0));
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    fit.needed = SIZE{needed.right, needed.bottom};
    return fit;
}

// The about box's text, all twelve lines of it, fits the read-only edit that shows it
// (the edit shows whole lines only, and does not scroll).
TEST_F(Shell, AboutTextFitsItsBox) {
    HWND about = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUT), main_, AboutDlgProc, 0);
    HWND text = nullptr;
    for (HWND child = GetWindow(about, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        if (GetDlgCtrlID(child) != IDOK) text = child;
    ASSERT_NE(text, nullptr);
    const TextFit t = Measure(text);
    EXPECT_TRUE(t.needed.cx <= t.has.cx && t.needed.cy <= t.has.cy)
        << "\"" << Utf8(t.text) << "\" needs " << t.needed.cx << " x " << t.needed.cy << " pixels, has " << t.has.cx
        << " x " << t.has.cy;
    EXPECT_NE(t.text.find(L"bez jakékoli záruky."), std::wstring::npos);
    DestroyWindow(about);
}

}  // namespace
