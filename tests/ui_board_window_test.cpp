// The board windows driven by real messages, as the main window drives them: game
// start, keys, landings, deals in all four modes, the speed-up, the hand-over to the
// computer's board, game over, and exactly which rectangles are repainted.
#include "ai/chooser.h"
#include "ai/evaluator.h"
#include "test_boards.h"
#include "ui/board_window.h"
#include "ui/paint.h"
#include "ui/run_state.h"
#include "ui_harness.h"

namespace {

const BrickType& Type(int t) { return brickTable.types[t]; }
const RECT kWellInside{16, 0, 176, 384};

class BoardWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        settings = GameSettings{1000, 1000, 10, 0, 5, 0, 0};
        SetBrickSelection(kRandomSelection, 5);
        UiHarness::gameOvers = 0;
        UiHarness::erases = 0;
    }
    void TearDown() override {
        Settle();
        EXPECT_EQ(UiHarness::erases, 0) << "repaints never erase";
        KillTimer(UiHarness::parent, FALL_TIMER);
    }
    static void Settle() {
        PaintNow(playerBoardWnd);
        PaintNow(computerBoardWnd);
    }
    static void Key(WPARAM key) { SendMessageW(playerBoardWnd, WM_KEYDOWN, key, 0); }
};

TEST_F(BoardWindow, NewGameDealsAtTheSpawnPlaceAndRepaintsTheWell) {
    ScriptBricks({kTee});
    Settle();
    StartTestGame(kStandardGame);
    EXPECT_EQ(playerBoard.curBrick, &Type(kTee));
    EXPECT_TRUE(SamePos(playerBoard.curPos, SpawnPos));
    EXPECT_EQ(playerBoard.bricksDealt, 1u);
    EXPECT_EQ(playerBoard.mode, kStandardGame);
    EXPECT_EQ(playerBoard.isComputer, 0);
    EXPECT_TRUE(UpdateRegionIs(playerBoardWnd, {kWellInside}));
    EXPECT_EQ(PanelText(312), L"1");
    EXPECT_EQ(PanelText(315), L"1");
    EXPECT_EQ(PanelText(313), L"0");
}

struct KeyCase {
    WPARAM key;
    BrickPos after;
};

TEST_F(BoardWindow, KeysMoveAndTurnTheBrickAndRepaintItsBoxes) {
    for (int mode : {kStandardGame, kHintGame, kVersusGame}) {
        const KeyCase keys[] = {
            {VK_LEFT, {0, 3, 0}}, {VK_RIGHT, {0, 4, 0}}, {VK_DOWN, {0, 4, 1}},  {'Z', {1, 4, 1}},     {'X', {0, 4, 1}},
            {'X', {3, 4, 1}},     {VK_UP, {3, 4, 1}},    {VK_SPACE, {3, 4, 1}}, {'A', {3, 4, 1}},     {'Z', {0, 4, 1}},
            {VK_LEFT, {0, 3, 1}}, {VK_LEFT, {0, 2, 1}},  {VK_LEFT, {0, 1, 1}},  {VK_LEFT, {0, 1, 1}},  // the wall
        };
        ScriptBricks({kTee});
        StartTestGame(mode);
        Settle();
        for (const KeyCase& k : keys) {
            const BrickPos before = playerBoard.curPos;
            Key(k.key);
            EXPECT_TRUE(SamePos(playerBoard.curPos, k.after)) << "mode " << mode << " key " << k.key;
            const bool moves = k.key != VK_UP && k.key != VK_SPACE && k.key != 'A';
            if (moves)
                EXPECT_TRUE(
                    UpdateRegionIs(playerBoardWnd, {BrickBox(Type(kTee), before), BrickBox(Type(kTee), k.after)}))
                    << "mode " << mode << " key " << k.key;
            else
                EXPECT_TRUE(UpdateRegionIs(playerBoardWnd, {})) << "mode " << mode << " key " << k.key;
            Settle();
        }
        EXPECT_EQ(playerBoard.bricksDealt, 1u);
    }
}

TEST_F(BoardWindow, EnterDropsFixesAndDealsTheNextBrick) {
    ScriptBricks({kTee, kBar});
    StartTestGame(kStandardGame);
    Settle();
    Key(VK_RETURN);
    for (const auto& cell : std::initializer_list<std::pair<int, int>>{{4, 22}, {5, 22}, {6, 22}, {5, 23}})
        EXPECT_EQ(playerBoard.grid[cell.first][cell.second], 1) << cell.first << "," << cell.second;
    EXPECT_EQ(playerBoard.curBrick, &Type(kBar));
    EXPECT_TRUE(SamePos(playerBoard.curPos, SpawnPos));
    EXPECT_EQ(playerBoard.bricksDealt, 2u);
    EXPECT_TRUE(UpdateRegionIs(playerBoardWnd, {BrickBox(Type(kTee), SpawnPos), BrickBox(Type(kTee), {0, 4, 22}),
                                                BrickBox(Type(kBar), SpawnPos)}));
    EXPECT_EQ(PanelText(312), L"2");
    EXPECT_EQ(PanelText(314), L"1");
}

TEST_F(BoardWindow, BlockedDownLandsAndClearedRowsAreRepainted) {
    ScriptBricks({kBar, kSquare});
    StartTestGame(kStandardGame);
    PutRow(playerBoard, 23, "###....###");
    PutRow(playerBoard, 22, "#.........");
    for (int i = 0; i < 23; ++i) Key(VK_DOWN);
    EXPECT_EQ(playerBoard.curPos.row, 23);
    Settle();
    Key(VK_DOWN);  // blocked: the bar lands and completes row 23
    EXPECT_EQ(playerBoard.rowsTotal, 1);
    EXPECT_EQ(playerBoard.clearsBySize[1], 1);
    EXPECT_EQ(playerBoard.rowFill[23], 1) << "row 22 dropped into row 23";
    EXPECT_EQ(playerBoard.curBrick, &Type(kSquare));
    EXPECT_TRUE(UpdateRegionIs(playerBoardWnd, {BrickBox(Type(kBar), {0, 4, 23}), RECT{16, 336, 176, 384},
                                                BrickBox(Type(kSquare), SpawnPos)}));
    EXPECT_EQ(PanelText(303), L"1");
    EXPECT_EQ(PanelText(305), L"1");
    EXPECT_EQ(PanelText(302), L"");
}

TEST_F(BoardWindow, AutomaticGameLandsOnAnyKeyWhereTheComputerChose) {
    ScriptBricks({kSquare, kBar, kTee});
    StartTestGame(kAutomaticGame);
    EXPECT_TRUE(SamePos(playerBoard.curPos, BrickPos{0, 1, 22}));
    Settle();
    Key(VK_UP);
    EXPECT_EQ(playerBoard.grid[1][22] + playerBoard.grid[2][22] + playerBoard.grid[1][23] + playerBoard.grid[2][23], 4);
    BrickPos want{};
    FindBestPlacement(Type(kBar), &want, playerBoard);
    EXPECT_EQ(playerBoard.curBrick, &Type(kBar));
    EXPECT_TRUE(SamePos(playerBoard.curPos, want));
    EXPECT_TRUE(UpdateRegionIs(playerBoardWnd, {BrickBox(Type(kSquare), {0, 1, 22}), BrickBox(Type(kBar), want)}));
    Key(VK_SPACE);
    EXPECT_EQ(playerBoard.bricksDealt, 3u);
}

TEST_F(BoardWindow, HintShowsTheComputersPlaceAndMovesAfterEachLanding) {
    ScriptBricks({kSquare, kTee});
    StartTestGame(kHintGame);
    EXPECT_TRUE(SamePos(playerBoard.hintPos, BrickPos{0, 1, 22}));
    EXPECT_TRUE(SamePos(playerBoard.curPos, SpawnPos));
    Settle();
    Key(VK_RETURN);
    BrickPos hint{};
    FindBestPlacement(Type(kTee), &hint, playerBoard);
    EXPECT_TRUE(SamePos(playerBoard.hintPos, hint));
    EXPECT_TRUE(UpdateRegionIs(playerBoardWnd, {BrickBox(Type(kSquare), SpawnPos), BrickBox(Type(kSquare), {0, 4, 22}),
                                                BrickBox(Type(kSquare), {0, 1, 22}), BrickBox(Type(kTee), hint),
                                                BrickBox(Type(kTee), SpawnPos)}));
}

TEST_F(BoardWindow, VersusComputerPlaysTheSameBricksOneBehind) {
    ScriptBricks({kSquare, kBar, kTee});
    StartTestGame(kVersusGame);
    EXPECT_EQ(computerBoard.curBrick, nullptr);
    EXPECT_EQ(computerBoard.isComputer, 1);
    EXPECT_EQ(computerBoard.mode, kVersusGame);
    EXPECT_EQ(PanelText(302), L"0");
    EXPECT_EQ(PanelText(303), L"0");
    EXPECT_EQ(settings.curInterval, 1000u);
    Settle();

    Key(VK_RETURN);  // the player's square lands; the computer takes it
    EXPECT_EQ(computerBoard.curBrick, &Type(kSquare));
    EXPECT_TRUE(SamePos(computerBoard.curPos, BrickPos{0, 1, 22}));
    EXPECT_EQ(computerBoard.rowFill[23], 0) << "the computer fixes a brick only when the next one comes";
    EXPECT_TRUE(UpdateRegionIs(computerBoardWnd, {BrickBox(Type(kSquare), {0, 1, 22})}));
    EXPECT_EQ(settings.curInterval, 900u) << "every landing speeds a versus game up";
    EXPECT_EQ(playerBoard.curBrick, &Type(kBar));
    Settle();

    Key(VK_RETURN);  // the bar lands; the computer fixes its square and takes the bar
    EXPECT_EQ(computerBoard.grid[1][23] + computerBoard.grid[2][23], 2);
    EXPECT_EQ(computerBoard.curBrick, &Type(kBar));
    EXPECT_EQ(computerBoard.bricksDealt, 0u);
    EXPECT_EQ(settings.curInterval, 810u);
    EXPECT_EQ(PanelText(301), L"Rychlost: 81");
    EXPECT_EQ(PanelText(312), L"3") << "brick counts are the player's";
}

TEST_F(BoardWindow, SpeedUpComesWithTheDealOfEveryTenthBrick) {
    ScriptBricks({kBar, kBar, kBar, kBar, kBar, kBar, kBar, kBar, kBar, kBar});
    StartTestGame(kStandardGame);
    for (int landed = 1; landed <= 8; ++landed) Key(VK_RETURN);
    EXPECT_EQ(settings.curInterval, 1000u);
    KillTimer(UiHarness::parent, FALL_TIMER);
    Key(VK_RETURN);
    EXPECT_EQ(playerBoard.bricksDealt, 10u);
    EXPECT_EQ(settings.curInterval, 900u);
    EXPECT_EQ(PanelText(301), L"Rychlost: 90");
    EXPECT_TRUE(KillTimer(UiHarness::parent, FALL_TIMER)) << "the speed-up restarts the parent's timer";

    settings.accelEvery = 1;
    StartTestGame(kStandardGame);
    EXPECT_EQ(settings.curInterval, 900u) << "with a period of 1 the first deal speeds up";
}

TEST_F(BoardWindow, BrickThatCannotLeaveTheSpawnPlaceEndsTheGame) {
    ScriptBricks({kTee, kBar});
    StartTestGame(kStandardGame);
    for (int r = 2; r < kWellRows; ++r) PutRow(playerBoard, r, "....#.....");
    const Board before = playerBoard;
    Settle();
    Key(VK_DOWN);
    EXPECT_EQ(UiHarness::gameOvers, 1);
    EXPECT_TRUE(SameBoard(before, playerBoard)) << "the refused brick is kept, nothing dealt";
    EXPECT_TRUE(UpdateRegionIs(playerBoardWnd, {BrickBox(Type(kTee), SpawnPos)}));
}

TEST_F(BoardWindow, BrickThatFitsNowhereEndsAnAutomaticGame) {
    ScriptBricks({kBar, kSquare});
    StartTestGame(kAutomaticGame);
    Key(VK_DOWN);  // the bar lands; the square is placed
    for (int r = 1; r < kWellRows; ++r) PutRow(playerBoard, r, r % 2 ? "#########." : ".#########");
    ScriptBricks({kSquare});
    DealBrick(playerBoardWnd, brickTable, playerBoard);
    EXPECT_TRUE(SamePos(playerBoard.curPos, SpawnPos)) << "a brick that fits nowhere waits at the spawn place";
    const Board before = playerBoard;
    Key(VK_DOWN);
    EXPECT_EQ(UiHarness::gameOvers, 1);
    EXPECT_TRUE(SameBoard(before, playerBoard));
}

TEST_F(BoardWindow, ComputersGameOverStopsThePlayersDeal) {
    ScriptBricks({kSquare, kBar, kTee});
    StartTestGame(kVersusGame);
    Key(VK_RETURN);
    ASSERT_EQ(computerBoard.curBrick, &Type(kSquare));
    computerBoard.grid[1][22] = 1;  // its square's place is taken: the square cannot be fixed
    KillTimer(UiHarness::parent, FALL_TIMER);
    const uint32_t interval = settings.curInterval;
    Key(VK_RETURN);
    EXPECT_EQ(UiHarness::gameOvers, 1);
    EXPECT_EQ(computerBoard.curBrick, &Type(kSquare)) << "the refused brick is kept";
    EXPECT_EQ(playerBoard.bricksDealt, 2u) << "the player's board deals nothing after the game ended";
    EXPECT_EQ(playerBoard.curBrick, nullptr) << "the landed bar is painted as part of the well, not as falling";
    EXPECT_EQ(settings.curInterval, interval);
    EXPECT_FALSE(KillTimer(UiHarness::parent, FALL_TIMER)) << "no speed-up restarted the timer";
    computerBoard.grid[1][22] = 0;
}

}  // namespace
