// The statistics panel read back control by control after each kind of update.
#include <string>

#include "res/resource.h"
#include "test_boards.h"
#include "ui/run_state.h"
#include "ui/stats_panel.h"
#include "ui_harness.h"

namespace {

constexpr int kLeft[5] = {IDC_ROWS_LEFT, IDC_SINGLES_LEFT, IDC_DOUBLES_LEFT, IDC_TRIPLES_LEFT, IDC_FOURS_LEFT};
constexpr int kRight[5] = {IDC_ROWS_RIGHT, IDC_SINGLES_RIGHT, IDC_DOUBLES_RIGHT, IDC_TRIPLES_RIGHT, IDC_FOURS_RIGHT};

Board CountedBoard(int mode, int isComputer, int base) {
    Board board = Well();
    board.mode = mode;
    board.isComputer = isComputer;
    board.rowsTotal = base;
    for (int n = 1; n <= 4; ++n) board.clearsBySize[n] = base + n;
    board.bricksDealt = static_cast<uint32_t>(base * 10);
    for (int t = 0; t < kBrickTypes; ++t) board.brickTypeCount[t] = base + 20 + t;
    return board;
}

std::wstring Number(int value) { return std::to_wstring(value); }

void ExpectColumn(const int (&ids)[5], int base, const char* what) {
    EXPECT_EQ(PanelText(ids[0]), Number(base)) << what;
    for (int n = 1; n <= 4; ++n) EXPECT_EQ(PanelText(ids[n]), Number(base + n)) << what << " clears of " << n;
}

void ExpectBricks(int base, const char* what) {
    EXPECT_EQ(PanelText(IDC_BRICKS_TOTAL), Number(base * 10)) << what;
    for (int t = 0; t < kBrickTypes; ++t)
        EXPECT_EQ(PanelText(IDC_BRICKS_TYPE0 + t), Number(base + 20 + t)) << what << " type " << t;
}

TEST(StatsPanel, ColumnsFollowTheModeAndTheBoard) {
    UpdateStatsPanel(statsPanelWnd, CountedBoard(kVersusGame, 0, 1));
    ExpectColumn(kLeft, 1, "versus, player");
    UpdateStatsPanel(statsPanelWnd, CountedBoard(kVersusGame, 1, 5));
    ExpectColumn(kRight, 5, "versus, computer");
    ExpectColumn(kLeft, 1, "versus, player still shown");
    ExpectBricks(1, "the computer's board leaves the brick counts alone");

    for (int mode : {kStandardGame, kAutomaticGame, kHintGame}) {
        UpdateStatsPanel(statsPanelWnd, CountedBoard(mode, 0, 3));
        ExpectColumn(kRight, 3, "single well");
        for (int id : kLeft) EXPECT_EQ(PanelText(id), L"") << "mode " << mode << " control " << id;
        ExpectBricks(3, "single well");
    }
}

// Every count is shown whole up to seven digits, and in whole millions above.
TEST(StatsPanel, LargeCountsAreShownWholeOrInMillions) {
    const struct {
        uint32_t count;
        const wchar_t* text;
    } cases[] = {{1009, L"1009"},        {1265, L"1265"},        {9999999, L"9999999"},
                 {10000000, L"10 mil."}, {10999999, L"10 mil."}, {2147483647, L"2147 mil."}};
    const int allCounts[] = {IDC_ROWS_LEFT,     IDC_SINGLES_LEFT, IDC_DOUBLES_LEFT,  IDC_TRIPLES_LEFT,
                             IDC_FOURS_LEFT,    IDC_ROWS_RIGHT,   IDC_SINGLES_RIGHT, IDC_DOUBLES_RIGHT,
                             IDC_TRIPLES_RIGHT, IDC_FOURS_RIGHT,  IDC_BRICKS_TOTAL};
    for (const auto& c : cases) {
        Board board = Well();
        board.mode = kVersusGame;
        board.rowsTotal = static_cast<int32_t>(c.count);
        for (int n = 1; n <= 4; ++n) board.clearsBySize[n] = board.rowsTotal;
        for (int& count : board.brickTypeCount) count = board.rowsTotal;
        board.bricksDealt = c.count;
        for (int isComputer : {0, 1}) {
            board.isComputer = isComputer;
            UpdateStatsPanel(statsPanelWnd, board);
        }
        for (int id : allCounts) EXPECT_EQ(PanelText(id), c.text) << c.count << " in control " << id;
        for (int t = 0; t < kBrickTypes; ++t) EXPECT_EQ(PanelText(IDC_BRICKS_TYPE0 + t), c.text) << c.count;
    }
}

TEST(StatsPanel, SpeedLabelShowsHundredthsOfASecond) {
    const struct {
        uint32_t interval;
        const wchar_t* text;
    } cases[] = {{1000, L"Rychlost: 100"}, {729, L"Rychlost: 72"}, {9, L"Rychlost: 0"}, {60000, L"Rychlost: 6000"}};
    for (const auto& c : cases) {
        ShowSpeed(c.interval);
        EXPECT_EQ(PanelText(IDC_SPEED), c.text) << c.interval;
    }
}

}  // namespace
