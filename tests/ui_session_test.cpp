// The recorded session of the real main window. The inputs of tests/session.txt go
// through the game's own message loop (dialogs and boxes run their own loops and are
// answered from a timer); after each input what a player can see is written: both
// wells, the panel, the window, the fall timer and pause, and every box or dialog
// that opened with its texts, the wells behind it read back pixel by pixel. The
// output must equal tests/golden/session.txt (KVADER_GOLDEN=1 rewrites it). The same
// driver, fed the script's lines in random order for a minute, is the input storm.
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
    const char* named[] = {"Left", "Right", "Down", "Return", "Space", "Escape", "F5"};
    const WPARAM keys[] = {VK_LEFT, VK_RIGHT, VK_DOWN, VK_RETURN, VK_SPACE, VK_ESCAPE, VK_F5};
    for (int i = 0; i < 7; ++i)
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

bool FallTimerRuns(HWND mainWindow) {
    return KillTimer(mainWindow, FALL_TIMER) && (RestartFallTimer(mainWindow), true);
}

bool Covers(const Board& b, const BrickPos& p, int column, int row) {
    if (!b.curBrick || p.rotation < 0 || p.rotation >= b.curBrick->rotationCount) return false;
    for (const auto& cell : b.curBrick->rotations[p.rotation].cell)
        if (p.column + cell[0] == column && p.row + cell[1] == row) return true;
    return false;
}

// The cells of window whose middle or outline differ from what board calls for: the
// grid, the hint (white in a black outline) in the hint game, the falling brick on top.
std::string PixelFaults(HWND window, const Board& b) {
    UpdateWindow(window);
    HDC dc = GetDC(window);
    std::string wrong;
    for (int r = 0; r < kGridRows; ++r)
        for (int c = 0; c < kGridColumns; ++c) {
            const bool wall = c == 0 || c == kGridColumns - 1 || r == kFloorRow;
            const bool hint = b.mode == kHintGame && Covers(b, b.hintPos, c, r), falling = Covers(b, b.curPos, c, r);
            const COLORREF inside = falling                 ? RGB(0, 0, 0)
                                    : b.grid[c][r] && !hint ? wall ? RGB(128, 128, 128) : RGB(192, 192, 192)
                                                            : RGB(255, 255, 255);
            const COLORREF outline = b.grid[c][r] || hint || falling ? RGB(0, 0, 0) : RGB(255, 255, 255);
            const int x = c * cellPixels, y = r * cellPixels, middle = cellPixels / 2 - 1;
            if (GetPixel(dc, x + middle, y + middle) != inside || GetPixel(dc, x, y + middle) != outline)
                wrong += " " + std::to_string(c) + "," + std::to_string(r);
        }
    ReleaseDC(window, dc);
    return wrong.empty() ? "" : "  cells painted wrong:" + wrong + "\n";
}

// Both wells read back from their windows (the computer's in a versus game).
std::string Unpainted() {
    return PixelFaults(playerBoardWnd, playerBoard) +
           (playerBoard.mode == kVersusGame ? PixelFaults(computerBoardWnd, computerBoard) : "");
}

std::string Pos(const BrickPos& p) {
    return std::to_string(p.rotation) + "," + std::to_string(p.column) + "," + std::to_string(p.row);
}

// A board as a player sees it: the falling brick, the hint, the counts, the well's
// fixed cells from the highest row that holds one.
std::string Describe(const Board& b) {
    std::string s =
        b.curBrick ? "brick " + std::to_string(b.curBrick - brickTable.types) + " at " + Pos(b.curPos) : "no brick";
    if (b.mode == kHintGame && b.curBrick) s += ", hint " + Pos(b.hintPos);
    s += ", rows " + std::to_string(b.rowsTotal) + " (";
    for (int n = 1; n <= 4; ++n) s += std::to_string(b.clearsBySize[n]) + (n < 4 ? " " : ")");
    s += ", dealt " + std::to_string(b.bricksDealt) + "\n";
    for (int r = 0, seen = 0; r < kWellRows; ++r) {
        std::string row;
        for (int c = kFirstWellColumn; c <= kLastWellColumn; ++c) row += b.grid[c][r] ? '#' : '.';
        if ((seen |= row != "..........")) s += "    |" + row + "| " + std::to_string(r) + "\n";
    }
    return s;
}

// Adds to missing the letters of item's text that its font lacks (all when it cannot
// tell); with needs, measures the text in that font wrapped at needs.right (format).
void NoGlyph(HWND item, std::wstring& missing, RECT* needs = nullptr, UINT format = DT_WORDBREAK) {
    wchar_t text[512] = {};
    WORD glyph[512] = {};
    const int length = GetWindowTextW(item, text, 512);
    HDC dc = GetDC(item);
    HGDIOBJ font = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(item, WM_GETFONT, 0, 0)));
    const bool asked = GetGlyphIndicesW(dc, text, length, glyph, GGI_MARK_NONEXISTING_GLYPHS) != GDI_ERROR;
    if (needs) DrawTextW(dc, text, length, needs, DT_CALCRECT | DT_NOPREFIX | format);
    SelectObject(dc, font), ReleaseDC(item, dc);
    for (int i = 0; i < length; ++i)
        if ((!asked || glyph[i] == 0xFFFF) && text[i] >= L' ' && missing.find(text[i]) == std::wstring::npos)
            missing += text[i];
}

// The texts of dialog that do not fit their controls with 3 pixels (at 96 DPI) to spare
// (a read-only edit in its formatting rectangle, a group box's caption on one line),
// and the letters of every text its font cannot draw.
std::string TextsCut(HWND dialog, int& measured, std::wstring& noGlyph) {
    const int spare = MulDiv(3, ScreenDpi(), 96);
    std::string cut;
    for (HWND item = GetWindow(dialog, GW_CHILD); item; item = GetWindow(item, GW_HWNDNEXT)) {
        wchar_t kind[16] = {}, text[512] = {};
        GetClassNameW(item, kind, 16);
        const LONG style = GetWindowLongW(item, GWL_STYLE);
        const bool isEdit = lstrcmpiW(kind, L"Edit") == 0 && (style & ES_READONLY);
        const bool isText = lstrcmpiW(kind, L"Static") == 0 && (style & SS_TYPEMASK) <= SS_RIGHT;
        const bool isButton = lstrcmpiW(kind, L"Button") == 0;
        const bool isRadio = isButton && (style & BS_TYPEMASK) == BS_AUTORADIOBUTTON;
        const bool isGroup = isButton && (style & BS_TYPEMASK) == BS_GROUPBOX;
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
    board.mode = kVersusGame;
    board.bricksDealt = count;
    board.rowsTotal = static_cast<int32_t>(std::min<uint32_t>(count, INT32_MAX));
    std::fill(board.clearsBySize, board.clearsBySize + 5, board.rowsTotal);
    std::fill(board.brickTypeCount, board.brickTypeCount + kBrickTypes, board.rowsTotal);
    for (board.isComputer = 0; board.isComputer < 2; ++board.isComputer) UpdateStatsPanel(statsPanelWnd, board);
}

// Every text of the panel (its counts at their widest: seven digits, then the largest
// counts in millions), the settings dialog and the about box against its control, and
// the letters its font lacks; the controls the manifest asks for.
std::string Fit(HWND mainWindow) {
    int measured = 0;
    std::wstring noGlyph;
    std::string cut;
    for (uint32_t count : {9999999u, UINT32_MAX}) {
        ShowEveryCount(count);
        cut += TextsCut(statsPanelWnd, measured, noGlyph);
    }
    for (int id : {IDD_SETTINGS, IDD_ABOUT}) {
        HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), mainWindow,
                                         id == IDD_SETTINGS ? SettingsDlgProc : AboutDlgProc, 0);
        cut += TextsCut(dialog, measured, noGlyph);
        DestroyWindow(dialog);
    }
    ACTCTX_SECTION_KEYED_DATA redirected{};
    redirected.cbSize = sizeof redirected;
    const bool controls6 =
        FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, L"comctl32.dll", &redirected);
    return std::to_string(measured) + " texts measured, cut:" + (cut.empty() ? " none" : cut) +
           ", no glyph for: " + (noGlyph.empty() ? "none" : Utf8(noGlyph.c_str())) + ", Common Controls 6 " +
           (controls6 ? "on" : "off") + "\n";
}

// Start-up (the game's own, in a folder of its own) without a brick file, then with a
// broken one (the core's tables refuse every broken file of the fuzz corpus): the
// exit code of each, written to out.
void StartUps(std::ostream& out) {
    CreateDirectoryA("start-up", nullptr);
    SetCurrentDirectoryA("start-up");
    for (const std::string name : {"missing", "broken-ends-early.dat"}) {
        DeleteFileA("kvader.dat");
        CopyFileA((KVADER_TESTS_DIR "/../fuzz/corpus/brick_file/" + name).c_str(), "kvader.dat", FALSE);
        const int code = RunKvader(GetModuleHandleW(nullptr), SW_SHOW);  // its box writes first
        out << "  " << name << ": exit " << code << "\n";
    }
    SetCurrentDirectoryA("..");
}

// Makes the menu and caption fonts, with the menu rows and title bar, pixels high at 96
// DPI (0: as they were) as larger text does, and tells window; unsaved, as Wine ends.
void SetTextSize(int pixels, HWND window) {
    static const NONCLIENTMETRICSW before = [] {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        return SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0), metrics;
    }();
    const int height = MulDiv(pixels, ScreenDpi(), 96), was = std::abs(before.lfMenuFont.lfHeight);
    NONCLIENTMETRICSW metrics = before;
    if (pixels) {
        metrics.iMenuHeight = MulDiv(before.iMenuHeight, height, was);
        metrics.iCaptionHeight = MulDiv(before.iCaptionHeight, height, was);
        metrics.lfMenuFont.lfHeight = metrics.lfCaptionFont.lfHeight = -height;
    }
    SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    SendMessageW(window, WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, reinterpret_cast<LPARAM>(L"WindowMetrics"));
}

// The real game as another process (Wine keeps a program's menu font from its start,
// so a new menu font needs a new game): "start" starts it anew, a number is a menu
// command. Returns its client area and the height of the frame above it.
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
    return "  other game: " + std::to_string(client.right) + "x" + std::to_string(client.bottom) + ", frame above " +
           std::to_string(top.y - frame.top) + "\n";
}

BOOL CALLBACK FindBox(HWND window, LPARAM found) {  // a shown, enabled dialog or box
    wchar_t kind[16] = {};
    GetClassNameW(window, kind, 16);
    if (lstrcmpW(kind, L"#32770") == 0 && IsWindowVisible(window) && IsWindowEnabled(window))
        *reinterpret_cast<HWND*>(found) = window;
    return TRUE;
}

class Session : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        LoadTexts(GetModuleHandleW(nullptr));
        ASSERT_EQ(LoadBrickTable(brickTable), 1) << "kvader.dat must be in the working directory";
        accelerators_ = LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDA_MAIN));
        openManual = [](HWND, const wchar_t* file) { current_->out_ << "  manual opened: " << Utf8(file) << "\n"; };
    }
    void SetUp() override {
        current_ = this;
        settings = kStartSettings;
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
        SetTextSize(0, nullptr);  // also after a failure, for the runs to come
        KillTimer(nullptr, timer_);
        SetRandomDraw(nullptr);
        if (IsWindow(main_)) DestroyWindow(main_);
    }
    static void CALLBACK ModalTick(HWND, UINT, UINT_PTR, DWORD) { current_->OnModal(); }
    void OnModal();
    void Input(const std::string& verb, const std::string& arg);
    std::vector<std::string> Screen();
    void Run(const std::string& script);
    void Record(const std::string& from, const std::string& golden);

    static inline Session* current_;
    static inline HACCEL accelerators_;
    HWND main_ = nullptr, seen_ = nullptr;
    UINT_PTR timer_ = 0;
    std::ostringstream out_;
    std::vector<std::string> shown_;   // the screen last written, to write only its changes
    std::deque<std::string> answers_;  // for the dialogs and boxes to come, one a tick
};

// While a dialog or box of this thread is up: write it when it opens (its caption and
// texts; of the settings only the fields and the choice) with the wells behind it,
// then give it the next queued answer, or else OK (Cancel in the settings dialog).
void Session::OnModal() {
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&box));
    if (!box) return;
    const bool isSettings = GetDlgItem(box, IDC_SPEED_EDIT) != nullptr;
    const std::string answer = !answers_.empty() ? answers_.front() : box == seen_ ? "" : isSettings ? "cancel" : "ok";
    if (box != seen_ || answer == "look") {
        out_ << (box != seen_ ? "  open: " : "  still open: ") << Text(box);
        std::wstring noGlyph;
        for (HWND item = GetWindow(box, GW_CHILD); item; item = GetWindow(item, GW_HWNDNEXT)) {
            wchar_t kind[16] = {};
            GetClassNameW(item, kind, 16);
            const bool shown = lstrcmpiW(kind, L"Button") ? !isSettings || lstrcmpiW(kind, L"Static")
                                                          : IsDlgButtonChecked(box, GetDlgCtrlID(item)) == BST_CHECKED;
            if (shown && !Text(item).empty()) out_ << " / " << Text(item);
            NoGlyph(item, noGlyph);
        }
        out_ << (FallTimerRuns(main_) ? " (timer on)\n" : " (timer off)\n") << (box != seen_ ? Unpainted() : "")
             << (noGlyph.empty() || box == seen_ ? "" : "  no glyph for: " + Utf8(noGlyph.c_str()) + "\n");
        seen_ = box;
    }
    if (!answers_.empty()) answers_.pop_front();
    std::istringstream in(answer);
    std::string verb, field[4];
    in >> verb >> field[0] >> field[1] >> field[2] >> field[3];
    if (verb == "fill") {  // "-" for an empty field
        const int ids[] = {IDC_SPEED_EDIT, IDC_ACCEL_EDIT, IDC_INTENSITY_EDIT};
        for (int i = 0; i < 3; ++i) SetDlgItemTextA(box, ids[i], field[i] == "-" ? "" : field[i].c_str());
        CheckRadioButton(box, IDC_RANDOM_RADIO, IDC_UNSUITABLE_RADIO,
                         IDC_RANDOM_RADIO + (field[3] == "better") + 2 * (field[3] == "worse"));
    }
    if (verb == "ok" || verb == "cancel") PostMessageW(box, WM_COMMAND, verb == "ok" ? IDOK : IDCANCEL, 0);
    if (verb == "enter" || verb == "escape")  // to the control with the focus, as the keyboard would
        PostMessageW(GetFocus() ? GetFocus() : box, WM_KEYDOWN, verb == "enter" ? VK_RETURN : VK_ESCAPE, 1);
    if (verb == "close") PostMessageW(box, WM_CLOSE, 0, 0);
}

// One input through the game's loop. The fall timer's own ticks are dropped: the
// script's ticks are its own inputs.
void Session::Input(const std::string& verb, const std::string& arg) {
    wchar_t ch[4] = {};
    if (verb == "key") PostMessageW(main_, WM_KEYDOWN, KeyOf(arg), 1);
    if (verb == "char" && MultiByteToWideChar(CP_UTF8, 0, arg.c_str(), -1, ch, 4))
        PostMessageW(main_, WM_CHAR, ch[0], 1);
    if (verb == "menu") PostMessageW(main_, WM_COMMAND, static_cast<WPARAM>(atoi(arg.c_str())), 0);
    for (int i = verb == "tick" ? std::max(1, atoi(arg.c_str())) : 0; i > 0; --i) PostMessageW(main_, WM_TIMER, 99, 0);
    if (verb == "fill") {  // only the bar and the J still fit, on row 0
        std::string well = "#########.";
        for (int r = 0; r < 11; ++r) well += "/.#########/#########.";
        Draw(arg == "computer" ? computerBoard : playerBoard, well);
        InvalidateRect(arg == "computer" ? computerBoardWnd : playerBoardWnd, nullptr, FALSE);
    }
    if (verb == "counts") ShowEveryCount(static_cast<uint32_t>(strtoul(arg.c_str(), nullptr, 10)));
    if (verb == "fit") out_ << "  fit: " << Fit(main_);
    if (verb == "textsize") SetTextSize(atoi(arg.c_str()), main_);
    if (verb == "other") out_ << OtherGame(arg, main_);
    if (verb == "show") ShowWindow(main_, arg == "minimize" ? SW_MINIMIZE : SW_RESTORE);
    if (verb == "start") StartUps(out_);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        if (msg.message == WM_QUIT)
            out_ << "  quit " << msg.wParam << "\n";
        else if (msg.message != WM_TIMER || msg.hwnd != main_ || msg.wParam != FALL_TIMER)
            DispatchLoopMessage(main_, accelerators_, msg);
    if (verb == "check" && IsWindow(main_)) out_ << Unpainted();
    for (const Board* board : {&playerBoard, &computerBoard})
        if (const std::string fault = BoardFault(*board); !fault.empty()) out_ << "  unsound board: " << fault << "\n";
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
        window += " " + std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) +
                  "x" + std::to_string(r.bottom - r.top);
    }
    MENUBARINFO bar{};
    bar.cbSize = sizeof bar;
    GetMenuBarInfo(main_, OBJID_MENU, 0, &bar);
    window += ", menu bar " + std::to_string(bar.rcBar.bottom - bar.rcBar.top) + (IsIconic(main_) ? ", minimized" : "");
    window += std::string(", timer ") + (FallTimerRuns(main_) ? "on" : "off") + ", paused " +
              std::to_string(settings.paused) + ", game over " + std::to_string(settings.gameOver) + "\n";
    return {"  player: " + Describe(playerBoard), "  computer: " + Describe(computerBoard), panel + "\n", window};
}

// A script line is a verb and its arguments, each argument one input: key NAME (Left
// Right Down Return Space Escape F5, a letter or digit), char C (a character alone, as
// Shift, the keypad or a layout makes it), menu ID, tick N (N ticks of the fall timer),
// fill player|computer (only the bar and the J still fit), check (the wells' pixels),
// counts N (every count of the panel), fit (every text against its control), start
// (start-up without a brick file and with a broken one), textsize N (the system's text N pixels high
// at 96 DPI, 0 as before), other start|ID (the real game as another process, started
// anew or given a menu command; its client area and the frame above it), show
// minimize|restore (the session's own window). "answer A; B" queues answers for the
// boxes to come: fill SPEED PERIOD INTENSITY random|better|worse ("-" empty), ok,
// cancel, enter, escape, close, look (write it again).
void Session::Run(const std::string& script) {
    std::istringstream lines(script);
    for (std::string line, verb; std::getline(lines, line) && IsWindow(main_);) {
        std::istringstream in(line);
        if (!(in >> verb) || verb[0] == '#') continue;
        std::vector<std::string> args;
        for (std::string arg; std::getline(in >> std::ws, arg, verb == "answer" ? ';' : ' ');) args.push_back(arg);
        if (verb == "answer") {
            answers_.insert(answers_.end(), args.begin(), args.end());
            continue;
        }
        ASSERT_NE(
            std::string(" key char menu tick fill check counts fit start textsize other show ").find(" " + verb + " "),
            std::string::npos)
            << "not understood: " << line;
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

// Runs session.txt from the text from on and compares what it shows with golden
// (KVADER_GOLDEN=1 rewrites it), once Windows is seen to give the code page and DPI
// that KVADER_CODE_PAGE and KVADER_DPI ask for (1252 and 96 by default).
void Session::Record(const std::string& from, const std::string& golden) {
    const char *codePage = getenv("KVADER_CODE_PAGE"), *dpi = getenv("KVADER_DPI");
    ASSERT_EQ(std::to_string(GetACP()) + " " + std::to_string(ScreenDpi()),
              std::string(codePage ? codePage : "1252") + " " + (dpi ? dpi : "96"))
        << "Windows gave this run another code page and DPI than it asked for";
    const std::string lines = ReadFile(KVADER_TESTS_DIR "/session.txt");
    Run(lines.substr(lines.find(from)));
    if (getenv("KVADER_GOLDEN")) std::ofstream(golden, std::ios::binary) << out_.str();
    std::istringstream got(out_.str()), want(ReadFile(golden));
    std::string g, w;
    for (int line = 1; std::getline(want, w); ++line)
        ASSERT_TRUE(std::getline(got, g) && g == w)
            << "line " << line << " of " << golden << ": " << w << "\nbut the session shows: " << g;
    EXPECT_FALSE(std::getline(got, g)) << "the session goes on: " << g;
}

// The whole session, on a Western code page at 96 DPI.
TEST_F(Session, RecordedInputsShowWhatTheyShowed) { Record("", KVADER_TESTS_DIR "/golden/session.txt"); }

// The session's layout part, at the code page and DPI of the run, in
// golden/layout-CODEPAGE-DPIdpi.txt.
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

// The storm: the script's lines in random order, each with its answers (no Escape,
// text fit, start-up, text size, other game or minimizing), for KVADER_STORM_SECONDS
// (60), repeated by KVADER_STORM_SEED; after each line what must always hold.
TEST_F(Session, StormOfRandomInputLeavesTheGameSound) {
    std::vector<std::string> lines;
    std::string line, answers, fault;
    for (std::istringstream script(ReadFile(KVADER_TESTS_DIR "/session.txt")); std::getline(script, line);) {
        if (line.rfind("answer", 0) == 0) answers += line + "\n";
        if (line.empty() || line[0] == '#' || line.rfind("answer", 0) == 0) continue;
        if (line != "key Escape" && line != "fit" && line != "start" && line.rfind("textsize", 0) &&
            line.rfind("other", 0) && line.rfind("show", 0))
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
        out_.str("");
        answers_.clear();
        const auto before = std::chrono::steady_clock::now();
        Run(input);
        const std::string said = out_.str();
        gameOvers += said.find("GAME OVER!") != std::string::npos;
        refusals += said.find("Hodnoty nesm") != std::string::npos;
        if (std::chrono::steady_clock::now() - before > std::chrono::seconds(3)) fault = "no answer within 3 seconds";
        if (said.find("unsound") != std::string::npos || said.find("painted wrong") != std::string::npos) fault = said;
        if (settings.gameOver && FallTimerRuns(main_)) fault = "the fall timer runs while no game does";
        if (!settings.gameOver &&
            Text(GetDlgItem(statsPanelWnd, IDC_SPEED)) != "Rychlost: " + std::to_string(settings.curInterval / 10))
            fault = "the speed label does not show curInterval " + std::to_string(settings.curInterval);
        fault = fault.empty() ? "" : input + ": " + fault;
    }
    answers_.clear();
    EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&after));
    EXPECT_EQ(fault, "") << "KVADER_STORM_SEED=" << seed << " repeats it";
    EXPECT_EQ(after, windows) << "the process has other windows after the storm than before";
    printf("storm seed %u: %d lines in %u s, %d games over, %d settings refused\n", seed, count, seconds, gameOvers,
           refusals);
    EXPECT_TRUE(seconds < 30 || (gameOvers > 0 && refusals > 0)) << "a minute should end games and refuse settings";
}

// What no input reaches: an update rectangle beyond the window and a rotation out of
// range are clamped or ignored, so the painter never draws outside the grid nor reads
// outside a brick.
TEST(Painter, ClampsWhatNoInputReaches) {
    const CellRange cells = CellsOfRect(RECT{100, 200, 200, 420});
    EXPECT_EQ(std::vector<int>({cells.firstColumn, cells.firstRow, cells.lastColumn, cells.lastRow}),
              std::vector<int>({6, 12, 11, 24}));
    HDC screen = GetDC(nullptr), dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, CreateCompatibleBitmap(screen, BoardPixelsWide(), BoardPixelsHigh()));
    Board board{};
    ResetBoard(board);
    PaintCells(dc, board.grid, -3, -5, 12, 25);
    EXPECT_EQ(GetPixel(dc, 11 * 16 + 7, 24 * 16 + 7), RGB(128, 128, 128)) << "the corner of wall and floor";
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
