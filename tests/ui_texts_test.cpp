// The texts the player reads: every text of the panel and the dialogs fits its
// control (the counts with their widest values), counts beyond seven digits are shown
// in millions, and the fonts the prefix must see are there.
#include <string>

#include "model/board.h"
#include "res/resource.h"
#include "ui/dialogs.h"
#include "ui/run_state.h"
#include "ui/stats_panel.h"
#include "ui_shell_fixture.h"

namespace {

constexpr int kFirstCount = IDC_ROWS_LEFT, kLastCount = IDC_BRICKS_TYPE0 + kBrickTypes - 1;  // every count control

// Writes count into every counter of a versus game, both columns, bricks as given.
void ShowEveryCount(HWND panel, uint32_t count, uint32_t bricks) {
    Board board{};
    board.mode = kVersusGame;
    board.rowsTotal = static_cast<int32_t>(count);
    for (int n = 1; n <= 4; ++n) board.clearsBySize[n] = board.rowsTotal;
    for (int& typeCount : board.brickTypeCount) typeCount = board.rowsTotal;
    board.bricksDealt = bricks;
    for (int isComputer : {0, 1}) {
        board.isComputer = isComputer;
        UpdateStatsPanel(panel, board);
    }
}

// Every count is shown whole up to seven digits, and in whole millions above.
TEST_F(Shell, LargeCountsAreShownWholeOrInMillions) {
    const struct {
        uint32_t count;
        const wchar_t* text;
    } cases[] = {{1009, L"1009"},        {1265, L"1265"},        {9999999, L"9999999"},
                 {10000000, L"10 mil."}, {10999999, L"10 mil."}, {2147483647, L"2147 mil."}};
    for (const auto& c : cases) {
        ShowEveryCount(statsPanelWnd, c.count, c.count);
        for (int id = kFirstCount; id <= kLastCount; ++id)
            EXPECT_EQ(ItemText(statsPanelWnd, id), c.text) << c.count << " in control " << id;
    }
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
        ShowEveryCount(panel, 2147483647, 4294967295u);
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
    for (int id = kFirstCount; id <= kLastCount; ++id) SetDlgItemTextW(panel, id, std::wstring(7, widest).c_str());
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
