// The settings and about dialogs, filled in and answered as a user would while their
// modal loops run; message boxes are read and closed the same way.
#include <string>

#include "ai/chooser.h"
#include "model/board.h"
#include "res/resource.h"
#include "ui/dialogs.h"
#include "ui/run_state.h"
#include "ui/stats_panel.h"
#include "ui_shell_fixture.h"

namespace {

struct Entry {
    const wchar_t *speed, *period, *intensity;
    int radio;  // IDC_RANDOM_RADIO..IDC_UNSUITABLE_RADIO
};

ModalStep Fill(const Entry& e) {
    return On(kSettingsCaption, [e](HWND dialog) {
        SetDlgItemTextW(dialog, IDC_SPEED_EDIT, e.speed);
        SetDlgItemTextW(dialog, IDC_ACCEL_EDIT, e.period);
        SetDlgItemTextW(dialog, IDC_INTENSITY_EDIT, e.intensity);
        CheckRadioButton(dialog, IDC_RANDOM_RADIO, IDC_UNSUITABLE_RADIO, e.radio);
    });
}

// What the settings dialog shows, one line per field.
ModalStep ReadSettings(std::wstring& shown) {
    return On(kSettingsCaption, [&shown](HWND dialog) {
        shown = ItemText(dialog, IDC_SPEED_EDIT) + L" " + ItemText(dialog, IDC_ACCEL_EDIT) + L" " +
                ItemText(dialog, IDC_INTENSITY_EDIT) + L" " +
                std::to_wstring(IsDlgButtonChecked(dialog, IDC_RANDOM_RADIO));
    });
}

// A key sent to the control that has the focus, as the keyboard would.
ModalStep Type(const wchar_t* caption, WPARAM key) {
    return On(caption, [key](HWND) { PostMessageW(GetFocus(), WM_KEYDOWN, key, 0); });
}

TEST_F(Shell, SettingsOpenWithTheStartUpValues) {
    std::wstring shown;
    EXPECT_TRUE(RunModal([&] { Command(IDM_SETTINGS); }, {ReadSettings(shown), Press(kSettingsCaption, IDCANCEL)}));
    EXPECT_EQ(shown, L"100 10 5 1");
}

TEST_F(Shell, SettingsAcceptOrRefuseAtTheBounds) {
    const struct {
        Entry entry;
        uint32_t baseInterval;  // 0: refused
    } cases[] = {
        // clang-format off
        {{L"6000", L"10", L"5", IDC_RANDOM_RADIO}, 60000}, {{L"6001", L"10", L"5", IDC_RANDOM_RADIO}, 0},
        {{L"1", L"1", L"1", IDC_RANDOM_RADIO}, 10},        {{L"0", L"10", L"5", IDC_RANDOM_RADIO}, 0},
        {{L"", L"10", L"5", IDC_RANDOM_RADIO}, 0},         {{L"100", L"0", L"5", IDC_RANDOM_RADIO}, 0},
        {{L"100", L"10", L"", IDC_RANDOM_RADIO}, 0},       {{L"100", L"", L"0", IDC_RANDOM_RADIO}, 0},
        {{L"4294967296", L"10", L"5", IDC_RANDOM_RADIO}, 0},
        // clang-format on
    };
    for (const auto& c : cases) {
        settings = kStartSettings;
        const GameSettings before = settings;
        if (c.baseInterval) {
            EXPECT_TRUE(RunModal([&] { Command(IDM_SETTINGS); }, {Fill(c.entry), Press(kSettingsCaption, IDOK)}));
            EXPECT_EQ(settings.baseInterval, c.baseInterval) << c.entry.speed;
            continue;
        }
        std::wstring message, shown;
        EXPECT_TRUE(RunModal(
            [&] { Command(IDM_SETTINGS); },
            {Fill(c.entry), Press(kSettingsCaption, IDOK),
             [&] {
                 HWND box = FindBox(kBoxCaption);
                 if (!box || !GetWindow(box, GW_OWNER)) return false;
                 message = MessageBoxText(box);
                 return PostMessageW(box, WM_COMMAND, IDOK, 0) != 0;
             },
             [&] { return !FindBox(kBoxCaption) && ReadSettings(shown)(); }, Press(kSettingsCaption, IDCANCEL)}))
            << c.entry.speed;
        EXPECT_EQ(message, L"Hodnoty nesmí být nula a rychlost může být nejvýše 6000 (1 minuta)!") << c.entry.speed;
        EXPECT_EQ(shown.substr(0, shown.find(L' ')), c.entry.speed) << "the dialog stays open with the user's values";
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
    const ModalStep leave[] = {Press(kSettingsCaption, IDCANCEL), Type(kSettingsCaption, VK_ESCAPE),
                               On(kSettingsCaption, [](HWND dialog) { PostMessageW(dialog, WM_CLOSE, 0, 0); })};
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

// On an empty board the bar fits best (23) and the S worst (-8, as the Z, which
// comes later); in the random mode the highest draw gives the last type.
TEST_F(Shell, EveryConfirmationHandsTheSelectionToTheChooser) {
    const struct {
        int radio, mode, dealt;  // dealt: the brick the highest draw gives on an empty board
    } choices[] = {{IDC_SUITABLE_RADIO, kMoreSuitable, kBar},
                   {IDC_UNSUITABLE_RADIO, kLessSuitable, kEss},
                   {IDC_RANDOM_RADIO, kRandomSelection, kJay}};
    for (const auto& c : choices) {
        EXPECT_TRUE(RunModal([&] { Command(IDM_SETTINGS); },
                             {Fill({L"100", L"10", L"20", c.radio}), Press(kSettingsCaption, IDOK)}));
        EXPECT_EQ(settings.selectionMode, c.mode);
        EXPECT_EQ(settings.intensity, 20u);
        EXPECT_EQ(DealtWithTopDraw(), c.dealt) << "mode " << c.mode;
    }
    SetBrickSelection(kLessSuitable, 20);
    settings.selectionMode = 0;
    EXPECT_TRUE(RunModal([&] { Command(IDM_SETTINGS); }, {Press(kSettingsCaption, IDOK)}));
    EXPECT_EQ(DealtWithTopDraw(), kJay) << "confirming unchanged values still sets the random mode";
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

// The texts of a dialog that do not fit their controls as the template sizes them:
// the rectangle each needs in the control's own font, wrapped at the control's width,
// against the control (for a read-only edit, which shows whole lines only and does not
// scroll, its formatting rectangle). Adds the number of texts measured to measured.
std::wstring TextsCut(HWND dialog, int& measured) {
    std::wstring cut;
    for (HWND item = GetWindow(dialog, GW_CHILD); item; item = GetWindow(item, GW_HWNDNEXT)) {
        wchar_t kind[16] = {}, text[512] = {};
        GetClassNameW(item, kind, 16);
        LONG style = GetWindowLongW(item, GWL_STYLE);
        bool isEdit = lstrcmpiW(kind, L"Edit") == 0 && (style & ES_READONLY);
        bool isText = lstrcmpiW(kind, L"Static") == 0 && (style & SS_TYPEMASK) <= SS_RIGHT;
        if (!(isEdit || isText) || GetWindowTextW(item, text, 512) == 0) continue;
        RECT has, needs{};
        GetClientRect(item, &has);
        if (isEdit) SendMessageW(item, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&has));
        needs.right = has.right - has.left;
        HDC dc = GetDC(item);
        HGDIOBJ font = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(item, WM_GETFONT, 0, 0)));
        DrawTextW(dc, text, -1, &needs, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        SelectObject(dc, font);
        ReleaseDC(item, dc);
        if (needs.right > has.right - has.left || needs.bottom > has.bottom - has.top)
            cut += L"[" + std::wstring(text) + L"] ";
        ++measured;
    }
    return cut;
}

// The count controls of the panel, with their widest texts: seven of the font's
// widest digit, and the largest count in millions as the panel writes it.
void FillCountsWithTheirWidest(HWND panel, bool millions) {
    if (millions) {
        Board board{};
        board.mode = kVersusGame;
        board.rowsTotal = 2147483647;
        for (int n = 1; n <= 4; ++n) board.clearsBySize[n] = board.rowsTotal;
        for (int& count : board.brickTypeCount) count = board.rowsTotal;
        board.bricksDealt = 4294967295u;
        for (int isComputer : {0, 1}) {
            board.isComputer = isComputer;
            UpdateStatsPanel(panel, board);
        }
        return;
    }
    HDC dc = GetDC(panel);
    HGDIOBJ font = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(panel, WM_GETFONT, 0, 0)));
    wchar_t widest = L'0';
    SIZE most{}, size{};
    for (wchar_t digit = L'0'; digit <= L'9'; ++digit)
        if (GetTextExtentPoint32W(dc, &digit, 1, &size) && size.cx > most.cx) most = size, widest = digit;
    SelectObject(dc, font);
    ReleaseDC(panel, dc);
    for (int id = IDC_ROWS_LEFT; id <= IDC_BRICKS_TYPE0 + kBrickTypes - 1; ++id)
        SetDlgItemTextW(panel, id, std::wstring(7, widest).c_str());
}

// Every text of the panel, the settings dialog and the about box fits its control,
// the panel's counts with their widest values.
TEST_F(Shell, EveryTextFitsItsControl) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HWND settings = CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_SETTINGS), main_, SettingsDlgProc, 0);
    HWND about = CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_ABOUT), main_, AboutDlgProc, 0);
    int measured = 0;
    for (bool millions : {false, true}) {
        FillCountsWithTheirWidest(statsPanelWnd, millions);
        EXPECT_EQ(TextsCut(statsPanelWnd, measured), L"") << (millions ? "counts in millions" : "seven digits");
    }
    EXPECT_EQ(TextsCut(settings, measured), L"");
    EXPECT_EQ(TextsCut(about, measured), L"");
    EXPECT_GE(measured, 70);
    // Measured with the controls the manifest asks for: Common Controls 6 are in force.
    ACTCTX_SECTION_KEYED_DATA redirected = {};
    redirected.cbSize = sizeof redirected;
    EXPECT_TRUE(
        FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, L"comctl32.dll", &redirected));
    DestroyWindow(about);
    DestroyWindow(settings);
}

int CALLBACK CountFont(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM count) {
    return ++*reinterpret_cast<int*>(count);
}

// The prefix sees Wine's own fonts: Marlett draws the caption buttons (without it
// they show as the letters "0 1 r").
TEST_F(Shell, CaptionButtonsHaveTheirFont) {
    LOGFONTW wanted = {};
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpyW(wanted.lfFaceName, L"Marlett");
    int found = 0;
    HDC dc = GetDC(main_);
    EnumFontFamiliesExW(dc, &wanted, CountFont, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(main_, dc);
    EXPECT_GT(found, 0);
}

}  // namespace
