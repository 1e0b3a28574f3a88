// A million bricks of automatic play: the computer places every brick as the game's
// automatic mode does, over the three selections and several intensities, and the
// board is checked after every landing. The sanitizer build runs it under
// AddressSanitizer and UndefinedBehaviorSanitizer, for faults only long play meets.
#include <cstdlib>

#include "ai/chooser.h"
#include "ai/evaluator.h"
#include "test_boards.h"

namespace {

constexpr int kBricks = 1000000;
constexpr uint32_t kLongestGame = 20000;  // with more suitable bricks a game may never end

struct Selection {
    int32_t mode, intensity;
};
const Selection kSelections[] = {
    {kRandomSelection, 5}, {kMoreSuitable, 1}, {kMoreSuitable, 5},  {kMoreSuitable, 20},
    {kLessSuitable, 1},    {kLessSuitable, 5}, {kLessSuitable, 20},
};

TEST(Soak, AMillionBricksOfAutomaticPlayKeepTheBoardSound) {
    srand(20261207);
    const BrickTable& table = ShippedTable();
    int landed = 0, games = 0;
    for (const Selection& s : kSelections) {
        SetBrickSelection(s.mode, s.intensity);
        const int budget = landed + kBricks / static_cast<int>(std::size(kSelections));
        while (landed < budget) {
            Board board = EmptyBoard();
            board.mode = kAutomaticGame;
            ++games;
            while (board.bricksDealt < kLongestGame && landed < budget) {
                const BrickType& brick = *ChooseBrick(table, board);
                BrickPos pos = SpawnPos;
                FindBestPlacement(brick, &pos, board);
                if (!FixBrick(brick.rotations[pos.rotation], pos, board)) break;
                ++landed;
                ASSERT_TRUE(BoardInvariantsHold(board)) << "selection " << s.mode << " intensity " << s.intensity
                                                        << ", game " << games << ", brick " << board.bricksDealt;
            }
            ASSERT_TRUE(BoardInvariantsHold(board)) << "after the game's last brick";
        }
    }
    SetBrickSelection(kRandomSelection, 5);
    RecordProperty("bricks", landed);
    RecordProperty("games", games);
}

}  // namespace
