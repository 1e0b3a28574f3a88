// Landing and row clearing: the refusal at the spawn place, landings that clear no
// row, one, two apart or four, the band to repaint, and the guard against bad places.
#include <cstring>
#include <string>

#include "test_boards.h"

namespace {

TEST(Board, ResetEmptiesTheWellAndKeepsTheFallingBrick) {
    Board board;
    memset(&board, 0x5A, sizeof board);
    board.curBrick = &Shipped(kTee);
    ResetBoard(board);
    Board want = Well();
    want.curBrick = &Shipped(kTee);
    want.curPos = want.hintPos = BrickPos{0x5A5A5A5A, 0x5A5A5A5A, 0x5A5A5A5A};
    EXPECT_TRUE(SameBoard(board, want));
}

struct Landing {
    const char* what;
    std::string before;
    int type;
    BrickPos pos;
    int removed, dirtyTop, dirtyBottom;
    std::string after;
};

const Landing kLandings[] = {
    // clang-format off
    {"no row complete: the band is empty", "", kTee, {0, 2, 22}, 0, 22, -1, ".###....../..#......."},
    {"one row: the rows above drop", "#########.", kBar, {1, 9, 20}, 1, 19, 23, ".........#/.........#/.........#"},
    {"two rows apart: the gaps close up", "####.####./#########./####.####./#########.", kBar, {1, 9, 20},
     2, 18, 23, "####.#####/####.#####"},
    {"a height falls to the next cell, not into a hole", "########../##.#####..", kSquare, {0, 9, 21},
     1, 20, 22, "........##/##.#####.."},
    {"four rows at the top of a full well", Rows("#########.", 4) + "/" + Rows("#.........", 20), kBar, {1, 9, 0},
     4, 0, 3, Rows("#.........", 20)},
    {"a column 22 high drops one row: the band reaches row 1", Rows("#.........", 21) + "/#########.", kBar, {1, 9, 20},
     1, 1, 23, Rows("#.........", 18) + "/" + Rows("#........#", 3)},
    // clang-format on
};

TEST(Board, FullRowsGoAndTheRowsAboveDrop) {
    for (const Landing& c : kLandings) {
        Board board = Well(c.before.c_str());
        ASSERT_EQ(FixBrick(Shipped(c.type).rotations[c.pos.rotation], c.pos, board), 1) << c.what;
        Board want = Well(c.after.c_str());
        want.rowsTotal = c.removed;
        want.clearsBySize[c.removed] = 1;
        want.dirtyTop = c.dirtyTop;
        want.dirtyBottom = c.dirtyBottom;
        EXPECT_TRUE(SameBoard(board, want)) << c.what << DrawRows(board, 0, kWellRows - 1);
    }
}

// The spawn place refuses every rotation of every brick; beside it or lower a brick
// lands. Places outside the well or on fixed cells are refused. A refusal writes nothing.
TEST(Board, SpawnPlaceAndPlacesOutsideTheWellAreRefused) {
    for (int t = 0; t < kBrickTypes; ++t)
        for (int r = 0; r < Shipped(t).rotationCount; ++r) {
            Board board = Well();
            EXPECT_EQ(FixBrick(Shipped(t).rotations[r], BrickPos{r, 4, 0}, board), 0) << t << " " << r;
            EXPECT_TRUE(SameBoard(board, Well())) << t << " " << r;
        }
    const struct {
        BrickPos pos;
        int fixed;
    } places[] = {{{0, 3, 0}, 1},  {{0, 5, 0}, 1},  {{0, 4, 1}, 1},   {{0, 0, 10}, 0},  {{0, 10, 10}, 0},
                  {{0, 3, 23}, 0}, {{0, 3, -1}, 0}, {{0, -40, 5}, 0}, {{0, 3, 400}, 0}, {{0, 7, 22}, 0}};
    for (const auto& p : places) {
        Board board = Well("#######...");
        const Board before = board;
        EXPECT_EQ(FixBrick(Shipped(kSquare).rotations[0], p.pos, board), p.fixed) << ::testing::PrintToString(p.pos);
        EXPECT_TRUE(p.fixed || SameBoard(board, before)) << ::testing::PrintToString(p.pos);
    }
}

}  // namespace
