// The real main window under a storm of input. For a minute (KVADER_STORM_SECONDS)
// a second thread does what a player could do, through the game thread's message
// queue: key presses (which the game's own loop turns into characters and
// accelerators), menu commands, timer ticks, and answers to whatever dialog or box
// is open. Exit (Escape, command 209) is left out: it ends the run, and the
// end-to-end test plays it. Every second the game must answer within a second, both
// boards must be sound, the speed label must show curInterval and no fall timer may
// run without a game; at the end the process must have the windows it began with.
// KVADER_STORM_SEED repeats the inputs (the fall timer's own ticks follow the clock).
// GDI objects are not counted: Wine has no GetGuiResources, and the painting uses
// stock objects only.
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <thread>

#include "board_check.h"
#include "res/resource.h"
#include "ui/app.h"
#include "ui/board_window.h"
#include "ui/main_window.h"
#include "ui/run_state.h"
#include "ui_shell_fixture.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr UINT WM_STORM_MARK = WM_APP + 1;   // wParam: the driver's count of inputs, now all handled
constexpr UINT WM_STORM_CHECK = WM_APP + 2;  // check the game on its own thread
constexpr auto kAnswer = std::chrono::milliseconds(1000);

HWND mainWindow;
std::atomic<uint32_t> handled{0};
std::string checkFault;  // written on the game's thread inside a sent message, read after it

unsigned EnvNumber(const char* name, unsigned otherwise) {
    const char* value = getenv(name);
    return value != nullptr && *value != '\0' ? static_cast<unsigned>(strtoul(value, nullptr, 10)) : otherwise;
}

// What must hold whenever the game waits for input.
std::string CheckGame() {
    if (std::string fault = BoardFault(playerBoard); !fault.empty()) return "the player's board: " + fault;
    if (std::string fault = BoardFault(computerBoard); !fault.empty()) return "the computer's board: " + fault;
    if (settings.gameOver) return FallTimerRunning(mainWindow) ? "the fall timer runs while no game does" : "";
    if (ItemText(statsPanelWnd, IDC_SPEED) != L"Rychlost: " + std::to_wstring(settings.curInterval / 10))
        return "the speed label does not show curInterval " + std::to_string(settings.curInterval);
    return {};
}

LRESULT CALLBACK HelperProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_STORM_MARK) handled = static_cast<uint32_t>(wParam);
    if (message == WM_STORM_CHECK) checkFault = CheckGame();
    return DefWindowProcW(window, message, wParam, lParam);
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

// The dialog that takes input (a box opened over a dialog disables that dialog).
BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (std::wstring(name) == L"#32770" && IsWindowVisible(window) && IsWindowEnabled(window))
        *reinterpret_cast<HWND*>(found) = window;
    return TRUE;
}

std::wstring Caption(HWND window) {
    wchar_t text[128] = {};
    GetWindowTextW(window, text, 128);
    return text;
}

// What a player does to the main window, with weights per thousand: mostly playing,
// now and then a new game, a dialog or the pause, so that games also run to their end.
enum Kind { kKey, kCommand, kTick };
const struct Input {
    int weight;
    Kind kind;
    UINT what;  // key (0: a random letter, 1: a random digit) or command
    const char* name;
} kInputs[] = {
    // clang-format off
    {110, kKey, VK_LEFT, "Left"},        {110, kKey, VK_RIGHT, "Right"},      {90, kKey, VK_DOWN, "Down"},
    {90, kKey, 'Z', "Z"},                {60, kKey, 'X', "X"},                {120, kKey, VK_RETURN, "Enter"},
    {20, kKey, VK_SPACE, "Space"},       {40, kKey, 0, "a letter"},           {4, kKey, '1', "1"},
    {4, kKey, '2', "2"},                 {4, kKey, '3', "3"},                 {4, kKey, '4', "4"},
    {3, kKey, 'R', "R"},                 {3, kKey, 1, "a digit"},             {8, kCommand, IDM_PAUSE, "pause"},
    {2, kCommand, IDM_STANDARD_GAME, "command 201"}, {2, kCommand, IDM_AUTOMATIC_GAME, "command 202"},
    {2, kCommand, IDM_HINT_GAME, "command 203"},     {2, kCommand, IDM_VERSUS_GAME, "command 204"},
    {3, kCommand, IDM_SETTINGS, "settings"},         {3, kCommand, IDM_MANUAL, "manual"},
    {3, kCommand, IDM_ABOUT, "about"},   {313, kTick, 0, "timer tick"},
    // clang-format on
};

class Driver {
  public:
    Driver(DWORD gameThread, HWND helper, unsigned seed) : gameThread_(gameThread), helper_(helper), rng_(seed) {}

    // Storms for the given time, then closes what is open. Empty when all went well.
    std::string Run(unsigned seconds) {
        const auto start = Clock::now();
        auto lastCheck = start;
        while (failure_.empty() && Clock::now() - start < std::chrono::seconds(seconds)) {
            if (HWND dialog = OpenDialog()) {
                Answer(dialog);
            } else {
                ToMainWindow();
                if (Clock::now() - lastCheck > kAnswer) Check(), lastCheck = Clock::now();
            }
            Settle();
        }
        for (int tries = 0; failure_.empty() && OpenDialog() != nullptr; ++tries, Settle()) {
            if (tries == 50) return "a dialog would not close";
            HWND dialog = OpenDialog();
            PostMessageW(dialog, WM_COMMAND, Caption(dialog) == kSettingsCaption ? IDCANCEL : IDOK, 0);
        }
        if (failure_.empty()) Check();
        return failure_;
    }

    std::map<std::string, int> sent;

  private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

    HWND OpenDialog() const {
        HWND found = nullptr;
        EnumThreadWindows(gameThread_, FindDialog, reinterpret_cast<LPARAM>(&found));
        return found;
    }

    // Waits until the game has handled every input so far, and what those inputs
    // queued in turn (the characters that keys make).
    void Settle() {
        for (int round = 0; round < 2 && failure_.empty(); ++round) {
            const uint32_t mark = ++marks_;
            PostMessageW(helper_, WM_STORM_MARK, mark, 0);
            for (const auto start = Clock::now(); handled < mark; Sleep(1)) {
                if (Clock::now() - start > kAnswer) {
                    failure_ = "the game did not answer within a second";
                    return;
                }
            }
        }
    }

    void Check() {
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(helper_, WM_STORM_CHECK, 0, 0, SMTO_NORMAL, kAnswer.count(), &result))
            failure_ = "the game did not answer a check within a second";
        else if (!checkFault.empty())
            failure_ = checkFault;
        ++sent["checkpoints"];
    }

    static void Key(HWND window, UINT key) {
        const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
        PostMessageW(window, WM_KEYDOWN, key, scan | 1);
        PostMessageW(window, WM_KEYUP, key, scan | 1 | (1 << 30) | (1u << 31));
    }

    void ToMainWindow() {
        const Input* input = kInputs;
        for (int roll = Pick(1000); roll >= input->weight && input + 1 < std::end(kInputs);) roll -= (input++)->weight;
        ++sent[input->kind == kKey ? std::string("key ") + input->name : input->name];
        if (input->kind == kTick) PostMessageW(mainWindow, WM_TIMER, FALL_TIMER, 0);
        if (input->kind == kCommand) PostMessageW(mainWindow, WM_COMMAND, input->what, 0);
        if (input->kind != kKey) return;
        const UINT key = input->what == 0 ? 'A' + Pick(26) : input->what == 1 ? '0' + Pick(10) : input->what;
        Key(mainWindow, key);
    }

    // A value for a settings field: mostly one the dialog takes, sometimes not.
    std::wstring FieldValue(int id) {
        static const wchar_t* const kInvalid[] = {L"", L"0", L"abc", L"-5", L"99999999999"};
        if (Pick(5) == 0) return kInvalid[Pick(5)];
        if (id == IDC_SPEED_EDIT) return std::to_wstring(Pick(6) == 0 ? 1 + Pick(6001) : 1 + Pick(60));
        if (id == IDC_ACCEL_EDIT) return std::to_wstring(1 + Pick(30));
        return std::to_wstring(Pick(10) == 0 ? 4000000000u : 1u + static_cast<unsigned>(Pick(25)));
    }

    // A key to the control with the focus, or the command straight to the dialog.
    void KeyOrCommand(HWND dialog, UINT key, int command) {
        GUITHREADINFO focus{};
        focus.cbSize = sizeof focus;
        GetGUIThreadInfo(gameThread_, &focus);
        if (Pick(2))
            Key(focus.hwndFocus != nullptr ? focus.hwndFocus : dialog, key);
        else
            PostMessageW(dialog, WM_COMMAND, command, 0);
    }

    void Answer(HWND dialog) {
        const std::wstring caption = Caption(dialog);
        const int roll = Pick(10);
        if (caption == kSettingsCaption && roll < 5) {
            static const int kFields[] = {IDC_SPEED_EDIT, IDC_ACCEL_EDIT, IDC_INTENSITY_EDIT};
            const int id = kFields[Pick(3)];
            DWORD_PTR ignored;
            SendMessageTimeoutW(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(FieldValue(id).c_str()),
                                SMTO_NORMAL, kAnswer.count(), &ignored);
            ++sent["settings: a field typed"];
        } else if (caption == kSettingsCaption && roll < 7) {
            PostMessageW(GetDlgItem(dialog, IDC_RANDOM_RADIO + Pick(3)), BM_CLICK, 0, 0);
            ++sent["settings: a selection clicked"];
        } else if (caption == kSettingsCaption) {
            KeyOrCommand(dialog, roll < 9 ? VK_RETURN : VK_ESCAPE, roll < 9 ? IDOK : IDCANCEL);
            ++sent[roll < 9 ? "settings: OK" : "settings: Cancel"];
        } else if (caption == kAboutCaption) {
            KeyOrCommand(dialog, roll < 5 ? VK_ESCAPE : VK_RETURN, IDOK);
            ++sent["about box closed"];
        } else {
            const bool gameOver = MessageBoxText(dialog) == L"GAME OVER!";
            KeyOrCommand(dialog, VK_RETURN, IDOK);
            ++sent[gameOver ? "box answered: game over" : "box answered: bad settings"];
        }
    }

    DWORD gameThread_;
    HWND helper_;
    std::mt19937 rng_;
    uint32_t marks_ = 0;
    std::string failure_;
};

TEST_F(Shell, StormOfRandomInputLeavesTheGameSound) {
    const unsigned seed = EnvNumber("KVADER_STORM_SEED", static_cast<unsigned>(GetTickCount()));
    const unsigned seconds = EnvNumber("KVADER_STORM_SECONDS", 60);
    printf("storm seed %u, %u s (KVADER_STORM_SEED=%u repeats its inputs)\n", seed, seconds, seed);
    fflush(stdout);

    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW helperClass{};
    helperClass.lpfnWndProc = HelperProc;
    helperClass.hInstance = instance;
    helperClass.lpszClassName = L"KvaderStormHelper";
    RegisterClassW(&helperClass);
    HWND helper = CreateWindowW(L"KvaderStormHelper", L"", 0, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    mainWindow = main_;  // the manual is not opened: the shell's viewer would be a window of its own
    const int windowsBefore = CountWindows();

    const DWORD gameThread = GetCurrentThreadId();
    Driver driver(gameThread, helper, seed);
    std::string failure;
    int windowsAfter = 0;
    std::thread storm([&] {
        failure = driver.Run(seconds);
        windowsAfter = CountWindows();
        PostThreadMessageW(gameThread, WM_QUIT, 0, 0);
    });
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchLoopMessage(mainWindow, accelerators_, msg);
    storm.join();

    EXPECT_EQ(failure, "") << "seed " << seed;
    EXPECT_EQ(windowsAfter, windowsBefore) << "windows of the process before and after the storm, seed " << seed;
    for (const auto& [kind, count] : driver.sent) printf("%8d  %s\n", count, kind.c_str());
    if (seconds >= 30) {  // a shorter storm may end no game
        EXPECT_GT(driver.sent["box answered: game over"], 0) << "no game ended";
        EXPECT_GT(driver.sent["box answered: bad settings"], 0) << "no invalid settings were refused";
    }
    DestroyWindow(helper);
}

}  // namespace
