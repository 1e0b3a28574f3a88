// The recorded session of the real main window: the inputs of tests/session.txt through the
// game's own message loop, and after each what a player can see (docs/testing.md, "The
// session"). Fed the script's lines in random order for a minute, it is the input storm.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <deque>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "ai/chooser.h"
#include "board_check.h"
#include "res/resource.h"
#include "sim/simulator.h"
#include "ui/app.h"
#include "ui/board_window.h"
#include "ui/dialogs.h"
#include "ui/main_window.h"
#include "ui/paint.h"
#include "ui/run_state.h"
#include "ui/stats_panel.h"

namespace {

WPARAM KeyOf(const std::string& name) {  // a named key, or the key of a letter or digit
    const char* named[] = {"Left", "Right", "Up", "Down", "Return", "Space", "Escape", "Tab",
                           "Back", "F1",    "F5", "Ctrl", "Shift",  "Win",   "Volume"};
    const WPARAM keys[] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN,    VK_RETURN, VK_SPACE, VK_ESCAPE,   VK_TAB,
                           VK_BACK, VK_F1,    VK_F5, VK_CONTROL, VK_SHIFT,  VK_LWIN,  VK_VOLUME_UP};
    for (int i = 0; i < 15; ++i)
        if (name == named[i]) return keys[i];
    return name.size() == 1 && isalnum(static_cast<unsigned char>(name[0])) ? static_cast<WPARAM>(toupper(name[0])) : 0;
}

uint32_t drawState;  // the simulator's generator, so that the bricks are the same everywhere
int NextDraw() { return static_cast<int>(((drawState = drawState * kDrawMultiplier + kDrawIncrement) >> 16) & 32767); }

std::string Utf8(const wchar_t* text) {
    char s[2048] = {};  // a text of 512 characters takes at most 1536 bytes
    WideCharToMultiByte(CP_UTF8, 0, text, -1, s, sizeof s - 1, nullptr, nullptr);
    std::string out = s;
    for (char& c : out) c = c == '\r' || c == '\n' ? '|' : c;
    return out;
}

std::string Text(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return Utf8(text);
}

// The width x height pixels at dc's top left, read as one bitmap, row by row: 0xRRGGBB.
std::vector<uint32_t> Pixels(HDC dc, int width, int height) {
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    HDC copy = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
    HGDIOBJ old = SelectObject(copy, bitmap);
    BitBlt(copy, 0, 0, width, height, dc, 0, 0, SRCCOPY);
    SelectObject(copy, old);
    BITMAPINFO format{{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    GetDIBits(copy, bitmap, 0, height, pixels.data(), &format, DIB_RGB_COLORS);
    DeleteObject(bitmap), DeleteDC(copy);
    for (uint32_t& pixel : pixels) pixel &= 0xFFFFFF;
    return pixels;
}

bool Covers(const Board& b, const BrickPos& p, int column, int row) {
    const auto at = [&](const auto& cell) { return p.column + cell[0] == column && p.row + cell[1] == row; };
    return b.curBrick && p.rotation >= 0 && p.rotation < b.curBrick->rotationCount &&
           std::any_of(b.curBrick->rotations[p.rotation].cell, b.curBrick->rotations[p.rotation].cell + 4, at);
}

// The cells of window with a pixel other than board calls for: a square in an outline, the white gap
// right and below (1 pixel, 2 from 32-pixel cells on); the grid, the hint, the falling brick on top.
std::string PixelFaults(HWND window, const Board& b) {
    UpdateWindow(window);
    const int size = cellPixels, line = size < 32 ? 1 : 2, width = kGridColumns * size;
    HDC dc = GetDC(window);
    const std::vector<uint32_t> pixels = Pixels(dc, width, kGridRows * size);
    ReleaseDC(window, dc);
    POINT origin{};  // the cells beyond the screen's right and bottom are not shown
    ClientToScreen(window, &origin);
    const int columns = std::min<int>(kGridColumns, (GetSystemMetrics(SM_CXSCREEN) - origin.x) / size),
              rows = std::min<int>(kGridRows, (GetSystemMetrics(SM_CYSCREEN) - origin.y) / size);
    std::string wrong;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            const bool wall = c == 0 || c == kGridColumns - 1 || r == kFloorRow;
            const bool hint = b.mode == kHintGame && Covers(b, b.hintPos, c, r), falling = Covers(b, b.curPos, c, r);
            const uint32_t inside = falling ? 0x000000 : b.grid[c][r] && !hint ? wall ? 0x808080 : 0xC0C0C0 : 0xFFFFFF;
            const uint32_t outline = b.grid[c][r] || hint || falling ? 0x000000 : 0xFFFFFF;
            bool right = true;
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x) {  // in: from the square's nearest side, below 0 in the gap
                    const int in = std::min({x, y, size - line - 1 - x, size - line - 1 - y});
                    right &= pixels[(r * size + y) * width + c * size + x] == (in < 0      ? 0xFFFFFF
                                                                               : in < line ? outline
                                                                                           : inside);
                }
            if (!right) wrong += " " + std::to_string(c) + "," + std::to_string(r);
        }
    return wrong.empty() ? "" : "  cells painted wrong:" + wrong + "\n";
}

// Both wells read back from their windows (the computer's in a versus game).
std::string Unpainted() {
    return PixelFaults(playerBoardWnd, playerBoard) +
           (playerBoard.mode == kVersusGame ? PixelFaults(computerBoardWnd, computerBoard) : "");
}

// A board as a player sees it: the falling brick, the hint, the counts, the well.
std::string Describe(const Board& b) {
    std::string s =
        b.curBrick ? "brick " + std::to_string(b.curBrick - brickTable.types) + " at " + Pos(b.curPos) : "no brick";
    if (b.mode == kHintGame && b.curBrick) s += ", hint " + Pos(b.hintPos);
    s += ", rows " + std::to_string(b.rowsTotal) + " (";
    for (int n = 1; n <= 4; ++n) s += std::to_string(b.clearsBySize[n]) + (n < 4 ? " " : ")");
    return s + ", dealt " + std::to_string(b.bricksDealt) + "\n" + DrawRows(b);
}

bool Is(HWND window, const wchar_t* kind) {
    wchar_t name[16] = {};
    return GetClassNameW(window, name, 16) && lstrcmpiW(name, kind) == 0;
}

std::vector<HWND> Controls(HWND dialog) {
    std::vector<HWND> items;
    for (HWND item = GetWindow(dialog, GW_CHILD); item; item = GetWindow(item, GW_HWNDNEXT)) items.push_back(item);
    return items;
}

// Adds to missing the letters of item's text that its font lacks (all when it cannot
// tell), and measures the text in that font wrapped at needs.right (format).
void NoGlyph(HWND item, std::wstring& missing, RECT* needs, UINT format) {
    wchar_t text[512] = {};
    WORD glyph[512] = {};
    const int length = GetWindowTextW(item, text, 512);
    HDC dc = GetDC(item);
    HGDIOBJ font = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(item, WM_GETFONT, 0, 0)));
    const bool asked = GetGlyphIndicesW(dc, text, length, glyph, GGI_MARK_NONEXISTING_GLYPHS) != GDI_ERROR;
    DrawTextW(dc, text, length, needs, DT_CALCRECT | DT_NOPREFIX | format);
    SelectObject(dc, font), ReleaseDC(item, dc);
    for (int i = 0; i < length; ++i)
        if ((!asked || glyph[i] == 0xFFFF) && text[i] >= L' ' && missing.find(text[i]) == std::wstring::npos)
            missing += text[i];
}

// The texts of dialog that do not fit their controls with 3 pixels (at 96 DPI) to spare
// (an edit's formatting rectangle, a group's caption on one line); the letters lacking.
std::string TextsCut(HWND dialog, int& measured, std::wstring& noGlyph) {
    const int spare = MulDiv(3, ScreenDpi(), 96);
    std::string cut;
    for (HWND item : Controls(dialog)) {
        wchar_t text[512] = {};
        const LONG style = GetWindowLongW(item, GWL_STYLE);
        const bool isEdit = Is(item, L"Edit") && (style & ES_READONLY), isButton = Is(item, L"Button");
        const bool isText = Is(item, L"Static") && (style & SS_TYPEMASK) <= SS_RIGHT;
        const bool isRadio = isButton && (style & BS_TYPEMASK) == BS_AUTORADIOBUTTON,
                   isGroup = isButton && (style & BS_TYPEMASK) == BS_GROUPBOX;
        if (!GetWindowTextW(item, text, 512)) continue;
        RECT has, needs{};
        GetClientRect(item, &has);
        if (isEdit) SendMessageW(item, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&has));
        if (isRadio) has.left += has.bottom;  // its circle and the gap after it take about its height
        needs.right = has.right - has.left - spare;
        NoGlyph(item, noGlyph, &needs, isGroup ? DT_SINGLELINE : DT_WORDBREAK);
        if (!(isEdit || isText || isRadio || isGroup)) continue;
        if (needs.right > has.right - has.left - spare || needs.bottom > has.bottom - has.top)
            cut += " [" + Utf8(text) + "]";
        ++measured;
    }
    return cut;
}

// Writes count into every counter of a versus game's panel, both columns.
void ShowEveryCount(uint32_t count) {
    Board board{};
    board.mode = kVersusGame, board.bricksDealt = count;
    board.rowsTotal = static_cast<int32_t>(std::min<uint32_t>(count, INT32_MAX));
    std::fill(board.clearsBySize, board.clearsBySize + 5, board.rowsTotal);
    std::fill(board.brickTypeCount, board.brickTypeCount + kBrickTypes, board.rowsTotal);
    for (board.isComputer = 0; board.isComputer < 2; ++board.isComputer) UpdateStatsPanel(statsPanelWnd, board);
}

// Dialog id (the panel, a new settings dialog or about box): its texts that do not fit, the letters its
// fonts lack, whether it asks for the shell's font (DS_SHELLFONT), whether Common Controls 6 are in force.
std::string Fit(int id, HWND mainWindow) {
    HWND dialog = id == IDD_STATS ? statsPanelWnd
                                  : CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), mainWindow,
                                                       id == IDD_SETTINGS ? SettingsDlgProc : AboutDlgProc, 0);
    int measured = 0;
    std::wstring noGlyph;
    const std::string cut = TextsCut(dialog, measured, noGlyph);
    const bool shellFont = (GetWindowLongW(dialog, GWL_STYLE) & DS_SHELLFONT) == DS_SHELLFONT;
    if (dialog != statsPanelWnd) DestroyWindow(dialog);
    ACTCTX_SECTION_KEYED_DATA redirected{};
    redirected.cbSize = sizeof redirected;
    const bool controls6 =
        FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, L"comctl32.dll", &redirected);
    return std::to_string(measured) + " texts measured, cut:" + (cut.empty() ? " none" : cut) +
           ", no glyph for: " + (noGlyph.empty() ? "none" : Utf8(noGlyph.c_str())) +
           (shellFont ? ", shell font" : ", not the shell font") + ", Common Controls 6 " + (controls6 ? "on" : "off") +
           "\n";
}

// The game's start-up in a folder of its own, file of the brick-file corpus ("missing": none) its brick file.
std::string StartUp(const std::string& file) {
    CreateDirectoryA("start-up", nullptr);
    SetCurrentDirectoryA("start-up");
    DeleteFileA("kvader.dat");
    CopyFileA((KVADER_TESTS_DIR "/../fuzz/corpus/brick_file/" + file).c_str(), "kvader.dat", FALSE);
    const int code = RunKvader(GetModuleHandleW(nullptr), SW_SHOW);
    SetCurrentDirectoryA("..");
    return "  " + file + ": exit " + std::to_string(code) + "\n";
}

// The menu and caption metrics at this DPI as the prefix was made, kept in its registry
// by the first run at the DPI: what a run killed with larger text set left is undone.
NONCLIENTMETRICSW MadeWith() {
    NONCLIENTMETRICSW metrics{};
    DWORD size = metrics.cbSize = sizeof metrics;
    const std::wstring name = L"NonClientMetrics at " + std::to_wstring(ScreenDpi());
    const wchar_t* key = L"Software\\Kvader tests";
    if (RegGetValueW(HKEY_CURRENT_USER, key, name.c_str(), RRF_RT_REG_BINARY, nullptr, &metrics, &size)) {
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        RegSetKeyValueW(HKEY_CURRENT_USER, key, name.c_str(), REG_BINARY, &metrics, sizeof metrics);
    }
    return metrics;
}

// Makes the menu and caption fonts, rows and title bar pixels high at 96 DPI (0: as the
// prefix was made) as larger text does, unsaved, and tells window (if any).
void SetTextSize(int pixels, HWND window) {
    static const NONCLIENTMETRICSW before = MadeWith();
    const int height = MulDiv(pixels, ScreenDpi(), 96), was = std::abs(before.lfMenuFont.lfHeight);
    NONCLIENTMETRICSW metrics = before;
    if (pixels) {
        metrics.iMenuHeight = MulDiv(before.iMenuHeight, height, was);
        metrics.iCaptionHeight = MulDiv(before.iCaptionHeight, height, was);
        metrics.lfMenuFont.lfHeight = metrics.lfCaptionFont.lfHeight = -height;
    }
    SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    if (window)
        SendMessageW(window, WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, reinterpret_cast<LPARAM>(L"WindowMetrics"));
}

// ", menu bar on N lines" for a menu bar pixels high: the same on every Wine.
std::string MenuBar(int pixels) {
    const int line = GetSystemMetrics(SM_CYMENU), lines = (pixels + line / 2) / line;
    return ", menu bar on " + std::to_string(lines) + (lines == 1 ? " line" : " lines");
}

// The real game as another process (Wine keeps a menu font from a program's start): "start" starts
// it anew, a number is a menu command. Its client area and menu bar's lines (not the title bar's size).
std::string OtherGame(const std::string& what, HWND mainWindow) {
    static HWND game;
    if (what != "start")
        SendMessageW(game, WM_COMMAND, static_cast<WPARAM>(atoi(what.c_str())), 0);
    else if (WinExec("kvader.exe", SW_SHOW) > 31 && (game = FindWindowW(texts[kTextAppName], nullptr)) == mainWindow)
        game = FindWindowExW(nullptr, mainWindow, texts[kTextAppName], nullptr);
    RECT client{}, frame{};
    POINT top{};  // of the client area: the menu bar ends there
    if (!IsWindow(game) || !GetClientRect(game, &client)) return "  other game: gone\n";
    GetWindowRect(game, &frame), ClientToScreen(game, &top);
    RECT noMenu{};  // the frame above the client area of such a window without a menu
    AdjustWindowRectEx(&noMenu, GetWindowLongW(game, GWL_STYLE), FALSE, GetWindowLongW(game, GWL_EXSTYLE));
    return "  other game: " + std::to_string(client.right) + "x" + std::to_string(client.bottom) +
           MenuBar(top.y - frame.top + noMenu.top) + "\n";
}

BOOL CALLBACK FindBox(HWND window, LPARAM found) {  // a shown, enabled dialog or box
    if (Is(window, L"#32770") && IsWindowVisible(window) && IsWindowEnabled(window))
        *reinterpret_cast<HWND*>(found) = window;
    return TRUE;
}

// The script's verbs; each argument is one input. key NAME (KeyOf: a named key, a letter
// or digit), held NAME (held down: bit 30), char C (a character alone, as Shift, the keypad
// or a layout makes it), menu ID, tick N (ticks sent by the script; the timer's own are
// dropped), fill player|computer (only the bar and the J still fit), expose L,T,R,B (that
// rectangle of the player's well uncovered), counts N (every count of the panel), answer
// A; B (for the boxes and menus to come: OnModal), show minimize|maximized|restore
// (maximized as Windows restores a window minimized from maximized; restored as the
// taskbar does, SC_RESTORE), menubar F10|Alt|LETTER|window (that key pressed and released,
// or SC_KEYMENU: that mnemonic's drop-down, the window menu); left out of the storm as
// they take seconds or change the system or another process: falls N (Falls), pace
// SPEED/TICK[/PERIOD] (Pace), mapped HEX (whether a key that MapVirtualKeyW gives HEX for is
// the game's, by Windows' values), fit ID (Fit), start FILE (StartUp), textsize N (the system's
// text N pixels high at 96 DPI, 0 as the prefix was made), other start|ID (OtherGame),
// show corner (the window dragged as a player may).
const std::string kStormVerbs = " key held char menu tick fill expose counts answer show menubar ",
                  kVerbs = kStormVerbs + "falls pace mapped fit start textsize other ";
// What the run state must be after each input: no game, running or paused, the fall timer, the mode, a
// box waiting for the restore. A game's end is taken from the window (its box or the taskbar's flash).
struct RunModel {
    int gameOver = 1, paused = 0, timer = 0, mode = 0, pending = 0, menu = 0;
    void Command(int id) {  // a menu command, or an accelerator's
        if (id >= IDM_STANDARD_GAME && id <= IDM_VERSUS_GAME) gameOver = paused = pending = 0, mode = id - 201;
        if ((id == IDM_PAUSE || id == IDM_MANUAL) && !gameOver) paused = id == IDM_MANUAL || !paused;
        timer = !gameOver && !paused && !menu;  // the settings and the about box leave it so, however closed
    }
    void Menu(int open) { menu = open, Command(0); }  // a menu's loop entered or left
    // A key-down or character at the main window (held: bit 30) from the game's loop or a box's:
    // only the loop's accelerators (keys 1 to 4; characters 1 to 4, space, R) run commands, a held
    // key's neither a game nor the pause, none while minimized; only the game's keys resume.
    void Key(UINT message, WPARAM key, bool held, bool loop, bool minimized) {
        const int game = key >= '1' && key <= '4' ? static_cast<int>(key - '1') + IDM_STANDARD_GAME : 0;
        const bool acts = loop && !minimized,
                   typed = key == VK_RETURN || (key >= VK_LEFT && key <= VK_DOWN) || (key >= '0' && key <= 'Z');
        if (message == WM_CHAR && acts && (key == 'r' || key == 'R')) Command(IDM_SETTINGS);
        if (acts && !held && (game || (message == WM_CHAR && key == ' '))) Command(game ? game : IDM_PAUSE);
        if (message == WM_KEYDOWN && typed && !(loop && game) && key != 'R' && !held && paused && !gameOver)
            Command(IDM_PAUSE);
    }
    std::string Ended(bool minimized) {  // a game's end: its box opened, or the button flashed
        timer = 0, pending = minimized;
        return std::exchange(gameOver, 1) ? "  run state: a game that was over ended again\n" : "";
    }
    std::string Said() const {
        return "game over " + std::to_string(gameOver) + ", paused " + std::to_string(paused) + ", timer " +
               (timer ? "running" : "stopped") + ", mode " + std::to_string(mode) + ", box pending " +
               std::to_string(pending);
    }
};

bool IsVerb(const std::string& verb, bool inStorm = false) {
    return (inStorm ? kStormVerbs : kVerbs).find(" " + verb + " ") != std::string::npos;
}

// The fall interval the speed label shows, in ms; Windows runs no timer faster.
int LabelMs() {
    const std::string label = Text(GetDlgItem(statsPanelWnd, IDC_SPEED));
    return std::max<int>(kShortestInterval, kMsPerHundredth * atoi(label.substr(label.rfind(' ') + 1).c_str()));
}

class Session : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        LoadTexts(GetModuleHandleW(nullptr));
        ASSERT_EQ(LoadBrickTable(brickTable), 1) << "kvader.dat must be in the working directory";
        accelerators_ = LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDA_MAIN));
        openManual = [](HWND, const wchar_t* file) { current_->out_ << "  manual opened: " << Utf8(file) << "\n"; };
        realFlash_ = flashTaskbar, realTimer_ = setFallTimer, realClock_ = fallClock;  // watched, and called
        flashTaskbar = [](HWND window) {
            current_->out_ << "  taskbar button flashes\n" << current_->model_.Ended(true);
            realFlash_(window);
        };
        setFallTimer = [](HWND window, uint32_t interval) {  // Windows' timer in Pace, Wine's elsewhere
            current_->timer_on_ = interval != 0, current_->due_ = interval ? current_->clock_ + interval * 1000LL : -1;
            if (!current_->windows_) realTimer_(window, interval);
        };
        // The session's clock: still but in Falls (Wine's time) and Pace (Windows').
        fallClock = [] { return current_->clock_ + (current_->falling_ ? realClock_() - current_->realFrom_ : 0); };
        SetTextSize(0, nullptr);  // whatever a run that was killed left behind
    }
    void SetUp() override {
        current_ = this;
        settings = kStartSettings;
        model_ = RunModel{};
        timer_on_ = 0, clock_ = 0, fallTimer = FallTimer{};
        drawState = 1;
        SetRandomDraw(NextDraw);
        SetBrickSelection(kRandomSelection, 5);
        main_ = CreateMainWindow(GetModuleHandleW(nullptr));
        SetWindowPos(main_, nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);  // a frame measured from 0 hides faults
        ShowWindow(main_, SW_SHOW);
        UpdateWindow(main_);
        timer_ = SetTimer(nullptr, 0, 30, ModalTick);
    }
    void TearDown() override {
        SetTextSize(0, nullptr);
        KillTimer(nullptr, timer_);
        SetRandomDraw(nullptr);
        if (IsWindow(main_)) DestroyWindow(main_);
    }
    static void CALLBACK ModalTick(HWND, UINT, UINT_PTR, DWORD) { current_->OnModal(); }
    void OnModal();
    void Step(MSG& msg, bool fallTicks);
    std::string Falls(int times);
    std::string Pace(const std::string& arg);
    std::string RunStateFault() const;
    void Input(const std::string& verb, const std::string& arg);
    std::vector<std::string> Screen();
    void Run(const std::string& script);
    void Record(const std::string& from, const std::string& golden);

    static inline Session* current_;
    static inline HACCEL accelerators_;
    static inline void (*realTimer_)(HWND, uint32_t), (*realFlash_)(HWND);
    static inline int64_t (*realClock_)();
    RunModel model_;
    int timer_on_ = 0;                             // the fall timer as the window last set it
    int64_t clock_ = 0, realFrom_ = 0, due_ = -1;  // µs: the falls' clock, Wine's at Falls' start, the timer's due
    HWND main_ = nullptr, seen_ = nullptr;
    UINT_PTR timer_ = 0;
    bool falling_ = false, windows_ = false;  // in Falls; in Pace (Windows' timer, played here, for Wine's)
    std::ostringstream out_;
    std::vector<std::string> shown_;   // the screen last written, to write only its changes
    std::deque<std::string> answers_;  // for the dialogs and boxes to come, one a tick
};

// While a dialog, box or menu of this thread is up: write it when it opens (of the settings only the
// fields and the choice) with the wells behind it, then give it the next queued answer, or else OK
// (Cancel in the settings; a menu ends). The answers: fill SPEED PERIOD INTENSITY random|better|worse
// ("-" an empty field), ok, cancel, close, look (write it again), wait (Falls(1) while it is open), key
// NAME (a key-down to the main window under it, as Wine may let through), press NAME (to the focus).
void Session::OnModal() {
    HWND box = nullptr;
    if (falling_) return;
    GUITHREADINFO gui{sizeof gui, 0, {}, {}, {}, {}, {}, {}, {}};
    if (GetGUIThreadInfo(GetCurrentThreadId(), &gui) && (gui.flags & GUI_INMENUMODE)) {
        if (!model_.menu) out_ << "  menu open\n", model_.Menu(1), out_ << RunStateFault();
        if (answers_.empty()) EndMenu();
        if (!answers_.empty())
            PostMessageW(main_, WM_KEYDOWN, KeyOf(answers_.front().substr(6)), 1), answers_.pop_front();
        return;
    }
    EnumThreadWindows(GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&box));
    if (!box) return;
    const bool isSettings = GetDlgItem(box, IDC_SPEED_EDIT) != nullptr;
    const std::string answer = !answers_.empty() ? answers_.front() : box == seen_ ? "" : isSettings ? "cancel" : "ok";
    if (box != seen_ && timer_on_) out_ << "  run state: the fall timer runs under a box\n";
    if (box != seen_ && FindWindowExW(box, nullptr, L"Static", texts[kTextGameOver]))
        out_ << (IsIconic(main_) ? "  run state: a box opens over the minimized window\n" : "")
             << (std::exchange(model_.pending, 0) ? "" : model_.Ended(false));
    if (box != seen_ || answer == "look") {
        out_ << (box != seen_ ? "  open: " : "  still open: ") << Text(box);
        for (HWND item : Controls(box)) {
            const bool shown = !Is(item, L"Button") ? !isSettings || !Is(item, L"Static")
                                                    : IsDlgButtonChecked(box, GetDlgCtrlID(item)) == BST_CHECKED;
            if (shown && !Text(item).empty()) out_ << " / " << Text(item);
        }
        out_ << "\n" << (box != seen_ && !IsIconic(main_) ? Unpainted() : "");
        seen_ = box;
    }
    if (!answers_.empty()) answers_.pop_front();
    if (answer == "wait") out_ << Falls(1);  // in a loop of its own, which does not come here
    std::string verb, field[4];
    std::istringstream(answer) >> verb >> field[0] >> field[1] >> field[2] >> field[3];
    if (verb == "fill") {
        const int ids[] = {IDC_SPEED_EDIT, IDC_ACCEL_EDIT, IDC_INTENSITY_EDIT};
        for (int i = 0; i < 3; ++i) SetDlgItemTextA(box, ids[i], field[i] == "-" ? "" : field[i].c_str());
        CheckRadioButton(box, IDC_RANDOM_RADIO, IDC_UNSUITABLE_RADIO,
                         IDC_RANDOM_RADIO + (field[3] == "better") + 2 * (field[3] == "worse"));
    }
    if (verb == "ok" || verb == "cancel") PostMessageW(box, WM_COMMAND, verb == "ok" ? IDOK : IDCANCEL, 0);
    const WPARAM key = KeyOf(field[0]);
    if (verb == "press") PostMessageW(GetFocus() ? GetFocus() : box, WM_KEYDOWN, key, 1);
    if (verb == "close") PostMessageW(box, WM_CLOSE, 0, 0);
    if (verb == "key") PostMessageW(main_, WM_KEYDOWN, key, 1), model_.Key(WM_KEYDOWN, key, false, false, false);
}

// One message through the game's loop and the model, the fall timer's own ticks only with fallTicks.
void Session::Step(MSG& msg, bool fallTicks) {
    const bool fall = msg.message == WM_TIMER && msg.hwnd == main_ && msg.wParam == FALL_TIMER;
    if (msg.message == WM_QUIT)
        out_ << "  quit " << msg.wParam << "\n";
    else if (!fall || fallTicks) {
        if (msg.hwnd == main_ && msg.message == WM_COMMAND) model_.Command(LOWORD(msg.wParam));
        if (msg.hwnd == main_) model_.Key(msg.message, msg.wParam, msg.lParam & kHeldKeyBit, true, IsIconic(main_));
        DispatchLoopMessage(main_, accelerators_, msg);
        if (model_.menu) model_.Menu(0);  // its loop ended with the message that ran it
    }
}

// Lets the game run on Wine's timer and time until the player's well has changed times times, for
// at most times + 1.5 of the label's intervals (none above a second): as the label says when the
// median gap lies within half and 1.6 times its interval (+20 ms), or else the median against it.
std::string Session::Falls(int times) {
    const DWORD start = GetTickCount(), patience = (2 * times + 3) * std::min(LabelMs(), 1000) / 2 + 200;
    falling_ = true, realFrom_ = realClock_();
    std::vector<DWORD> at, gaps;
    MSG msg;
    for (std::string was = Describe(playerBoard), now;
         static_cast<int>(at.size()) < times && GetTickCount() - start < patience;) {
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
            continue;
        }
        Step(msg, true);
        if ((now = Describe(playerBoard)) != was) at.push_back(GetTickCount()), was = now;
    }
    clock_ = fallClock(), falling_ = false;
    if (at.empty()) return "  nothing falls\n";
    for (size_t i = 1; i < at.size(); ++i) gaps.push_back(at[i] - at[i - 1]);
    std::sort(gaps.begin(), gaps.end());
    const int shown = LabelMs(), median = gaps.empty() ? shown : static_cast<int>(gaps[gaps.size() / 2]);
    std::string said = "  falls by itself " + std::to_string(at.size()) + " of " + std::to_string(times) + " times";
    if (median < shown / 2 || median > shown * 8 / 5 + 20)
        said += ", every " + std::to_string(median) + " ms where the label says " + std::to_string(shown);
    return said + "\n";
}

// An automatic game of better bricks at SPEED hundredths of a second, speeding up every PERIOD bricks
// (or never; the settings stay so), for 10 s from a tick of a TICK ms clock on Windows' timer: due an
// interval after it is set, served at the next tick and set again there. Its bricks, within 2 % of the label.
std::string Session::Pace(const std::string& arg) {
    const uint32_t draws = drawState;  // the script's bricks after it are the same as without it
    unsigned speed = 0, period = UINT32_MAX;
    double tickMs = 0;
    sscanf(arg.c_str(), "%u/%lf/%u", &speed, &tickMs, &period);
    const int64_t tick = llround(tickMs * 1000), end = (clock_ = (clock_ / tick + 1) * tick) + 10'000'000;
    settings.baseInterval = speed * kMsPerHundredth, settings.accelEvery = period;
    settings.selectionMode = kMoreSuitable, settings.intensity = 5, SetBrickSelection(kMoreSuitable, 5);
    windows_ = true, realTimer_(main_, 0);  // from here on the fall timer is Windows', played below
    MSG msg{main_, WM_COMMAND, IDM_AUTOMATIC_GAME, 0, 0, {}};
    Step(msg, false);
    const uint32_t dealt = playerBoard.bricksDealt, label = 10'000 / settings.curInterval;
    for (msg = MSG{main_, WM_TIMER, FALL_TIMER, 0, 0, {}};
         due_ >= 0 && (clock_ = (due_ + tick - 1) / tick * tick) <= end;) {
        due_ = clock_ + int64_t{settings.curInterval} * 1000;  // set again as it is served
        Step(msg, true);
    }
    const uint32_t falls = playerBoard.bricksDealt - dealt;
    clock_ = end, windows_ = false, realTimer_(main_, timer_on_ ? settings.curInterval : 0), drawState = draws;
    const bool asLabel = falls * 50 >= label * 49 && falls * 50 <= label * 51;  // within 2 %
    return "  " + std::to_string(falls) + " bricks in 10 s at " + std::to_string(settings.curInterval) + " ms" +
           (asLabel ? ", as the label says\n" : " where the label says " + std::to_string(label) + "\n");
}

std::string Session::RunStateFault() const {  // the window's run state against its model
    const RunModel real{settings.gameOver, settings.paused, timer_on_, playerBoard.mode, settings.boxPending};
    return real.Said() == model_.Said() ? "" : "  run state: " + real.Said() + "; model: " + model_.Said() + "\n";
}

void Session::Input(const std::string& verb, const std::string& arg) {
    wchar_t ch[4] = {};
    if (verb == "key" || verb == "held")
        PostMessageW(main_, WM_KEYDOWN, KeyOf(arg), verb == "key" ? 1 : 1 | kHeldKeyBit);
    if (verb == "char" && MultiByteToWideChar(CP_UTF8, 0, arg.c_str(), -1, ch, 4))
        PostMessageW(main_, WM_CHAR, ch[0], 1);
    if (verb == "menu") PostMessageW(main_, WM_COMMAND, static_cast<WPARAM>(atoi(arg.c_str())), 0);
    for (int i = verb == "tick" ? std::max(1, atoi(arg.c_str())) : 0; i > 0; --i) PostMessageW(main_, WM_TIMER, 99, 0);
    if (verb == "fill") {
        std::string well = "#########.";  // only the bar and the J still fit, on row 0
        for (int r = 0; r < 11; ++r) well += "/.#########/#########.";
        Draw(arg == "computer" ? computerBoard : playerBoard, well);
        InvalidateRect(arg == "computer" ? computerBoardWnd : playerBoardWnd, nullptr, FALSE);
    }
    if (verb == "expose") {  // as another window leaves: the area's pixels wrong, then only it invalid, erased
        RECT area{};
        sscanf(arg.c_str(), "%ld,%ld,%ld,%ld", &area.left, &area.top, &area.right, &area.bottom);
        HDC dc = GetDC(playerBoardWnd);
        FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(DKGRAY_BRUSH))), ReleaseDC(playerBoardWnd, dc);
        InvalidateRect(playerBoardWnd, &area, TRUE);
    }
    if (verb == "counts") ShowEveryCount(static_cast<uint32_t>(strtoul(arg.c_str(), nullptr, 10)));
    if (verb == "falls") out_ << Falls(atoi(arg.c_str()));
    if (verb == "pace") out_ << Pace(arg);
    if (verb == "mapped")
        out_ << (TypesGameCharacter(strtoul(arg.c_str(), nullptr, 16)) ? "  the game's\n" : "  the system's\n");
    const WPARAM bar = arg == "Alt" ? VK_MENU : VK_F10;  // Alt's key-down with the Alt bit
    if (verb == "menubar" && (arg == "Alt" || arg == "F10"))
        PostMessageW(main_, WM_SYSKEYDOWN, bar, (bar == VK_MENU) << 29 | 1),
            PostMessageW(main_, WM_SYSKEYUP, bar, 0xE0000001);
    else if (verb == "menubar")
        PostMessageW(main_, WM_SYSCOMMAND, SC_KEYMENU, arg == "window" ? ' ' : arg[0]);
    if (verb == "fit") out_ << "  fit: " << Fit(atoi(arg.c_str()), main_);
    if (verb == "textsize") SetTextSize(atoi(arg.c_str()), main_);
    if (verb == "other") out_ << OtherGame(arg, main_);
    RECT area;  // show corner: the window's top-left 100 pixels from the work area's bottom-right
    if (verb == "show" && arg == "corner" && SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0))
        SetWindowPos(main_, nullptr, area.right - 100, area.bottom - 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    else if (verb == "show")
        arg == "restore" ? SendMessageW(main_, WM_SYSCOMMAND, SC_RESTORE, 0)
                         : ShowWindow(main_, arg == "minimize" ? SW_MINIMIZE : SW_SHOWMAXIMIZED);
    if (verb == "start") out_ << StartUp(arg);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) Step(msg, false);
    if (IsWindow(main_) && !IsIconic(main_)) out_ << Unpainted();  // a minimized window shows no well
    for (const Board* board : {&playerBoard, &computerBoard})
        if (const std::string fault = BoardFault(*board); !fault.empty()) out_ << "  unsound board: " << fault << "\n";
    if (IsWindow(main_) && model_.pending && !IsIconic(main_))  // a box still waits, restored
        out_ << "  run state: a box waits; model: " << model_.Said() << "\n";
    if (IsWindow(main_)) out_ << RunStateFault();
}

// Where window lies against its monitor's work area: maximized, beyond it, in its bottom-right corner.
std::string WorkArea(HWND window) {
    MONITORINFO monitor{sizeof monitor, {}, {}, 0};
    RECT f{}, &a = monitor.rcWork;
    GetWindowRect(window, &f), GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    if (IsZoomed(window)) return ", maximized";
    if (f.left < a.left || f.top < a.top || f.right > a.right || f.bottom > a.bottom) return ", beyond the work area";
    return f.right == a.right && f.bottom == a.bottom ? ", in the work area's bottom-right corner" : "";
}

// What a player sees, in parts: both wells, the panel's texts, the window and its parts.
std::vector<std::string> Session::Screen() {
    std::string panel = "  panel:", window = "  window:";
    for (int id = IDC_SPEED; id < IDC_BRICKS_TYPE0 + kBrickTypes; ++id)
        panel += (id == IDC_SPEED ? " " : ",") + Text(GetDlgItem(statsPanelWnd, id));
    for (HWND part : {main_, playerBoardWnd, statsPanelWnd, computerBoardWnd}) {
        RECT r;
        GetClientRect(part, &r);
        MapWindowPoints(part, main_, reinterpret_cast<POINT*>(&r), 2);
        if (part == main_ && IsZoomed(main_)) r = RECT{};  // as large as the screen, which each Wine frames otherwise
        window += " " + std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) +
                  "x" + std::to_string(r.bottom - r.top);
    }
    MENUBARINFO bar{};
    bar.cbSize = sizeof bar;
    GetMenuBarInfo(main_, OBJID_MENU, 0, &bar);
    window += MenuBar(bar.rcBar.bottom - bar.rcBar.top) + (IsIconic(main_) ? ", minimized" : WorkArea(main_));
    window += ", paused " + std::to_string(settings.paused) + ", game over " + std::to_string(settings.gameOver) + "\n";
    return {"  player: " + Describe(playerBoard), "  computer: " + Describe(computerBoard), panel + "\n", window};
}

// Runs the lines of script (kVerbs), writing each input and what it changed on the screen.
void Session::Run(const std::string& script) {
    std::istringstream lines(script);
    for (std::string line, verb; std::getline(lines, line) && IsWindow(main_);) {
        std::istringstream in(line);
        if (!(in >> verb) || verb[0] == '#') continue;
        std::vector<std::string> args;
        for (std::string arg; std::getline(in >> std::ws, arg, verb == "answer" ? ';' : ' ');) args.push_back(arg);
        ASSERT_TRUE(IsVerb(verb)) << "not understood: " << line;
        if (verb == "answer") answers_.insert(answers_.end(), args.begin(), args.end());
        if (verb == "answer") continue;
        if (args.empty()) args.push_back("");
        for (const std::string& arg : args) {
            ASSERT_TRUE(verb != "key" || KeyOf(arg)) << "no such key: " << line;
            out_ << "> " << verb << (arg.empty() ? "" : " " + arg) << "\n";
            Input(verb, arg);
            if (!IsWindow(main_)) break;
            const std::vector<std::string> now = Screen();  // the parts that changed
            for (size_t i = 0; i < now.size(); ++i) out_ << (shown_.size() > i && shown_[i] == now[i] ? "" : now[i]);
            shown_ = now;
        }
    }
}

std::string ReadFile(const std::string& path) {
    std::ostringstream s;
    s << std::ifstream(path, std::ios::binary).rdbuf();
    return s.str();
}

// Runs session.txt from the text from on against golden (which only make golden's
// --golden rewrites), in the code page and DPI KVADER_CODE_PAGE and KVADER_DPI ask for.
void Session::Record(const std::string& from, const std::string& golden) {
    ASSERT_FALSE(getenv("KVADER_GOLDEN")) << "KVADER_GOLDEN is set: only make golden rewrites the recorded files";
    const char *codePage = getenv("KVADER_CODE_PAGE"), *dpi = getenv("KVADER_DPI");
    DEVMODEW mode{};  // the screen's pixels, which a window stretched to another DPI does not see
    mode.dmSize = sizeof mode, EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode);
    ASSERT_EQ(std::to_string(GetACP()) + " " + std::to_string(ScreenDpi()) +
                  (GetSystemMetrics(SM_CXSCREEN) == static_cast<int>(mode.dmPelsWidth) ? "" : " stretched"),
              std::string(codePage ? codePage : "1252") + " " + (dpi ? dpi : "96"))
        << "Windows gave this run another code page and DPI than it asked for, or stretches its windows";
    const std::string lines = ReadFile(KVADER_TESTS_DIR "/session.txt");
    Run(lines.substr(lines.find(from)));
    if (std::find(__argv, __argv + __argc, std::string("--golden")) != __argv + __argc)
        std::ofstream(golden, std::ios::binary) << out_.str();
    const std::string got = out_.str(), want = ReadFile(golden);  // compared from the first line that differs
    const size_t differs = std::mismatch(got.begin(), got.end(), want.begin(), want.end()).first - got.begin(),
                 line = differs ? got.rfind('\n', differs - 1) + 1 : 0;
    EXPECT_EQ(got.substr(line, got.find('\n', differs) - line), want.substr(line, want.find('\n', differs) - line))
        << "what the session shows at line " << std::count(got.begin(), got.begin() + line, '\n') + 1 << " of "
        << golden;
}

// The whole session, on a Western code page at 96 DPI.
TEST_F(Session, RecordedInputsShowWhatTheyShowed) { Record("", KVADER_TESTS_DIR "/golden/session.txt"); }

// The session's layout part, at the run's code page and DPI: layout-CODEPAGE-DPIdpi.txt.
TEST_F(Session, RecordedLayoutHolds) {
    Record("# The layout", KVADER_TESTS_DIR "/golden/layout-" + std::to_string(GetACP()) + "-" +
                               std::to_string(ScreenDpi()) + "dpi.txt");
}

unsigned EnvNumber(const char* name, unsigned otherwise) {
    const char* value = getenv(name);
    return value && *value ? static_cast<unsigned>(strtoul(value, nullptr, 10)) : otherwise;
}

BOOL CALLBACK CountWindow(HWND window, LPARAM count) {  // this process's windows and their children
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() && ++*reinterpret_cast<int*>(count) && GetParent(window) == nullptr)
        EnumChildWindows(window, CountWindow, count);
    return TRUE;
}

// The storm: the script's lines (the storm's verbs, no Escape, no answer that waits) in random order
// with their answers, for KVADER_STORM_SECONDS (60), repeated by KVADER_STORM_SEED; after each input
// what must always hold: sound boards, wells painted as they are, the run state the model's.
TEST_F(Session, StormOfRandomInputLeavesTheGameSound) {
    std::vector<std::string> lines;
    std::string line, verb, answers, fault;
    for (std::istringstream script(ReadFile(KVADER_TESTS_DIR "/session.txt")); std::getline(script, line);) {
        if (!(std::istringstream(line) >> verb) || !IsVerb(verb)) continue;
        if (verb == "answer") answers += line + "\n";
        if (verb == "answer") continue;
        if (IsVerb(verb, true) && line != "key Escape" && line != "show corner" &&
            answers.find("wait") == std::string::npos)
            lines.push_back(answers + line);
        answers.clear();
    }
    const unsigned seed = EnvNumber("KVADER_STORM_SEED", GetTickCount()),
                   seconds = EnvNumber("KVADER_STORM_SECONDS", 60);
    std::mt19937 rng(seed);
    int windows = 0, after = 0, gameOvers = 0, refusals = 0, count = 0;
    EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&windows));
    for (const auto start = std::chrono::steady_clock::now();
         fault.empty() && std::chrono::steady_clock::now() - start < std::chrono::seconds(seconds); ++count) {
        const std::string input = lines[rng() % lines.size()];
        out_.str(""), answers_.clear();
        const auto before = std::chrono::steady_clock::now();
        Run(input);
        const std::string said = out_.str();
        gameOvers += said.find("GAME OVER!") != std::string::npos;
        refusals += said.find("Hodnoty nesm") != std::string::npos;
        if (std::chrono::steady_clock::now() - before > std::chrono::seconds(3)) fault = "no answer within 3 seconds";
        for (const char* wrong : {"unsound", "painted wrong", "run state"})
            if (said.find(wrong) != std::string::npos) fault = said;
        if (!IsWindow(main_)) fault = "the window is gone: " + said;  // no line here quits
        fault = fault.empty() ? "" : "step " + std::to_string(count + 1) + ", " + input + ": " + fault;
    }
    answers_.clear();
    EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&after));
    EXPECT_EQ(fault, "") << "KVADER_STORM_SEED=" << seed << " repeats it";
    EXPECT_EQ(after, windows) << "the process has other windows after the storm than before";
    printf("storm seed %u: %d lines in %u s, %d games over, %d settings refused\n", seed, count, seconds, gameOvers,
           refusals);
    EXPECT_TRUE(count > 0 && (seconds < 30 || (gameOvers > 0 && refusals > 0)))
        << "a storm runs lines, and a minute of them should end games and refuse settings";
}

// What no input reaches: an update rectangle beyond the window and a rotation out of
// range are clamped or ignored: the grid painted beyond it leaves a red margin around
// it red and draws its corner, and no brick is drawn.
TEST(Painter, ClampsWhatNoInputReaches) {
    const CellRange cells = CellsOfRect(RECT{100, 200, 200, 420});
    EXPECT_EQ(std::vector<int>({cells.firstColumn, cells.firstRow, cells.lastColumn, cells.lastRow}),
              std::vector<int>({6, 12, 11, 24}));
    const int margin = 6 * cellPixels, width = BoardPixelsWide() + 2 * margin, height = BoardPixelsHigh() + 2 * margin;
    HDC screen = GetDC(nullptr), dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, CreateCompatibleBitmap(screen, width, height));
    const RECT all{0, 0, width, height};
    SetDCBrushColor(dc, RGB(255, 0, 0)), FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    SetViewportOrgEx(dc, margin, margin, nullptr);
    Board board{};
    ResetBoard(board);
    PaintCells(dc, board.grid, -3, -5, 12, 25);
    SetViewportOrgEx(dc, 0, 0, nullptr);
    const std::vector<uint32_t> pixels = Pixels(dc, width, height);
    int outside = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            outside += (x < margin || y < margin || x >= width - margin || y >= height - margin) &&
                       pixels[static_cast<size_t>(y) * width + x] != 0xFF0000;
    EXPECT_EQ(outside, 0) << "pixels drawn outside the grid";
    const int corner = margin + cellPixels / 2;
    EXPECT_EQ(pixels[static_cast<size_t>(corner + 24 * cellPixels) * width + corner + 11 * cellPixels], 0x808080u)
        << "the corner of wall and floor";
    BrickType bar{1, {{{{0, 0}, {1, 0}, {2, 0}, {3, 0}}, 0, 0, 3, 0, {4}, {1, 1, 1, 1}, {}}}};
    RECT drawn;  // what the DC has drawn since the reset
    SetBoundsRect(dc, nullptr, DCB_RESET | DCB_ENABLE);
    for (int rotation : {-1, kMaxRotations})
        DrawBrick(dc, bar, BrickPos{rotation, 4, 10}, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(GetBoundsRect(dc, &drawn, 0), static_cast<UINT>(DCB_RESET)) << "a rotation out of range draws nothing";
    DeleteObject(SelectObject(dc, old));
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

}  // namespace
