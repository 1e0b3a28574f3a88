// A million bricks of play over the three selections and several intensities: the
// computer places the bricks as the automatic game does, and in every fifth game a
// player drops each one after random commands. After every landing the board must
// be sound and every row that changed must lie in the band the landing reports for
// repainting. The sanitizer build runs it under AddressSanitizer and
// UndefinedBehaviorSanitizer, for faults only long play meets.
#include <cstdlib>

#include "ai/chooser.h"
#include "ai/evaluator.h"
#include "model/motion.h"
#include "test_boards.h"

namespace {

constexpr int kBricks = 1000000;
constexpr uint32_t kLongestGame = 20000;  // with more suitable bricks a game may never end

const uint32_t kCommands[] = {kMoveLeft, kMoveRight, kMoveDown, kRotateForward, kRotateBack, kDrop, 0, 7};
const struct {
    int32_t mode, intensity;
} kSelections[] = {
    {kRandomSelection, 5}, {kMoreSuitable, 1}, {kMoreSuitable, 5},  {kMoreSuitable, 20},
    {kLessSuitable, 1},    {kLessSuitable, 5}, {kLessSuitable, 20},
};

// Rows that differ between the board before the landing, with the brick written in,
// and after it.
::testing::AssertionResult ChangedRowsInBand(Board before, const BrickRotation& rot, const BrickPos& pos,
                                             const Board& after) {
    for (const auto& cell : rot.cell) before.grid[pos.column + cell[0]][pos.row + cell[1]] = 1;
    for (int r = 0; r < kWellRows; ++r)
        for (int c = kFirstWellColumn; c <= kLastWellColumn; ++c)
            if (before.grid[c][r] != after.grid[c][r] &&
                (after.dirtyBottom == -1 || r < after.dirtyTop || r > after.dirtyBottom))
                return ::testing::AssertionFailure()
                       << "row " << r << " changed outside the band " << after.dirtyTop << ".." << after.dirtyBottom;
    return ::testing::AssertionSuccess();
}

TEST(Soak, AMillionBricksKeepTheBoardSound) {
    srand(20261207);
    int landed = 0, games = 0;
    for (const auto& s : kSelections) {
        SetBrickSelection(s.mode, s.intensity);
        const int budget = landed + kBricks / static_cast<int>(std::size(kSelections));
        while (landed < budget) {
            Board board = Well();
            board.mode = kAutomaticGame;
            const bool player = ++games % 5 == 0;
            while (board.bricksDealt < kLongestGame && landed < budget) {
                const BrickType& brick = *ChooseBrick(ShippedTable(), board);
                BrickPos pos = SpawnPos;
                if (player)
                    while (MoveBrick(kCommands[rand() % 8], pos, brick, board.grid) != kLanded) {
                    }
                else
                    FindBestPlacement(brick, &pos, board);
                const Board before = board;
                if (!FixBrick(brick.rotations[pos.rotation], pos, board)) {
                    ASSERT_TRUE(SameBoard(before, board)) << "a refused brick changed the board";
                    break;
                }
                ++landed;
                ASSERT_TRUE(Sound(board)) << "selection " << s.mode << " intensity " << s.intensity << ", game "
                                          << games << ", brick " << board.bricksDealt;
                ASSERT_TRUE(ChangedRowsInBand(before, brick.rotations[pos.rotation], pos, board));
            }
        }
    }
    SetBrickSelection(kRandomSelection, 5);
    RecordProperty("games", games);
}

}  // namespace
