// The evaluator against the plain reference that reads the grid cell by cell and the
// rotations' cells directly, on thousands of random legal wells.
#include <random>
#include <string>

#include "ai/evaluator.h"
#include "reference_evaluator.h"
#include "test_boards.h"

namespace {

// A block of rows ending at row 23, none full, none empty, with holes anywhere.
Board RandomLegalBoard(std::mt19937& rng) {
    const int rows = std::uniform_int_distribution<int>(0, 23)(rng);
    const int density = std::uniform_int_distribution<int>(2, 9)(rng);
    std::string picture;
    for (int r = 0; r < rows; ++r) {
        std::string cells(kWellColumns, '.');
        for (char& cell : cells)
            if (std::uniform_int_distribution<int>(0, 9)(rng) < density) cell = '#';
        if (cells.find('#') == std::string::npos) cells[rng() % 10] = '#';
        if (cells.find('.') == std::string::npos) cells[rng() % 10] = '.';
        picture += (r ? "/" : "") + cells;
    }
    return Well(picture.c_str());
}

TEST(EvaluatorReference, AgreesWithThePlainFormulaOnRandomWells) {
    std::mt19937 rng(20261206);
    int nothingFits = 0;
    for (int i = 0; i < 6000; ++i) {
        const Board board = RandomLegalBoard(rng);
        ASSERT_TRUE(Sound(board));
        for (int t = 0; t < kBrickTypes; ++t) {
            const ReferencePlacement want = ReferenceBestPlacement(Shipped(t), board);
            BrickPos got{-1, -1, -1};
            const int32_t score = FindBestPlacement(Shipped(t), &got, board);
            ASSERT_EQ(score, want.score) << "type " << t << DrawRows(board, 0, 23);
            ASSERT_EQ(got, want.pos) << "type " << t << DrawRows(board, 0, 23);
            ASSERT_EQ(FindBestPlacement(Shipped(t), nullptr, board), score) << "type " << t;
            nothingFits += score == NoPlacement;
        }
    }
    EXPECT_GT(nothingFits, 0) << "the wells should reach the top now and then";
}

}  // namespace
