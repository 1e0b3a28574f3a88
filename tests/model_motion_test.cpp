// Brick motion: steps, rotations with wrap-around, collisions with walls, floor and
// cells, drops, and commands outside the table.
#include "model/motion.h"
#include "test_boards.h"

namespace {

struct MoveCase {
    const char* what;
    int type;
    BrickPos from;
    uint32_t command;
    int result;
    BrickPos to;
    const char* well;
};

const MoveCase kMoves[] = {
    {"left from spawn", kTee, {0, 4, 0}, kMoveLeft, kMoved, {0, 3, 0}, ""},
    {"right from spawn", kTee, {0, 4, 0}, kMoveRight, kMoved, {0, 5, 0}, ""},
    {"down from spawn", kTee, {0, 4, 0}, kMoveDown, kMoved, {0, 4, 1}, ""},
    {"square turns forward in place", kSquare, {0, 4, 5}, kRotateForward, kMoved, {0, 4, 5}, ""},
    {"square turns back in place", kSquare, {0, 4, 5}, kRotateBack, kMoved, {0, 4, 5}, ""},
    {"bar forward 0 to 1", kBar, {0, 4, 5}, kRotateForward, kMoved, {1, 4, 5}, ""},
    {"bar forward 1 to 0", kBar, {1, 4, 5}, kRotateForward, kMoved, {0, 4, 5}, ""},
    {"bar back 0 to 1", kBar, {0, 4, 5}, kRotateBack, kMoved, {1, 4, 5}, ""},
    {"T forward wraps 3 to 0", kTee, {3, 4, 5}, kRotateForward, kMoved, {0, 4, 5}, ""},
    {"T back wraps 0 to 3", kTee, {0, 4, 5}, kRotateBack, kMoved, {3, 4, 5}, ""},
    {"T back 2 to 1, not forward", kTee, {2, 4, 5}, kRotateBack, kMoved, {1, 4, 5}, ""},
    {"left wall", kTee, {0, 1, 5}, kMoveLeft, kBlocked, {0, 1, 5}, ""},
    {"right wall", kTee, {0, 8, 5}, kMoveRight, kBlocked, {0, 8, 5}, ""},
    {"upright bar in column 1 (origin 0) against the wall", kBar, {1, 0, 5}, kMoveLeft, kBlocked, {1, 0, 5}, ""},
    {"turn into the wall", kBar, {1, 8, 5}, kRotateForward, kBlocked, {1, 8, 5}, ""},
    {"turn into fixed cells", kBar, {0, 3, 19}, kRotateForward, kBlocked, {0, 3, 19}, "...#....../.........."},
    {"down onto the floor", kTee, {0, 4, 22}, kMoveDown, kLanded, {0, 4, 22}, ""},
    {"drop to the floor", kTee, {0, 4, 0}, kDrop, kLanded, {0, 4, 22}, ""},
    {"drop with no room", kTee, {0, 4, 20}, kDrop, kLanded, {0, 4, 20}, "....#...../.........."},
    {"drop stops at the first obstacle", kBar, {1, 4, 0}, kDrop, kLanded, {1, 4, 18}, "....#...../.........."},
    {"drop stops above a ledge with room under it",
     kBar,
     {1, 5, 0},
     kDrop,
     kLanded,
     {1, 5, 16},
     ".....#..../.....#..../........../#####.####"},
    {"command 0 is ignored", kTee, {0, 4, 0}, 0, kMoved, {0, 4, 0}, ""},
    {"command 7 is ignored", kTee, {0, 4, 0}, 7, kMoved, {0, 4, 0}, ""},
    {"command -1 is ignored", kTee, {0, 4, 0}, 0xFFFFFFFFu, kMoved, {0, 4, 0}, ""},
    {"a rotation the brick lacks is blocked", kTee, {7, 4, 5}, kMoveLeft, kBlocked, {7, 4, 5}, ""},
};

TEST(Motion, StepsTurnsCollisionsAndDrops) {
    for (const MoveCase& m : kMoves) {
        Board board = Well(m.well);
        BrickPos pos = m.from;
        EXPECT_EQ(MoveBrick(m.command, pos, Shipped(m.type), board.grid), m.result) << m.what;
        EXPECT_EQ(pos, m.to) << m.what;
    }
}

// A new brick in a well filled to the top overlaps cells where it stands: it can
// still step aside, a down step lands it, and the landing is refused. So does any
// step of a type without rotations.
TEST(Motion, BrickOnFixedCellsLandsOnADownStep) {
    Board board = Well(Rows("....##....", kWellRows).c_str());
    BrickPos pos{1, 4, 0};
    EXPECT_EQ(MoveBrick(kMoveLeft, pos, Shipped(kBar), board.grid), kMoved);
    EXPECT_EQ(pos, (BrickPos{1, 3, 0}));
    pos = BrickPos{1, 4, 0};
    EXPECT_EQ(MoveBrick(kMoveDown, pos, Shipped(kBar), board.grid), kLanded);
    EXPECT_EQ(pos, (BrickPos{1, 4, 0}));
    EXPECT_EQ(FixBrick(Shipped(kBar).rotations[1], pos, board), 0);
    BrickType none{};
    EXPECT_EQ(MoveBrick(kMoveDown, pos, none, board.grid), kLanded);
}

}  // namespace
