// The main window: start-up state, game starts from every state, pause and the keys
// that end it, the timer, the dialogs stopping it, game over, the manual and exit.
#include <cstring>

#include "ai/chooser.h"
#include "model/board.h"
#include "res/resource.h"
#include "test_boards.h"
#include "ui/app.h"
#include "ui/board_window.h"
#include "ui/paint.h"
#include "ui/run_state.h"
#include "ui_pixels.h"
#include "ui_shell_fixture.h"

namespace {

TEST_F(Shell, StartsWithNoGameAndTheNarrowWindow) {
    EXPECT_EQ(SpeedLabel(), L"Rychlost: 100");
    EXPECT_EQ(settings.gameOver, 1);
    EXPECT_EQ(ClientSize().cx, panelWidth + 192);
    EXPECT_EQ(ClientSize().cy, 400);
    // The wells and the panel side by side from the top left corner; the computer's
    // well lies beyond the client area until a versus game widens the window.
    const int panelRight = 192 + panelWidth;
    const RECT want[] = {{0, 0, 192, 400}, {192, 0, panelRight, 400}, {panelRight, 0, panelRight + 192, 400}};
    const HWND children[] = {playerBoardWnd, statsPanelWnd, computerBoardWnd};
    for (int i = 0; i < 3; ++i) {
        RECT got;
        GetWindowRect(children[i], &got);
        MapWindowPoints(nullptr, main_, reinterpret_cast<POINT*>(&got), 2);
        EXPECT_EQ(0, memcmp(&got, &want[i], sizeof got)) << "child " << i << " at " << got.left << "," << got.top;
    }
    KeyDown(VK_LEFT);
    EXPECT_EQ(playerBoard.curBrick, nullptr) << "keys do nothing before a game";
    Command(IDM_PAUSE);
    EXPECT_EQ(settings.paused, 0);
    EXPECT_FALSE(FallTimerRunning(main_));
}

TEST_F(Shell, EveryModeStartsFromEveryState) {
    enum { kNoGame, kRunning, kPaused };
    for (int state : {kNoGame, kRunning, kPaused}) {
        for (int mode = kStandardGame; mode <= kVersusGame; ++mode) {
            settings.gameOver = 1;
            settings.paused = 0;
            KillTimer(main_, FALL_TIMER);
            if (state != kNoGame) Command(IDM_STANDARD_GAME);
            if (state == kPaused) Command(IDM_PAUSE);
            settings.curInterval = 500;
            Command(IDM_STANDARD_GAME + mode);
            EXPECT_EQ(settings.gameOver, 0) << "state " << state << " mode " << mode;
            EXPECT_EQ(settings.paused, state == kPaused ? 1 : 0) << "a start leaves the pause flag alone";
            EXPECT_EQ(settings.curInterval, 1000u) << "state " << state << " mode " << mode;
            EXPECT_EQ(SpeedLabel(), L"Rychlost: 100") << "state " << state << " mode " << mode;
            EXPECT_TRUE(FallTimerRunning(main_)) << "state " << state << " mode " << mode;
            EXPECT_EQ(playerBoard.mode, mode);
            EXPECT_EQ(ClientSize().cx, panelWidth + (mode == kVersusGame ? 384 : 192)) << "mode " << mode;
            EXPECT_EQ(ClientSize().cy, 400) << "mode " << mode;
        }
    }
    EXPECT_EQ(computerBoard.isComputer, 1);
}

TEST_F(Shell, PauseStopsTheFallAndKeysOrTheCommandResume) {
    Command(IDM_STANDARD_GAME);
    Command(IDM_PAUSE);
    EXPECT_EQ(settings.paused, 1);
    EXPECT_FALSE(FallTimerRunning(main_));
    Command(IDM_PAUSE);
    EXPECT_EQ(settings.paused, 0);
    EXPECT_TRUE(FallTimerRunning(main_));

    Char(L' ');  // the space bar's character pauses
    EXPECT_EQ(settings.paused, 1);
    const BrickPos before = playerBoard.curPos;
    KeyDown(VK_LEFT);  // resumes, and is swallowed
    EXPECT_EQ(settings.paused, 0);
    EXPECT_TRUE(FallTimerRunning(main_));
    EXPECT_EQ(playerBoard.curPos, before) << "the resuming key does not move the brick";
    KeyDown(VK_LEFT);
    EXPECT_EQ(playerBoard.curPos.column, before.column - 1);

    Char(L' ');
    KeyDown(VK_SPACE);  // the space bar's key-down reaches the board; its character resumes
    EXPECT_EQ(settings.paused, 1);
    Char(L' ');
    EXPECT_EQ(settings.paused, 0);
}

TEST_F(Shell, TimerTicksMoveTheBrickDown) {
    Command(IDM_STANDARD_GAME);
    const int row = playerBoard.curPos.row;
    Tick();
    Tick();
    EXPECT_EQ(playerBoard.curPos.row, row + 2);
}

TEST_F(Shell, SpaceBarLandsABrickInTheAutomaticGame) {
    Command(IDM_AUTOMATIC_GAME);
    KeyDown(VK_SPACE);
    Char(L' ');
    EXPECT_EQ(playerBoard.bricksDealt, 2u);
    EXPECT_EQ(settings.paused, 1);
    KeyDown(VK_SPACE);
    Char(L' ');
    EXPECT_EQ(playerBoard.bricksDealt, 3u);
    EXPECT_EQ(settings.paused, 0);
}

TEST_F(Shell, CharacterAcceleratorsRunTheirCommands) {
    const struct {
        wchar_t ch;
        int mode;
    } starts[] = {{L'1', kStandardGame}, {L'2', kAutomaticGame}, {L'3', kHintGame}, {L'4', kVersusGame}};
    for (const auto& s : starts) {
        Char(s.ch);
        EXPECT_EQ(playerBoard.mode, s.mode) << char(s.ch);
        EXPECT_EQ(settings.gameOver, 0);
    }
    for (wchar_t ch : {L'r', L'R'}) {
        EXPECT_TRUE(RunModal([&] { Char(ch); }, {Press(kSettingsCaption, IDCANCEL)})) << char(ch);
    }
    Char(L'\x1B');
    EXPECT_FALSE(IsWindow(main_)) << "Escape ends the program";
    MSG quit;
    ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 0u);
}

int draws;

// The keys labelled 1 to 4 start their games on every layout, each press once. The
// Czech layout gives their key-downs the characters + ě š č; a layout with the
// digits gives its character only if the key-down was not taken as a command; the
// numeric keypad gives a character alone.
TEST_F(Shell, KeysLabelledOneToFourStartTheirGamesOnceOnAnyLayout) {
    enum Layout { kCzech, kDigits, kKeypad };
    const struct {
        Layout layout;
        WPARAM key;
        wchar_t ch;
        int mode;
    } presses[] = {
        {kCzech, '1', L'+', kStandardGame},       {kCzech, '2', L'ě', kAutomaticGame}, {kCzech, '3', L'š', kHintGame},
        {kCzech, '4', L'č', kVersusGame},         {kDigits, '2', 0, kAutomaticGame},   {kDigits, '3', 0, kHintGame},
        {kKeypad, VK_NUMPAD4, L'4', kVersusGame},
    };
    SetRandomDraw([] { return ++draws, 0; });
    for (const auto& p : presses) {
        draws = 0;
        MSG down = {};
        down.hwnd = main_;
        down.message = WM_KEYDOWN;
        down.wParam = p.key;
        down.lParam = static_cast<LPARAM>(MapVirtualKeyW(static_cast<UINT>(p.key), MAPVK_VK_TO_VSC)) << 16 | 1;
        DispatchLoopMessage(main_, accelerators_, down);
        // The loop translated the key with this machine's layout; take what it made.
        MSG made;
        while (PeekMessageW(&made, main_, WM_CHAR, WM_CHAR, PM_REMOVE))
            if (p.layout == kDigits) DispatchLoopMessage(main_, accelerators_, made);
        if (p.ch != 0) Char(p.ch);
        EXPECT_EQ(draws, 1) << "key " << p.key << ": one game started, with one brick dealt";
        EXPECT_EQ(playerBoard.mode, p.mode) << "key " << p.key;
    }
    SetRandomDraw(nullptr);
}

TEST_F(Shell, DialogsStopTheTimerWhileOpen) {
    for (bool gameRuns : {true, false}) {
        for (int command : {IDM_SETTINGS, IDM_ABOUT}) {
            settings.gameOver = 1;
            if (gameRuns) Command(IDM_HINT_GAME);
            const wchar_t* caption = command == IDM_SETTINGS ? kSettingsCaption : kAboutCaption;
            bool timerWhileOpen = true;
            EXPECT_TRUE(RunModal([&] { Command(command); }, {On(caption, [&](HWND dialog) {
                                     timerWhileOpen = FallTimerRunning(main_);
                                     PostMessageW(dialog, WM_CLOSE, 0, 0);
                                 })}));
            EXPECT_FALSE(timerWhileOpen) << "command " << command;
            EXPECT_EQ(FallTimerRunning(main_), gameRuns) << "command " << command << " game " << gameRuns;
        }
    }
}

TEST_F(Shell, GameOverStopsTheTimerAndThenKeysAreIgnored) {
    Command(IDM_STANDARD_GAME);
    std::wstring text;
    int gameOverWhileShown = -1;
    bool timerWhileShown = true;
    EXPECT_TRUE(RunModal([&] { SendMessageW(main_, UM_GAMEOVER, 0, 0); }, {On(kBoxCaption, [&](HWND box) {
                             text = MessageBoxText(box);
                             gameOverWhileShown = settings.gameOver;
                             timerWhileShown = FallTimerRunning(main_);
                             PostMessageW(box, WM_COMMAND, IDOK, 0);
                         })}));
    EXPECT_EQ(text, L"GAME OVER!");
    EXPECT_EQ(gameOverWhileShown, 0) << "set only when the box is closed";
    EXPECT_FALSE(timerWhileShown);
    EXPECT_EQ(settings.gameOver, 1);
    const BrickPos before = playerBoard.curPos;
    KeyDown(VK_LEFT);
    KeyDown(VK_DOWN);
    EXPECT_EQ(playerBoard.curPos, before);
}

// Every way a game ends (the player's board in each mode, the computer's board in a
// versus game): while the box is up and after it closes, every cell of both wells
// shows what its board holds; a brick that landed is no longer drawn as falling.
TEST_F(Shell, AfterGameOverEveryCellShowsItsBoard) {
    SetRandomDraw([] { return 0; });  // squares only: none fits in the nearly full well
    for (int ending = kStandardGame; ending <= kVersusGame + 1; ++ending) {
        const bool computerEnds = ending > kVersusGame;
        const int mode = computerEnds ? kVersusGame : ending;
        Command(IDM_STANDARD_GAME + mode);
        KillTimer(main_, FALL_TIMER);
        if (computerEnds) {
            KeyDown(VK_RETURN);  // the computer's board gets the first square; its place is then taken
            const auto& cell = computerBoard.curBrick->rotations[computerBoard.curPos.rotation].cell[0];
            computerBoard.grid[computerBoard.curPos.column + cell[0]][computerBoard.curPos.row + cell[1]] = 1;
        } else {
            Draw(playerBoard, NearlyFullWell().c_str());
            DealBrick(playerBoardWnd, brickTable, playerBoard);
            InvalidateRect(playerBoardWnd, nullptr, FALSE);
        }
        const auto wellsShowTheirBoards = [&](const char* when) {
            EXPECT_TRUE(PaintedAsItsBoard(playerBoardWnd, playerBoard)) << when << ", ending " << ending;
            if (mode == kVersusGame) {
                EXPECT_TRUE(PaintedAsItsBoard(computerBoardWnd, computerBoard)) << when << ", ending " << ending;
            }
        };
        EXPECT_TRUE(RunModal([&] { KeyDown(VK_RETURN); }, {On(kBoxCaption,
                                                              [&](HWND box) {
                                                                  wellsShowTheirBoards("box up");
                                                                  PostMessageW(box, WM_COMMAND, IDOK, 0);
                                                              })}))
            << "ending " << ending;
        EXPECT_EQ(settings.gameOver, 1) << "ending " << ending;
        wellsShowTheirBoards("box closed");
    }
    SetRandomDraw(nullptr);
}

TEST_F(Shell, ManualTogglesThePauseAndAsksForTheFile) {
    Command(IDM_MANUAL);  // no game: nothing changes
    EXPECT_EQ(settings.paused, 0);
    EXPECT_FALSE(FallTimerRunning(main_));
    Command(IDM_STANDARD_GAME);
    Command(IDM_MANUAL);
    EXPECT_EQ(settings.paused, 1);
    Command(IDM_MANUAL);
    EXPECT_EQ(settings.paused, 0);
    EXPECT_TRUE(FallTimerRunning(main_));
    EXPECT_EQ(manualRequests_, 3);
    EXPECT_EQ(manualOpened_, L"Manual_CZ.html");
}

}  // namespace
