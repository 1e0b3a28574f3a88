// The board windows driven by real messages, as the main window drives them: game
// start, keys, landings, deals in all four modes, the speed-up, the hand-over to the
// computer's board, game over, and exactly which rectangles are repainted.
#include "ai/chooser.h"
#include "res/resource.h"
#include "test_boards.h"
#include "ui/board_window.h"
#include "ui/run_state.h"
#include "ui_harness.h"

namespace {

const BrickType* Brick(int type) { return &brickTable.types[type]; }

class BoardWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        settings = kStartSettings;
        SetBrickSelection(kRandomSelection, 5);
        UiHarness::gameOvers = 0;
    }
    void TearDown() override {
        Settle();
        EXPECT_EQ(UiHarness::erases, 0) << "repaints never erase";
        KillTimer(UiHarness::parent, FALL_TIMER);
    }
    static void Settle() {
        UpdateWindow(playerBoardWnd);
        UpdateWindow(computerBoardWnd);
    }
    static void Key(WPARAM key) { SendMessageW(playerBoardWnd, WM_KEYDOWN, key, 0); }
    // Starts a game with these bricks to come, everything painted.
    static void Start(int mode, std::initializer_list<int> bricks) {
        ScriptBricks(bricks);
        StartTestGame(mode);
        Settle();
    }
};

TEST_F(BoardWindow, NewGameDealsAtTheSpawnPlaceAndRepaintsTheWell) {
    ScriptBricks({kTee});
    Settle();
    StartTestGame(kStandardGame);
    EXPECT_EQ(playerBoard.curBrick, Brick(kTee));
    EXPECT_EQ(playerBoard.curPos, SpawnPos);
    EXPECT_EQ(playerBoard.mode, kStandardGame);
    EXPECT_EQ(playerBoard.isComputer, 0);
    EXPECT_TRUE(UpdateRegionIs(playerBoardWnd, {{16, 0, 176, 384}}));
    EXPECT_EQ(PanelText(IDC_BRICKS_TOTAL), L"1");
    EXPECT_EQ(PanelText(IDC_BRICKS_TYPE0 + kTee), L"1");
    EXPECT_EQ(PanelText(IDC_BRICKS_TYPE0 + kSquare), L"0");
}

// The T from the spawn place; each key repaints the brick's old and new boxes (a
// turn two overlapping boxes), a key that does nothing repaints nothing.
TEST_F(BoardWindow, KeysMoveAndTurnTheBrickAndRepaintItsBoxes) {
    const struct {
        WPARAM key;
        BrickPos after;
        RECT a, b;
    } keys[] = {
        {VK_LEFT, {0, 3, 0}, {48, 0, 112, 32}, {}},
        {VK_RIGHT, {0, 4, 0}, {48, 0, 112, 32}, {}},
        {VK_DOWN, {0, 4, 1}, {64, 0, 112, 48}, {}},
        {'Z', {1, 4, 1}, {64, 16, 112, 48}, {80, 16, 112, 64}},
        {'X', {0, 4, 1}, {64, 16, 112, 48}, {80, 16, 112, 64}},
        {'X', {3, 4, 1}, {64, 16, 112, 48}, {64, 16, 96, 64}},
        {VK_UP, {3, 4, 1}, {}, {}},
        {VK_SPACE, {3, 4, 1}, {}, {}},
        {'A', {3, 4, 1}, {}, {}},
        {'Z', {0, 4, 1}, {64, 16, 112, 48}, {64, 16, 96, 64}},
        {VK_LEFT, {0, 3, 1}, {48, 16, 112, 48}, {}},
        {VK_LEFT, {0, 2, 1}, {32, 16, 96, 48}, {}},
        {VK_LEFT, {0, 1, 1}, {16, 16, 80, 48}, {}},
        {VK_LEFT, {0, 1, 1}, {16, 16, 64, 48}, {}},  // the wall
    };
    for (int mode : {kStandardGame, kHintGame, kVersusGame}) {
        Start(mode, {kTee});
        for (const auto& k : keys) {
            Key(k.key);
            EXPECT_EQ(playerBoard.curPos, k.after) << "mode " << mode << " key " << k.key;
            EXPECT_TRUE(UpdateRegionIs(playerBoardWnd, {k.a, k.b})) << "mode " << mode << " key " << k.key;
            Settle();
        }
        EXPECT_EQ(playerBoard.bricksDealt, 1u);
    }
}

TEST_F(BoardWindow, EnterDropsFixesAndDealsTheNextBrick) {
    Start(kStandardGame, {kTee, kBar});
    Key(VK_RETURN);
    EXPECT_EQ(DrawRows(playerBoard, 22, 23), DrawRows(Well("...###..../....#....."), 22, 23));
    EXPECT_EQ(playerBoard.curBrick, Brick(kBar));
    EXPECT_EQ(playerBoard.curPos, SpawnPos);
    EXPECT_TRUE(UpdateRegionIs(playerBoardWnd, {{64, 0, 112, 32}, {64, 352, 112, 384}, {64, 0, 128, 16}}));
    EXPECT_EQ(PanelText(IDC_BRICKS_TOTAL), L"2");
    EXPECT_EQ(PanelText(IDC_BRICKS_TYPE0 + kBar), L"1");
}

TEST_F(BoardWindow, BlockedDownLandsAndClearedRowsAreRepainted) {
    Start(kStandardGame, {kBar, kSquare});
    Draw(playerBoard, "#........./###....###");
    for (int i = 0; i < 23; ++i) Key(VK_DOWN);
    Settle();
    Key(VK_DOWN);  // blocked: the bar lands on row 23 and completes it
    EXPECT_EQ(DrawRows(playerBoard, 22, 23), DrawRows(Well("#........."), 22, 23));
    EXPECT_EQ(playerBoard.curBrick, Brick(kSquare));
    EXPECT_TRUE(UpdateRegionIs(playerBoardWnd, {{64, 368, 128, 384}, {16, 336, 176, 384}, {64, 0, 96, 32}}));
    EXPECT_EQ(PanelText(IDC_ROWS_RIGHT), L"1");
    EXPECT_EQ(PanelText(IDC_SINGLES_RIGHT), L"1");
    EXPECT_EQ(PanelText(IDC_ROWS_LEFT), L"");
}

TEST_F(BoardWindow, AutomaticGameLandsOnAnyKeyWhereTheComputerChose) {
    Start(kAutomaticGame, {kSquare, kBar, kTee});
    EXPECT_EQ(playerBoard.curPos, (BrickPos{0, 1, 22}));
    Key(VK_UP);
    EXPECT_EQ(DrawRows(playerBoard, 22, 23), DrawRows(Well("##......../##........"), 22, 23));
    EXPECT_EQ(playerBoard.curBrick, Brick(kBar));
    EXPECT_EQ(playerBoard.curPos, (BrickPos{0, 3, 23}));
    EXPECT_TRUE(UpdateRegionIs(playerBoardWnd, {{16, 352, 48, 384}, {48, 368, 112, 384}}));
    Key(VK_SPACE);
    EXPECT_EQ(playerBoard.bricksDealt, 3u);
}

TEST_F(BoardWindow, HintShowsTheComputersPlaceAndMovesAfterEachLanding) {
    Start(kHintGame, {kSquare, kTee});
    EXPECT_EQ(playerBoard.hintPos, (BrickPos{0, 1, 22}));
    EXPECT_EQ(playerBoard.curPos, SpawnPos);
    Key(VK_RETURN);
    EXPECT_EQ(playerBoard.hintPos, (BrickPos{2, 1, 21}));
    EXPECT_TRUE(UpdateRegionIs(
        playerBoardWnd,
        {{64, 0, 96, 32}, {64, 352, 96, 384}, {16, 352, 48, 384}, {16, 352, 64, 384}, {64, 0, 112, 32}}));
}

TEST_F(BoardWindow, VersusComputerPlaysTheSameBricksOneBehind) {
    Start(kVersusGame, {kSquare, kBar, kTee});
    EXPECT_EQ(computerBoard.curBrick, nullptr);
    EXPECT_EQ(computerBoard.isComputer, 1);
    EXPECT_EQ(computerBoard.mode, kVersusGame);
    EXPECT_EQ(PanelText(IDC_ROWS_LEFT), L"0");
    EXPECT_EQ(settings.curInterval, 1000u);

    Key(VK_RETURN);  // the player's square lands; the computer takes it
    EXPECT_EQ(computerBoard.curBrick, Brick(kSquare));
    EXPECT_EQ(computerBoard.curPos, (BrickPos{0, 1, 22}));
    EXPECT_EQ(computerBoard.rowFill[23], 0) << "the computer fixes a brick only when the next one comes";
    EXPECT_TRUE(UpdateRegionIs(computerBoardWnd, {{16, 352, 48, 384}}));
    EXPECT_EQ(settings.curInterval, 900u) << "every landing speeds a versus game up";
    EXPECT_EQ(playerBoard.curBrick, Brick(kBar));
    Settle();

    Key(VK_RETURN);  // the bar lands; the computer fixes its square and takes the bar
    EXPECT_EQ(DrawRows(computerBoard, 22, 23), DrawRows(Well("##......../##........"), 22, 23));
    EXPECT_EQ(computerBoard.curBrick, Brick(kBar));
    EXPECT_EQ(computerBoard.bricksDealt, 0u);
    EXPECT_EQ(PanelText(IDC_SPEED), L"Rychlost: 81");
    EXPECT_EQ(PanelText(IDC_BRICKS_TOTAL), L"3") << "brick counts are the player's";
}

TEST_F(BoardWindow, SpeedUpComesWithTheDealOfEveryTenthBrick) {
    Start(kStandardGame, {kBar, kBar, kBar, kBar, kBar, kBar, kBar, kBar, kBar, kBar});
    for (int landed = 1; landed <= 8; ++landed) Key(VK_RETURN);
    EXPECT_EQ(settings.curInterval, 1000u);
    KillTimer(UiHarness::parent, FALL_TIMER);
    Key(VK_RETURN);
    EXPECT_EQ(playerBoard.bricksDealt, 10u);
    EXPECT_EQ(PanelText(IDC_SPEED), L"Rychlost: 90");
    EXPECT_TRUE(KillTimer(UiHarness::parent, FALL_TIMER)) << "the speed-up restarts the parent's timer";

    settings.accelEvery = 1;
    StartTestGame(kStandardGame);
    EXPECT_EQ(settings.curInterval, 900u) << "with a period of 1 the first deal speeds up";
}

// A brick that cannot leave the spawn place ends the game, and so does a brick that
// fits nowhere in the automatic game (it waits at the spawn place): the refused brick
// is kept, nothing is dealt.
TEST_F(BoardWindow, BrickThatCannotBeFixedEndsTheGame) {
    for (int mode : {kStandardGame, kAutomaticGame}) {
        Start(mode, {kTee, kBar});
        UiHarness::gameOvers = 0;
        Draw(playerBoard, mode == kStandardGame ? Rows("....#.....", 22).c_str() : NearlyFullWell().c_str());
        ScriptBricks({kSquare});
        DealBrick(playerBoardWnd, brickTable, playerBoard);
        EXPECT_EQ(playerBoard.curPos, SpawnPos);
        const Board before = playerBoard;
        Settle();
        Key(VK_DOWN);
        EXPECT_EQ(UiHarness::gameOvers, 1) << "mode " << mode;
        EXPECT_TRUE(SameBoard(before, playerBoard)) << "mode " << mode;
        EXPECT_TRUE(UpdateRegionIs(playerBoardWnd, {{64, 0, 96, 32}})) << "mode " << mode;
    }
}

TEST_F(BoardWindow, ComputersGameOverStopsThePlayersDeal) {
    Start(kVersusGame, {kSquare, kBar, kTee});
    Key(VK_RETURN);
    ASSERT_EQ(computerBoard.curBrick, Brick(kSquare));
    computerBoard.grid[1][22] = 1;  // its square's place is taken: the square cannot be fixed
    KillTimer(UiHarness::parent, FALL_TIMER);
    Key(VK_RETURN);
    EXPECT_EQ(UiHarness::gameOvers, 1);
    EXPECT_EQ(computerBoard.curBrick, Brick(kSquare)) << "the refused brick is kept";
    EXPECT_EQ(playerBoard.bricksDealt, 2u) << "the player's board deals nothing after the game ended";
    EXPECT_EQ(playerBoard.curBrick, nullptr) << "the landed bar is painted as part of the well, not as falling";
    EXPECT_EQ(settings.curInterval, 900u);
    EXPECT_FALSE(KillTimer(UiHarness::parent, FALL_TIMER)) << "no speed-up restarted the timer";
    computerBoard.grid[1][22] = 0;
}

}  // namespace
