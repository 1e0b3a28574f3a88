// The placement evaluator on hand-made boards: the worked examples, ties, the
// threshold of the step terms, the top and bottom of the well, and "fits nowhere".
#include <cstring>

#include "ai/evaluator.h"
#include "test_boards.h"

namespace {

struct PlacementCase {
    const char* what;
    int type;
    int firstRow;         // rows firstRow.. are drawn below, every row above is empty
    const char* rows[9];  // nullptr ends the picture
    BrickPos best;
    int32_t score;
};

const char* const kTallColumn = "#.........";

const PlacementCase kPlacements[] = {
    {"empty board, square goes to the first column", kSquare, 24, {}, {0, 1, 22}, 22},
    {"empty board, flat bar", kBar, 24, {}, {0, 1, 23}, 23},
    {"upright bar beside a column nine high",
     kBar,
     15,
     {kTallColumn, kTallColumn, kTallColumn, kTallColumn, kTallColumn, kTallColumn, kTallColumn, kTallColumn,
      kTallColumn},
     {1, 1, 20},
     40},
    {"square completes two rows", kSquare, 22, {"########..", "########.."}, {0, 9, 22}, 52},
    {"flat bar completes the bottom row only", kBar, 23, {"....######"}, {0, 1, 23}, 38},
    {"step of 2 beside the brick counts nothing", kSquare, 22, {kTallColumn, kTallColumn}, {0, 2, 22}, 22},
    {"covering a step of 3 earns 10", kSquare, 21, {kTallColumn, kTallColumn, kTallColumn}, {0, 2, 22}, 32},
    {"upright bar completes four rows",
     kBar,
     20,
     {"#########.", "#########.", "#########.", "#########."},
     {1, 9, 20},
     100},
    {"a new edge of 3 costs 10, covering 5 earns 30",
     kSquare,
     19,
     {kTallColumn, kTallColumn, kTallColumn, kTallColumn, kTallColumn},
     {0, 2, 22},
     42},
};

TEST(Evaluator, BestPlacementOnHandMadeBoards) {
    for (const PlacementCase& p : kPlacements) {
        Board board = EmptyBoard();
        for (int i = 0; i < 9 && p.rows[i]; ++i) PutRow(board, p.firstRow + i, p.rows[i]);
        BrickPos out{-1, -1, -1};
        const int32_t score = FindBestPlacement(ShippedTable().types[p.type], &out, board);
        EXPECT_EQ(score, p.score) << p.what;
        EXPECT_TRUE(SamePos(out, p.best)) << p.what;
        EXPECT_EQ(FindBestPlacement(ShippedTable().types[p.type], nullptr, board), score) << p.what << ", no out";
    }
}

TEST(Evaluator, LandingRowZeroIsValid) {
    Board board = EmptyBoard();
    for (int r = 2; r < kWellRows; ++r) PutRow(board, r, r % 2 ? "#########." : ".#########");
    BrickPos out{};
    EXPECT_EQ(FindBestPlacement(ShippedTable().types[kSquare], &out, board), 0);
    EXPECT_EQ(out.row, 0);
    EXPECT_EQ(out.column, 3);  // columns 1 and 2 would leave a step or a hole
}

TEST(Evaluator, NothingFitsLeavesTheOutputAlone) {
    Board board = EmptyBoard();
    for (int r = 1; r < kWellRows; ++r) PutRow(board, r, r % 2 ? "#########." : ".#########");
    const BrickPos kept{3, 7, 11};
    for (int t = 0; t < kBrickTypes; ++t) {
        if (t == kBar || t == kJay) {  // these still fit on row 0
            EXPECT_NE(FindBestPlacement(ShippedTable().types[t], nullptr, board), NoPlacement) << "type " << t;
            continue;
        }
        BrickPos out = kept;
        EXPECT_EQ(FindBestPlacement(ShippedTable().types[t], &out, board), NoPlacement) << "type " << t;
        EXPECT_EQ(0, std::memcmp(&out, &kept, sizeof out)) << "type " << t;
    }
    BrickType none{};
    BrickPos out = kept;
    EXPECT_EQ(FindBestPlacement(none, &out, EmptyBoard()), NoPlacement);
    EXPECT_EQ(0, std::memcmp(&out, &kept, sizeof out));
}

// The evaluator reads the heights and row fills only: what lies under the surface
// makes no difference.
TEST(Evaluator, CellsBelowTheSurfaceDoNotMatter) {
    Board board = EmptyBoard();
    PutRow(board, 21, "###..#####");
    PutRow(board, 22, "#.#.##.###");
    PutRow(board, 23, "###.#.####");
    Board shuffled = board;
    shuffled.grid[2][22] = 1;  // bookkeeping left as it was
    shuffled.grid[6][22] = 0;
    for (int t = 0; t < kBrickTypes; ++t) {
        BrickPos a{}, b{};
        EXPECT_EQ(FindBestPlacement(ShippedTable().types[t], &a, board),
                  FindBestPlacement(ShippedTable().types[t], &b, shuffled))
            << "type " << t;
        EXPECT_EQ(0, std::memcmp(&a, &b, sizeof a)) << "type " << t;
    }
}

}  // namespace
