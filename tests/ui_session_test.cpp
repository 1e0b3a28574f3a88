// A recorded session of the real main window: the inputs of tests/session.txt go
// through the game's own message loop (accelerators, translation, dispatch; the
// dialogs and boxes run their own loops and are answered from a timer), and after
// each input what a player can see is written: both wells, the panel, the window,
// the fall timer, the pause, and every box or dialog that opened with its texts, its
// wells checked pixel by pixel while it was up. The output must equal
// tests/golden/session.txt; KVADER_GOLDEN=1 rewrites that file instead.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "ai/chooser.h"
#include "board_check.h"
#include "res/resource.h"
#include "sim/simulator.h"
#include "test_boards.h"
#include "ui/app.h"
#include "ui/board_window.h"
#include "ui/paint.h"
#include "ui/run_state.h"
#include "ui_pixels.h"
#include "ui_shell_fixture.h"

namespace {

// Named keys; a single letter or digit is the key of that label.
const struct {
    const char* name;
    WPARAM key;
} kKeys[] = {{"Left", VK_LEFT},   {"Right", VK_RIGHT},   {"Down", VK_DOWN}, {"Return", VK_RETURN},
             {"Space", VK_SPACE}, {"Escape", VK_ESCAPE}, {"F5", VK_F5}};

// The virtual key of a name, 0 for none.
WPARAM KeyOf(const std::string& name) {
    for (const auto& k : kKeys)
        if (name == k.name) return k.key;
    return name.size() == 1 && isalnum(static_cast<unsigned char>(name[0])) ? static_cast<WPARAM>(toupper(name[0])) : 0;
}

uint32_t drawState;  // the simulator's generator, so that the bricks are the same everywhere
int NextDraw() {
    drawState = drawState * kDrawMultiplier + kDrawIncrement;
    return static_cast<int>((drawState >> 16) & 32767);
}

std::string Utf8(const std::wstring& text) {
    std::string s(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr)),
                  '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &s[0], static_cast<int>(s.size()), nullptr, nullptr);
    s.pop_back();
    for (char& c : s)
        if (c == '\r' || c == '\n') c = '|';
    return s;
}

std::string Pos(const BrickPos& p) {
    return std::to_string(p.rotation) + "," + std::to_string(p.column) + "," + std::to_string(p.row);
}

// One line for a board: its falling brick and hint, rows and bricks counted.
std::string BoardLine(const Board& b) {
    std::string s =
        b.curBrick ? "brick " + std::to_string(b.curBrick - brickTable.types) + " at " + Pos(b.curPos) : "no brick";
    if (b.mode == kHintGame && b.curBrick) s += ", hint " + Pos(b.hintPos);
    s += ", rows " + std::to_string(b.rowsTotal) + " (";
    for (int n = 1; n <= 4; ++n) s += std::to_string(b.clearsBySize[n]) + (n < 4 ? " " : ")");
    return s + ", dealt " + std::to_string(b.bricksDealt);
}

// The well's fixed cells, from the highest row that holds one.
std::string Grid(const Board& b) {
    std::string s;
    for (int r = 0; r < kWellRows; ++r) {
        std::string row;
        for (int c = kFirstWellColumn; c <= kLastWellColumn; ++c) row += b.grid[c][r] ? '#' : '.';
        if (!s.empty() || row != "..........") s += "  |" + row + "| " + std::to_string(r) + "\n";
    }
    return s.empty() ? "  (empty)\n" : s;
}

class Session : public Shell {
  protected:
    void Run(const std::string& script);
    bool Input(const std::string& line);
    void Describe();
    std::string Storm(unsigned seed, unsigned seconds);
    void Pump();
    void Write(const std::string& what, const std::string& now, std::string& before);
    void OnModal();
    static void CALLBACK ModalTick(HWND, UINT, UINT_PTR, DWORD);

    static Session* current_;
    std::ostringstream out_;
    std::string shown_[7];             // what was last written of each part, to write only changes
    std::deque<std::string> answers_;  // for the dialogs and boxes to come, one a tick
    HWND seen_ = nullptr, defaulted_ = nullptr;
    long stormInputs_ = 0, stormGameOvers_ = 0, stormRefusals_ = 0;
};
Session* Session::current_;

void CALLBACK Session::ModalTick(HWND, UINT, UINT_PTR, DWORD) { current_->OnModal(); }

// The dialog or box that takes the input now: shown and enabled, of this thread.
BOOL CALLBACK FindBoxOfThread(HWND window, LPARAM found) {
    wchar_t kind[16] = {};
    GetClassNameW(window, kind, 16);
    if (lstrcmpW(kind, L"#32770") == 0 && IsWindowVisible(window) && IsWindowEnabled(window))
        *reinterpret_cast<HWND*>(found) = window;
    return TRUE;
}

// What a dialog or box shows: its caption and texts (of the settings dialog only its
// fields, whose fixed texts the text-fit test measures), and whether the timer runs.
std::wstring BoxTexts(HWND box, bool isSettings, HWND mainWindow) {
    wchar_t caption[64] = {};
    GetWindowTextW(box, caption, 64);
    std::wstring texts = caption;
    if (isSettings) {
        for (int id : {IDC_SPEED_EDIT, IDC_ACCEL_EDIT, IDC_INTENSITY_EDIT}) texts += L" / " + ItemText(box, id);
        for (int id = IDC_RANDOM_RADIO; id <= IDC_UNSUITABLE_RADIO; ++id)
            if (IsDlgButtonChecked(box, id)) texts += L" / " + ItemText(box, id);
    } else {
        for (HWND item = GetWindow(box, GW_CHILD); item; item = GetWindow(item, GW_HWNDNEXT)) {
            wchar_t text[512] = {};
            GetWindowTextW(item, text, 512);
            if (*text && GetDlgCtrlID(item) != IDOK) texts += L" / " + std::wstring(text);
        }
    }
    return texts + (FallTimerRunning(mainWindow) ? L" (timer on)" : L" (timer off)");
}

// While a dialog or box is up: write it when it opens and check the wells behind it,
// then act on it: the next queued answer, or else OK (Cancel in the settings dialog).
void Session::OnModal() {
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindBoxOfThread, reinterpret_cast<LPARAM>(&box));
    if (!box) return;
    wchar_t caption[64] = {};
    GetWindowTextW(box, caption, 64);
    const bool isSettings = lstrcmpW(caption, kSettingsCaption) == 0;
    if (box != seen_) {
        seen_ = box;
        out_ << "  open: " << Utf8(BoxTexts(box, isSettings, main_)) << "\n";
        ::testing::AssertionResult player = PaintedAsItsBoard(playerBoardWnd, playerBoard);
        ::testing::AssertionResult computer = playerBoard.mode == kVersusGame
                                                  ? PaintedAsItsBoard(computerBoardWnd, computerBoard)
                                                  : ::testing::AssertionSuccess();
        if (!player || !computer) out_ << "  pixels: " << player.message() << computer.message() << "\n";
    }
    if (answers_.empty()) {
        if (box != defaulted_) PostMessageW(box, WM_COMMAND, isSettings ? IDCANCEL : IDOK, 0);
        defaulted_ = box;
        return;
    }
    std::istringstream answer(answers_.front());
    answers_.pop_front();
    std::string verb, speed, period, intensity, selection;
    answer >> verb >> speed >> period >> intensity >> selection;
    if (verb == "fill") {  // "-" for an empty field
        for (auto [id, text] :
             {std::pair{IDC_SPEED_EDIT, speed}, {IDC_ACCEL_EDIT, period}, {IDC_INTENSITY_EDIT, intensity}})
            SetDlgItemTextA(box, id, text == "-" ? "" : text.c_str());
        const int radio = selection == "better"  ? IDC_SUITABLE_RADIO
                          : selection == "worse" ? IDC_UNSUITABLE_RADIO
                                                 : IDC_RANDOM_RADIO;
        CheckRadioButton(box, IDC_RANDOM_RADIO, IDC_UNSUITABLE_RADIO, radio);
    }
    if (verb == "ok" || verb == "cancel") PostMessageW(box, WM_COMMAND, verb == "ok" ? IDOK : IDCANCEL, 0);
    if (verb == "enter" || verb == "escape") {  // to the control with the focus, as the keyboard would
        HWND focus = GetFocus();
        PostMessageW(focus ? focus : box, WM_KEYDOWN, verb == "enter" ? VK_RETURN : VK_ESCAPE, 1);
    }
    if (verb == "close") PostMessageW(box, WM_CLOSE, 0, 0);
    if (verb == "look") out_ << "  still open: " << Utf8(BoxTexts(box, isSettings, main_)) << "\n";
}

// Runs the queue through the game's loop until nothing is left. Ticks of the real fall
// timer are dropped: the session's ticks are its own inputs.
void Session::Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_TIMER && msg.hwnd == main_ && msg.wParam == FALL_TIMER) continue;
        if (msg.message == WM_QUIT) {
            out_ << "  quit " << msg.wParam << "\n";
            continue;
        }
        DispatchLoopMessage(main_, accelerators_, msg);
    }
}

void Session::Write(const std::string& what, const std::string& now, std::string& before) {
    if (now != before) out_ << "  " << what << now << (now.back() == '\n' ? "" : "\n");
    before = now;
}

// Handles one line of a script: an answer is queued, an input goes through the loop
// (and is written out). False when the line is not understood.
bool Session::Input(const std::string& line) {
    std::istringstream in(line);
    std::string verb, arg;
    in >> verb >> arg;
    if (verb == "answer") {
        answers_.push_back(line.substr(verb.size() + 1));
        return true;
    }
    out_ << "> " << line << "\n";
    const char* const kVerbs[] = {"key", "char", "menu", "tick", "fill", "check"};
    if (std::count(std::begin(kVerbs), std::end(kVerbs), verb) != 1 || (verb == "key" && KeyOf(arg) == 0)) return false;
    const int times = verb == "tick" ? std::max(1, atoi(arg.c_str())) : 1;
    for (int i = 0; i < times && IsWindow(main_); ++i) {
        if (verb == "key") PostMessageW(main_, WM_KEYDOWN, KeyOf(arg), 1);
        if (verb == "char") {
            std::wstring ch(4, L'\0');
            MultiByteToWideChar(CP_UTF8, 0, arg.c_str(), -1, &ch[0], 4);
            PostMessageW(main_, WM_CHAR, ch[0], 1);
        }
        if (verb == "menu") PostMessageW(main_, WM_COMMAND, static_cast<WPARAM>(atoi(arg.c_str())), 0);
        if (verb == "tick") PostMessageW(main_, WM_TIMER, 99, 0);
        if (verb == "fill") {  // fills a well: only the bar and the J fit, on row 0
            Board& board = arg == "computer" ? computerBoard : playerBoard;
            Draw(board, NearlyFullWell().c_str());
            InvalidateRect(arg == "computer" ? computerBoardWnd : playerBoardWnd, nullptr, FALSE);
        }
        Pump();
    }
    if (verb == "check") {
        EXPECT_TRUE(PaintedAsItsBoard(playerBoardWnd, playerBoard)) << line;
        if (playerBoard.mode == kVersusGame) {
            EXPECT_TRUE(PaintedAsItsBoard(computerBoardWnd, computerBoard)) << line;
        }
    }
    if (!IsWindow(main_)) return true;
    for (const Board* board : {&playerBoard, &computerBoard})
        if (const std::string fault = BoardFault(*board); !fault.empty()) out_ << "  unsound board: " << fault << "\n";
    return true;
}

// Writes what changed of what a player sees.
void Session::Describe() {
    Write("player: ", BoardLine(playerBoard), shown_[0]);
    Write("player well:\n", Grid(playerBoard), shown_[1]);
    Write("computer: ", BoardLine(computerBoard), shown_[2]);
    Write("computer well:\n", Grid(computerBoard), shown_[3]);
    std::string panel;
    for (int id = IDC_SPEED; id <= IDC_BRICKS_TYPE0 + kBrickTypes - 1; ++id)
        panel += Utf8(ItemText(statsPanelWnd, id)) + (id == IDC_SPEED || id == IDC_FOURS_RIGHT ? " | " : ",");
    Write("panel: ", panel, shown_[4]);
    std::string layout;
    for (HWND child : {playerBoardWnd, statsPanelWnd, computerBoardWnd}) {
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, main_, reinterpret_cast<POINT*>(&r), 2);
        layout += std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" +
                  std::to_string(r.bottom - r.top) + (child == computerBoardWnd ? "" : ", ");
    }
    Write("layout: ", layout, shown_[6]);
    const SIZE size = ClientSize();
    Write("window: ",
          std::to_string(size.cx - panelWidth) + "+panel x " + std::to_string(size.cy) + ", timer " +
              (FallTimerRunning(main_) ? "on" : "off") + ", paused " + std::to_string(settings.paused) +
              ", game over " + std::to_string(settings.gameOver) + ", manual " + std::to_string(manualRequests_) +
              (manualOpened_.empty() ? "" : " " + Utf8(manualOpened_)),
          shown_[5]);
}

void Session::Run(const std::string& script) {
    current_ = this;
    drawState = 1;
    SetRandomDraw(NextDraw);
    const UINT_PTR timer = SetTimer(nullptr, 0, 30, ModalTick);
    std::istringstream lines(script);
    for (std::string line; std::getline(lines, line) && IsWindow(main_);) {
        if (line.empty() || line[0] == '#') continue;
        ASSERT_TRUE(Input(line)) << "not understood: " << line;
        if (IsWindow(main_) && line.rfind("answer", 0) != 0) Describe();
    }
    KillTimer(nullptr, timer);
    SetRandomDraw(nullptr);
}

BOOL CALLBACK CountChild(HWND, LPARAM count) { return ++*reinterpret_cast<int*>(count), TRUE; }

BOOL CALLBACK CountOwnWindow(HWND window, LPARAM count) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId()) CountChild(window, count), EnumChildWindows(window, CountChild, count);
    return TRUE;
}

// Windows of this process, top-level and children.
int CountWindows() {
    int count = 0;
    EnumWindows(CountOwnWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

// A storm: for the given time, random inputs with the weights of a player's hands
// (mostly playing; now and then a new game, the pause, or a dialog answered at random,
// with values in and out of range), and after each what must always hold. Exit is left
// out: it would end the storm. Returns the first fault, empty when none.
std::string Session::Storm(unsigned seed, unsigned seconds) {
    static const struct {
        int weight;
        const char* line;
    } kInputs[] = {
        {110, "key Left"}, {110, "key Right"}, {90, "key Down"}, {90, "key Z"},   {60, "key X"},   {120, "key Return"},
        {20, "key Space"}, {40, "letter"},     {16, "game key"}, {3, "key R"},    {3, "digit"},    {8, "menu 205"},
        {8, "game menu"},  {3, "menu 206"},    {3, "menu 207"},  {3, "menu 208"}, {313, "tick 1"},
    };
    std::mt19937 rng(seed);
    const auto pick = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    const auto field = [&pick]() -> std::string {  // a settings field, now and then one the dialog refuses
        static const char* const kRefused[] = {"-", "0", "abc", "99999999999"};
        return pick(5) == 0 ? kRefused[pick(4)] : std::to_string(1 + pick(pick(6) == 0 ? 6001 : 60));
    };
    current_ = this;
    const UINT_PTR timer = SetTimer(nullptr, 0, 30, ModalTick);
    const int windows = CountWindows();
    std::string fault;
    for (const auto start = std::chrono::steady_clock::now();
         fault.empty() && std::chrono::steady_clock::now() - start < std::chrono::seconds(seconds);) {
        const auto* input = kInputs;
        for (int roll = pick(1000); roll >= input->weight && input + 1 < std::end(kInputs);) roll -= (input++)->weight;
        std::string line = input->line;
        if (line == "letter" || line == "digit")
            line = "key " + std::string(1, static_cast<char>(line == "letter" ? 'A' + pick(26) : '0' + pick(10)));
        if (line == "game key") line = "key " + std::to_string(1 + pick(4));
        if (line == "game menu") line = "menu " + std::to_string(IDM_STANDARD_GAME + pick(4));
        if (line == "key R" || line == "menu 206") {
            static const char* const kSelections[] = {"random", "better", "worse"};
            if (pick(10) < 7)
                answers_.push_back("fill " + field() + " " + field() + " " + field() + " " + kSelections[pick(3)]);
            static const char* const kWaysOut[] = {"ok", "ok", "ok", "enter", "cancel", "escape", "close"};
            answers_.push_back(kWaysOut[pick(7)]);
        }
        if (line == "menu 208") answers_.push_back(pick(2) ? "escape" : "enter");
        out_.str("");
        const auto before = std::chrono::steady_clock::now();
        Input(line);
        const std::string said = out_.str();
        stormGameOvers_ += said.find("GAME OVER!") != std::string::npos;
        stormRefusals_ += said.find("Hodnoty nesm") != std::string::npos;
        if (std::chrono::steady_clock::now() - before > std::chrono::seconds(1))
            fault = line + ": no answer within a second";
        else if (said.find("unsound") != std::string::npos || said.find("pixels") != std::string::npos)
            fault = said;
        else if (settings.gameOver && FallTimerRunning(main_))
            fault = line + ": the fall timer runs while no game does";
        else if (!settings.gameOver &&
                 ItemText(statsPanelWnd, IDC_SPEED) != L"Rychlost: " + std::to_wstring(settings.curInterval / 10))
            fault = line + ": the speed label does not show curInterval " + std::to_string(settings.curInterval);
        ++stormInputs_;
    }
    KillTimer(nullptr, timer);
    answers_.clear();
    if (fault.empty() && CountWindows() != windows) fault = "the process has other windows after the storm than before";
    return fault;
}

std::string ReadFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST_F(Session, RecordedInputsShowWhatTheyShowed) {
    Run(ReadFile(KVADER_TESTS_DIR "/session.txt"));
    const std::string golden = KVADER_TESTS_DIR "/golden/session.txt";
    if (getenv("KVADER_GOLDEN")) {
        std::ofstream(golden, std::ios::binary) << out_.str();
        return;
    }
    std::istringstream got(out_.str()), want(ReadFile(golden.c_str()));
    std::string g, w;
    for (int line = 1; std::getline(want, w); ++line) {
        const bool more = static_cast<bool>(std::getline(got, g));
        ASSERT_TRUE(more && g == w) << "line " << line << " of golden/session.txt: " << w
                                    << "\nbut the session shows: " << g;
    }
    EXPECT_FALSE(std::getline(got, g)) << "the session goes on: " << g;
}

unsigned EnvNumber(const char* name, unsigned otherwise) {
    const char* value = getenv(name);
    return value != nullptr && *value != '\0' ? static_cast<unsigned>(strtoul(value, nullptr, 10)) : otherwise;
}

// The storm: a minute (KVADER_STORM_SECONDS) of random input, repeated by
// KVADER_STORM_SEED. The fall timer's own ticks are dropped, so a seed repeats exactly.
TEST_F(Session, StormOfRandomInputLeavesTheGameSound) {
    const unsigned seed = EnvNumber("KVADER_STORM_SEED", static_cast<unsigned>(GetTickCount()));
    const unsigned seconds = EnvNumber("KVADER_STORM_SECONDS", 60);
    EXPECT_EQ(Storm(seed, seconds), "") << "KVADER_STORM_SEED=" << seed << " repeats it";
    printf("storm seed %u: %ld inputs in %u s, %ld games over, %ld settings refused\n", seed, stormInputs_, seconds,
           stormGameOvers_, stormRefusals_);
    if (seconds >= 30) {  // a shorter storm may end no game
        EXPECT_GT(stormGameOvers_, 0) << "no game ended";
        EXPECT_GT(stormRefusals_, 0) << "no settings were refused";
    }
}

// What no input reaches: an update rectangle beyond the window, a range beyond the
// grid and a rotation out of range are clamped or ignored, so the painter never draws
// outside the grid nor reads outside a brick.
TEST(Painter, ClampsWhatNoInputReaches) {
    const CellRange cells = CellsOfRect(RECT{100, 200, 200, 420});  // last column 12, last row 26
    EXPECT_EQ(cells.firstColumn * 1000 + cells.firstRow * 100 + cells.lastColumn * 10 + cells.lastRow,
              6000 + 1200 + 110 + 24);
    HDC screen = GetDC(nullptr), dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, kBoardPixelsWide, kBoardPixelsHigh);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const RECT all{0, 0, kBoardPixelsWide, kBoardPixelsHigh};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    Board board = Well();
    PaintCells(dc, board.grid, -3, -5, 12, 25);
    EXPECT_EQ(GetPixel(dc, 11 * 16 + 7, 24 * 16 + 7), RGB(128, 128, 128)) << "the corner of wall and floor";
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SelectObject(dc, GetStockObject(BLACK_BRUSH));
    for (int rotation : {-1, kMaxRotations}) DrawBrick(dc, Shipped(kBar), BrickPos{rotation, 4, 10});
    int drawn = 0;
    for (int x = 0; x < kBoardPixelsWide; ++x)
        for (int y = 0; y < kBoardPixelsHigh; ++y) drawn += GetPixel(dc, x, y) != RGB(255, 255, 255);
    EXPECT_EQ(drawn, 0) << "a rotation out of range draws nothing";
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

}  // namespace
