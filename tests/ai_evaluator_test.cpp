// The placement evaluator on hand-made wells: the worked examples, ties, the step
// terms' threshold, the top and bottom of the well, and bricks that fit nowhere.
#include <string>

#include "ai/evaluator.h"
#include "test_boards.h"

namespace {

const struct {
    const char* what;
    int type;
    std::string well;
    BrickPos best;
    int32_t score;
} kPlacements[] = {
    {"empty well, square goes to the first column", kSquare, "", {0, 1, 22}, 22},
    {"empty well, flat bar", kBar, "", {0, 1, 23}, 23},
    {"upright bar beside a column nine high", kBar, Rows("#.........", 9), {1, 1, 20}, 40},
    {"square completes two rows", kSquare, "########../########..", {0, 9, 22}, 52},
    {"flat bar completes the bottom row only", kBar, "....######", {0, 1, 23}, 38},
    {"a step of 2 beside the brick counts nothing", kSquare, Rows("#.........", 2), {0, 2, 22}, 22},
    {"covering a step of 3 earns 10", kSquare, Rows("#.........", 3), {0, 2, 22}, 32},
    {"upright bar completes four rows", kBar, Rows("#########.", 4), {1, 9, 20}, 100},
    {"a new edge of 3 costs 10, covering 5 earns 30", kSquare, Rows("#.........", 5), {0, 2, 22}, 42},
    {"landing on row 0, away from steps and holes", kSquare, Rows(".#########/#########.", 11), {0, 3, 0}, 0},
};

TEST(Evaluator, BestPlacementOnHandMadeWells) {
    for (const auto& p : kPlacements) {
        const Board board = Well(p.well.c_str());
        BrickPos out{-1, -1, -1};
        EXPECT_EQ(FindBestPlacement(Shipped(p.type), &out, board), p.score) << p.what;
        EXPECT_EQ(out, p.best) << p.what;
        EXPECT_EQ(FindBestPlacement(Shipped(p.type), nullptr, board), p.score) << p.what << ", no out";
    }
}

// Only the bar and the J still fit, on row 0; for the others and for a type without
// rotations the output is left as it was.
TEST(Evaluator, NothingFitsLeavesTheOutputAlone) {
    const Board board = Well(NearlyFullWell().c_str());
    const BrickPos kept{3, 7, 11};
    for (int t = 0; t < kBrickTypes; ++t) {
        BrickPos out = kept;
        const int32_t score = FindBestPlacement(Shipped(t), &out, board);
        EXPECT_EQ(score == NoPlacement, t != kBar && t != kJay) << "type " << t;
        EXPECT_TRUE(score != NoPlacement || out == kept) << "type " << t;
    }
    BrickType none{};
    BrickPos out = kept;
    EXPECT_EQ(FindBestPlacement(none, &out, Well()), NoPlacement);
    EXPECT_EQ(out, kept);
}

// The evaluator reads the heights and row fills only: what lies under the surface
// makes no difference.
TEST(Evaluator, CellsBelowTheSurfaceDoNotMatter) {
    const Board board = Well("###..#####/#.#.##.###/###.#.####");
    Board shuffled = board;
    shuffled.grid[2][22] = 1;  // bookkeeping left as it was
    shuffled.grid[6][22] = 0;
    for (int t = 0; t < kBrickTypes; ++t) {
        BrickPos a{}, b{};
        EXPECT_EQ(FindBestPlacement(Shipped(t), &a, board), FindBestPlacement(Shipped(t), &b, shuffled)) << t;
        EXPECT_EQ(a, b) << "type " << t;
    }
}

}  // namespace
