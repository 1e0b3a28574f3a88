// Long random games: random commands, bricks from the chooser in all three
// selection modes, and now and then the computer's placement. After every landing
// the bookkeeping is recomputed from the grid and every invariant checked, and the
// repaint band must hold every row that changed.
#include <cstdlib>

#include "ai/chooser.h"
#include "ai/evaluator.h"
#include "model/motion.h"
#include "test_boards.h"

namespace {

constexpr int kBricksToPlay = 100000;
constexpr uint32_t kLongestGame = 500;  // the computer may play on for ever

const uint32_t kCommands[] = {kMoveLeft, kMoveRight, kMoveDown, kRotateForward, kRotateBack, kDrop, 0, 7};

// Rows whose cells differ between the board before the landing (with the brick
// written in) and after it must lie in the band the landing reports.
::testing::AssertionResult ChangedRowsInBand(const Board& before, const BrickRotation& rot, const BrickPos& pos,
                                             const Board& after) {
    Board expected = before;
    for (const auto& cell : rot.cell) expected.grid[pos.column + cell[0]][pos.row + cell[1]] = 1;
    for (int r = 0; r < kWellRows; ++r) {
        bool changed = false;
        for (int c = kFirstWellColumn; c <= kLastWellColumn; ++c) changed |= expected.grid[c][r] != after.grid[c][r];
        if (!changed) continue;
        if (after.dirtyBottom == -1 || r < after.dirtyTop || r > after.dirtyBottom)
            return ::testing::AssertionFailure()
                   << "row " << r << " changed outside the band " << after.dirtyTop << ".." << after.dirtyBottom;
    }
    return ::testing::AssertionSuccess();
}

TEST(RandomPlay, InvariantsHoldAfterEveryLanding) {
    srand(424242);
    const BrickTable& table = ShippedTable();
    Board board = EmptyBoard();
    int bricks = 0, games = 0, refusedOffSpawn = 0, rowsRemoved = 0, byMode[3] = {};
    while (bricks < kBricksToPlay) {
        const int selection = games % 3;
        SetBrickSelection(selection, 1 + rand() % 20);
        const bool computerPlaces = games % 4 == 3;
        ResetBoard(board);
        BrickPos pos = SpawnPos;
        while (board.bricksDealt < kLongestGame) {
            const BrickType& brick = *ChooseBrick(table, board);
            ++bricks;
            ++byMode[selection];
            if (computerPlaces) {
                FindBestPlacement(brick, &pos, board);  // may keep the last brick's place
            } else {
                pos = SpawnPos;
                while (MoveBrick(kCommands[rand() % 8], pos, brick, board.grid) != kLanded) {
                }
            }
            ASSERT_TRUE(pos.rotation >= 0 && pos.rotation < kMaxRotations);
            const Board before = board;
            // A stale place may name a rotation this brick lacks: its entry is all zero.
            const BrickRotation& rot = brick.rotations[pos.rotation];
            if (!FixBrick(rot, pos, board)) {
                ASSERT_TRUE(SameBoard(before, board)) << "a refused brick changed the board";
                refusedOffSpawn += pos.column != SpawnPos.column || pos.row != SpawnPos.row;
                break;
            }
            ASSERT_TRUE(BoardInvariantsHold(board)) << "after brick " << bricks;
            ASSERT_TRUE(ChangedRowsInBand(before, rot, pos, board)) << "after brick " << bricks;
            const int removed = board.rowsTotal - before.rowsTotal;
            ASSERT_TRUE(board.dirtyBottom == -1 ? removed == 0 : removed >= 1 && removed <= kMaxClear);
            ASSERT_EQ(board.clearsBySize[removed], before.clearsBySize[removed] + 1);
            int dealt = 0;
            for (int c : board.brickTypeCount) dealt += c;
            ASSERT_EQ(static_cast<uint32_t>(dealt), board.bricksDealt);
        }
        rowsRemoved += board.rowsTotal;
        ++games;
    }
    SetBrickSelection(kRandomSelection, 5);
    EXPECT_GT(refusedOffSpawn, 0) << "the computer's games should end with a brick that fits nowhere";
    EXPECT_GT(rowsRemoved, 0);
    for (int mode = 0; mode < 3; ++mode) EXPECT_GT(byMode[mode], kBricksToPlay / 50) << "selection mode " << mode;
    RecordProperty("games", games);
}

}  // namespace
