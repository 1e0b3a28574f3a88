// The evaluator against the plain reference that reads the grid cell by cell and the
// rotations' cells directly, on thousands of random legal boards.
#include <random>

#include "ai/evaluator.h"
#include "reference_evaluator.h"
#include "test_boards.h"

namespace {

// A block of rows ending at row 23, none full, none empty, with holes anywhere.
Board RandomLegalBoard(std::mt19937& rng) {
    Board board = EmptyBoard();
    const int rows = std::uniform_int_distribution<int>(0, 23)(rng);
    const int density = std::uniform_int_distribution<int>(2, 9)(rng);
    for (int r = kWellRows - rows; r < kWellRows; ++r) {
        char cells[11] = "..........";
        int filled = 0;
        for (int c = 0; c < kWellColumns; ++c)
            if (std::uniform_int_distribution<int>(0, 9)(rng) < density) cells[c] = '#', ++filled;
        if (filled == 0) cells[rng() % 10] = '#';
        if (filled == kWellColumns) cells[rng() % 10] = '.';
        PutRow(board, r, cells);
    }
    return board;
}

TEST(EvaluatorReference, AgreesWithThePlainFormulaOnRandomBoards) {
    std::mt19937 rng(20261206);
    int compared = 0, nothingFits = 0;
    for (int i = 0; i < 6000; ++i) {
        const Board board = RandomLegalBoard(rng);
        ASSERT_TRUE(BoardInvariantsHold(board));
        for (int t = 0; t < kBrickTypes; ++t) {
            const BrickType& brick = ShippedTable().types[t];
            const ReferencePlacement want = ReferenceBestPlacement(brick, board);
            BrickPos got{-1, -1, -1};
            const int32_t score = FindBestPlacement(brick, &got, board);
            ASSERT_EQ(score, want.score) << "board " << i << " type " << t << DrawRows(board, 0, 23);
            ASSERT_TRUE(SamePos(got, want.pos)) << "board " << i << " type " << t << DrawRows(board, 0, 23);
            ASSERT_EQ(FindBestPlacement(brick, nullptr, board), score) << "board " << i << " type " << t;
            ++compared;
            nothingFits += score == NoPlacement;
        }
    }
    EXPECT_GT(nothingFits, 0) << "the boards should reach the top of the well now and then";
    RecordProperty("placements_compared", compared);
}

}  // namespace
