// The real main window under a storm of input. For a minute (KVADER_STORM_SECONDS),
// a second thread does what a player could do, through the message queue of the
// game's thread as input arrives: key presses (which the game's own message loop
// turns into characters and accelerators), menu commands and timer ticks to the
// main window, and answers to whatever dialog or box is open (the settings with
// valid and invalid values, the about box, the end of a game). Exit (Escape to the
// main window, command 209) is left out: it ends the run, and the end-to-end test
// plays it. At checkpoints the game must answer within a second, both boards must
// be sound, the speed label must show curInterval, and no fall timer may run while
// no game does; at the end the windows of the process must be those it began with.
// The inputs come from a seeded generator (KVADER_STORM_SEED); the seed is printed
// and repeats the inputs, though the fall timer's own ticks still follow the clock.
//
// Leaked GDI objects are not counted: Wine has no GetGuiResources (it returns 0),
// and the painting code uses only stock pens and brushes, which are never created
// or deleted.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "board_check.h"
#include "res/resource.h"
#include "ui/app.h"
#include "ui/board_window.h"
#include "ui/main_window.h"
#include "ui/run_state.h"
#include "ui_modal.h"

namespace {

constexpr UINT WM_STORM_MARK = WM_APP + 1;   // wParam: the driver's count of inputs, now all handled
constexpr UINT WM_STORM_CHECK = WM_APP + 2;  // check the game on its own thread
constexpr UINT kAnswerMs = 1000;             // the game must answer within a second
constexpr int kCheckEveryMs = 1000;

HWND mainWindow;
std::atomic<uint32_t> handled{0};
std::string checkFault;  // written on the game's thread inside a sent message, read after it

unsigned EnvNumber(const char* name, unsigned otherwise) {
    const char* value = getenv(name);
    return value != nullptr && *value != '\0' ? static_cast<unsigned>(strtoul(value, nullptr, 10)) : otherwise;
}

// What must hold whenever the game waits for input.
std::string CheckGame() {
    std::string fault = BoardFault(playerBoard);
    if (!fault.empty()) return "the player's board: " + fault;
    fault = BoardFault(computerBoard);
    if (!fault.empty()) return "the computer's board: " + fault;
    if (settings.gameOver) return FallTimerRunning(mainWindow) ? "the fall timer runs while no game does" : "";
    wchar_t want[kTextLength + 16];
    swprintf(want, kTextLength + 16, L"%ls %u", texts[kTextSpeedPrefix], settings.curInterval / 10);
    if (ItemText(statsPanelWnd, IDC_SPEED) != want)
        return "the speed label does not show curInterval " + std::to_string(settings.curInterval);
    return {};
}

LRESULT CALLBACK HelperProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_STORM_MARK: handled = static_cast<uint32_t>(wParam); return 0;
        case WM_STORM_CHECK: checkFault = CheckGame(); return 0;
        default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

BOOL CALLBACK CountChild(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM count) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId()) return TRUE;
    ++*reinterpret_cast<int*>(count);
    EnumChildWindows(window, CountChild, count);
    return TRUE;
}

// Top-level windows of this process and all their descendants.
int CountWindows() {
    int count = 0;
    EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&count));
    return count;
}

BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    // The dialog that takes input: a box opened over a dialog disables that dialog.
    if (std::wstring(name) == L"#32770" && IsWindowVisible(window) && IsWindowEnabled(window))
        *reinterpret_cast<HWND*>(found) = window;
    return TRUE;
}

std::wstring Caption(HWND window) {
    wchar_t text[128] = {};
    GetWindowTextW(window, text, 128);
    return text;
}

class Driver {
  public:
    Driver(DWORD gameThread, HWND helper, unsigned seed, unsigned seconds)
        : gameThread_(gameThread), helper_(helper), rng_(seed), seconds_(seconds) {}

    // Storms for the given time, then closes what is open. Empty when all went well.
    std::string Run() {
        const auto start = std::chrono::steady_clock::now();
        auto lastCheck = start;
        while (failure_.empty() && std::chrono::steady_clock::now() - start < std::chrono::seconds(seconds_)) {
            if (HWND dialog = OpenDialog()) {
                Answer(dialog);
            } else {
                ToMainWindow();
                if (std::chrono::steady_clock::now() - lastCheck > std::chrono::milliseconds(kCheckEveryMs)) {
                    Check();
                    lastCheck = std::chrono::steady_clock::now();
                }
            }
            Settle();
        }
        for (int tries = 0; failure_.empty() && OpenDialog() != nullptr; ++tries) {
            if (tries == 50) return "a dialog would not close";
            HWND dialog = OpenDialog();
            PostMessageW(dialog, WM_COMMAND, Caption(dialog) == kSettingsCaption ? IDCANCEL : IDOK, 0);
            Settle();
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
            const auto start = std::chrono::steady_clock::now();
            while (handled < mark) {
                if (std::chrono::steady_clock::now() - start > std::chrono::milliseconds(kAnswerMs)) {
                    failure_ = "the game did not answer within a second";
                    return;
                }
                Sleep(1);
            }
        }
    }

    void Check() {
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(helper_, WM_STORM_CHECK, 0, 0, SMTO_NORMAL, kAnswerMs, &result))
            failure_ = "the game did not answer a check within a second";
        else if (!checkFault.empty())
            failure_ = checkFault;
        ++sent["checkpoints"];
    }

    void Key(HWND window, UINT key) {
        const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
        PostMessageW(window, WM_KEYDOWN, key, scan | 1);
        PostMessageW(window, WM_KEYUP, key, scan | 1 | (1 << 30) | (1u << 31));
    }

    // What a player does to the main window, with weights per thousand: mostly
    // playing, now and then a new game, a dialog or the pause, so that games also
    // run long enough to end.
    struct Input {
        int weight;
        enum Kind { kKey, kCommand, kTick } kind;
        UINT what;
    };

    void ToMainWindow() {
        static const Input kInputs[] = {
            {110, Input::kKey, VK_LEFT},
            {110, Input::kKey, VK_RIGHT},
            {90, Input::kKey, VK_DOWN},
            {90, Input::kKey, 'Z'},
            {60, Input::kKey, 'X'},
            {120, Input::kKey, VK_RETURN},
            {20, Input::kKey, VK_SPACE},
            {40, Input::kKey, 0 /* a letter */},
            {4, Input::kKey, '1'},
            {4, Input::kKey, '2'},
            {4, Input::kKey, '3'},
            {4, Input::kKey, '4'},
            {3, Input::kKey, 'R'},
            {3, Input::kKey, 1 /* a digit */},
            {2, Input::kCommand, IDM_STANDARD_GAME},
            {2, Input::kCommand, IDM_AUTOMATIC_GAME},
            {2, Input::kCommand, IDM_HINT_GAME},
            {2, Input::kCommand, IDM_VERSUS_GAME},
            {8, Input::kCommand, IDM_PAUSE},
            {3, Input::kCommand, IDM_SETTINGS},
            {3, Input::kCommand, IDM_MANUAL},
            {3, Input::kCommand, IDM_ABOUT},
            {313, Input::kTick, 0},
        };
        int roll = Pick(1000);
        const Input* input = kInputs;
        while (roll >= input->weight && input + 1 < std::end(kInputs)) roll -= (input++)->weight;
        switch (input->kind) {
            case Input::kKey: {
                UINT key = input->what;
                if (key == 0) key = 'A' + static_cast<UINT>(Pick(26));
                if (key == 1) key = '0' + static_cast<UINT>(Pick(10));
                Key(mainWindow, key);
                ++sent["key " + KeyName(key)];
                break;
            }
            case Input::kCommand:
                PostMessageW(mainWindow, WM_COMMAND, input->what, 0);
                ++sent["command " + std::to_string(input->what)];
                break;
            case Input::kTick:
                PostMessageW(mainWindow, WM_TIMER, FALL_TIMER, 0);
                ++sent["timer tick"];
                break;
        }
    }

    static std::string KeyName(UINT key) {
        switch (key) {
            case VK_LEFT: return "Left";
            case VK_RIGHT: return "Right";
            case VK_DOWN: return "Down";
            case VK_RETURN: return "Enter";
            case VK_SPACE: return "Space";
            default: return std::string(1, static_cast<char>(key));
        }
    }

    // A value for a settings field: mostly one the dialog takes, sometimes not.
    std::wstring FieldValue(int id) {
        static const wchar_t* const kInvalid[] = {L"", L"0", L"abc", L"-5", L"99999999999"};
        if (Pick(5) == 0) return kInvalid[Pick(static_cast<int>(std::size(kInvalid)))];
        if (id == IDC_SPEED_EDIT) return std::to_wstring(Pick(6) == 0 ? 1 + Pick(6001) : 1 + Pick(60));
        if (id == IDC_ACCEL_EDIT) return std::to_wstring(1 + Pick(30));
        return std::to_wstring(Pick(10) == 0 ? 4000000000u : 1u + static_cast<unsigned>(Pick(25)));
    }

    void Answer(HWND dialog) {
        const std::wstring caption = Caption(dialog);
        GUITHREADINFO focus{};
        focus.cbSize = sizeof focus;
        GetGUIThreadInfo(gameThread_, &focus);
        HWND keyTarget = focus.hwndFocus != nullptr ? focus.hwndFocus : dialog;
        if (caption == kSettingsCaption) {
            const int roll = Pick(10);
            if (roll < 5) {
                static const int kFields[] = {IDC_SPEED_EDIT, IDC_ACCEL_EDIT, IDC_INTENSITY_EDIT};
                const int id = kFields[Pick(3)];
                DWORD_PTR ignored;
                SendMessageTimeoutW(GetDlgItem(dialog, id), WM_SETTEXT, 0,
                                    reinterpret_cast<LPARAM>(FieldValue(id).c_str()), SMTO_NORMAL, kAnswerMs, &ignored);
                ++sent["settings: a field typed"];
            } else if (roll < 7) {
                PostMessageW(GetDlgItem(dialog, IDC_RANDOM_RADIO + Pick(3)), BM_CLICK, 0, 0);
                ++sent["settings: a selection clicked"];
            } else if (roll < 9) {
                if (Pick(2))
                    Key(keyTarget, VK_RETURN);
                else
                    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
                ++sent["settings: OK"];
            } else {
                if (Pick(2))
                    Key(keyTarget, VK_ESCAPE);
                else
                    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                ++sent["settings: Cancel"];
            }
            return;
        }
        const bool about = caption == kAboutCaption;
        if (Pick(2))
            Key(keyTarget, about && Pick(2) ? VK_ESCAPE : VK_RETURN);
        else
            PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        if (about)
            ++sent["about box closed"];
        else
            ++sent["box answered: " +
                   std::string(MessageBoxText(dialog) == texts[kTextGameOver] ? "game over" : "bad settings")];
    }

    DWORD gameThread_;
    HWND helper_;
    std::mt19937 rng_;
    unsigned seconds_;
    uint32_t marks_ = 0;
    std::string failure_;
};

TEST(Storm, TheGameStaysSoundUnderAMinuteOfRandomInput) {
    const unsigned seed = EnvNumber("KVADER_STORM_SEED", static_cast<unsigned>(GetTickCount()));
    const unsigned seconds = EnvNumber("KVADER_STORM_SECONDS", 60);
    printf("storm seed %u, %u s (KVADER_STORM_SEED=%u repeats its inputs)\n", seed, seconds, seed);
    fflush(stdout);

    HINSTANCE instance = GetModuleHandleW(nullptr);
    LoadTexts(instance);
    ASSERT_EQ(LoadBrickTable(brickTable), 1) << "kvader.dat must be in the working directory";
    openManual = [](HWND, const wchar_t*) {};  // the shell's viewer would be a window of its own
    WNDCLASSW helperClass{};
    helperClass.lpfnWndProc = HelperProc;
    helperClass.hInstance = instance;
    helperClass.lpszClassName = L"KvaderStormHelper";
    RegisterClassW(&helperClass);
    HWND helper = CreateWindowW(L"KvaderStormHelper", L"", 0, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    mainWindow = CreateMainWindow(instance);
    ShowWindow(mainWindow, SW_SHOW);
    UpdateWindow(mainWindow);
    HACCEL accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDA_MAIN));
    const int windowsBefore = CountWindows();

    const DWORD gameThread = GetCurrentThreadId();
    Driver driver(gameThread, helper, seed, seconds);
    std::string failure;
    int windowsAfter = 0;
    std::thread storm([&] {
        failure = driver.Run();
        windowsAfter = CountWindows();
        PostThreadMessageW(gameThread, WM_QUIT, 0, 0);
    });
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchLoopMessage(mainWindow, accelerators, msg);
    storm.join();

    EXPECT_EQ(failure, "") << "seed " << seed;
    EXPECT_EQ(windowsAfter, windowsBefore) << "windows of the process before and after the storm, seed " << seed;
    for (const auto& [kind, count] : driver.sent) printf("%8d  %s\n", count, kind.c_str());
    printf("windows before %d, after %d\n", windowsBefore, windowsAfter);
    if (seconds >= 30) {  // a shorter storm may end no game
        EXPECT_GT(driver.sent["box answered: game over"], 0) << "no game ended";
        EXPECT_GT(driver.sent["box answered: bad settings"], 0) << "no invalid settings were refused";
    }
    DestroyWindow(mainWindow);
    DestroyWindow(helper);
}

}  // namespace
