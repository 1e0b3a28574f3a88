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
    const char* row22;  // optional obstacles in rows 22 and 23 (nullptr: empty well)
    const char* row23;
};

const MoveCase kMoves[] = {
    {"left from spawn", kTee, {0, 4, 0}, kMoveLeft, kMoved, {0, 3, 0}, nullptr, nullptr},
    {"right from spawn", kTee, {0, 4, 0}, kMoveRight, kMoved, {0, 5, 0}, nullptr, nullptr},
    {"down from spawn", kTee, {0, 4, 0}, kMoveDown, kMoved, {0, 4, 1}, nullptr, nullptr},
    {"square rotates forward in place", kSquare, {0, 4, 5}, kRotateForward, kMoved, {0, 4, 5}, nullptr, nullptr},
    {"square rotates back in place", kSquare, {0, 4, 5}, kRotateBack, kMoved, {0, 4, 5}, nullptr, nullptr},
    {"bar forward 0 to 1", kBar, {0, 4, 5}, kRotateForward, kMoved, {1, 4, 5}, nullptr, nullptr},
    {"bar forward 1 to 0", kBar, {1, 4, 5}, kRotateForward, kMoved, {0, 4, 5}, nullptr, nullptr},
    {"bar back 0 to 1", kBar, {0, 4, 5}, kRotateBack, kMoved, {1, 4, 5}, nullptr, nullptr},
    {"T forward wraps 3 to 0", kTee, {3, 4, 5}, kRotateForward, kMoved, {0, 4, 5}, nullptr, nullptr},
    {"T back wraps 0 to 3", kTee, {0, 4, 5}, kRotateBack, kMoved, {3, 4, 5}, nullptr, nullptr},
    {"left wall", kTee, {0, 1, 5}, kMoveLeft, kBlocked, {0, 1, 5}, nullptr, nullptr},
    {"right wall", kTee, {0, 8, 5}, kMoveRight, kBlocked, {0, 8, 5}, nullptr, nullptr},
    {"vertical bar at column 1 (origin 0) against the wall",
     kBar,
     {1, 0, 5},
     kMoveLeft,
     kBlocked,
     {1, 0, 5},
     nullptr,
     nullptr},
    {"rotation into the wall", kBar, {1, 8, 5}, kRotateForward, kBlocked, {1, 8, 5}, nullptr, nullptr},
    {"rotation into fixed cells", kBar, {0, 3, 19}, kRotateForward, kBlocked, {0, 3, 19}, "...#......", nullptr},
    {"down onto the floor", kTee, {0, 4, 22}, kMoveDown, kLanded, {0, 4, 22}, nullptr, nullptr},
    {"drop to the floor", kTee, {0, 4, 0}, kDrop, kLanded, {0, 4, 22}, nullptr, nullptr},
    {"drop with no room", kTee, {0, 4, 20}, kDrop, kLanded, {0, 4, 20}, "....#.....", nullptr},
    {"drop stops at the first obstacle", kBar, {1, 4, 0}, kDrop, kLanded, {1, 4, 18}, "....#.....", nullptr},
    {"command 0 is ignored", kTee, {0, 4, 0}, 0, kMoved, {0, 4, 0}, nullptr, nullptr},
    {"command 7 is ignored", kTee, {0, 4, 0}, 7, kMoved, {0, 4, 0}, nullptr, nullptr},
    {"command -1 is ignored", kTee, {0, 4, 0}, 0xFFFFFFFFu, kMoved, {0, 4, 0}, nullptr, nullptr},
};

TEST(Motion, StepsRotationsCollisionsAndDrops) {
    for (const MoveCase& m : kMoves) {
        Board board = EmptyBoard();
        if (m.row22) PutRow(board, 22, m.row22);
        if (m.row23) PutRow(board, 23, m.row23);
        BrickPos pos = m.from;
        EXPECT_EQ(MoveBrick(m.command, pos, ShippedTable().types[m.type], board.grid), m.result) << m.what;
        EXPECT_TRUE(SamePos(pos, m.to)) << m.what;
    }
}

TEST(Motion, DropStopsAboveAnObstacleEvenWithRoomBelowIt) {
    Board board = EmptyBoard();
    PutRow(board, 20, ".....#....");  // a ledge (column 6) with empty cells under it
    PutRow(board, 21, ".....#....");
    PutRow(board, 23, "#####.####");
    BrickPos pos{1, 4, 0};  // vertical bar in column 5 (local column 1)
    const BrickType& bar = ShippedTable().types[kBar];
    ASSERT_EQ(MoveBrick(kMoveRight, pos, bar, board.grid), kMoved);
    EXPECT_EQ(MoveBrick(kDrop, pos, bar, board.grid), kLanded);
    EXPECT_EQ(pos.row, 16);  // bar in column 6, rows 16..19
}

// A brick that overlaps fixed cells where it stands (a new brick in a well filled to
// the top) can still step to free cells; a down step into cells lands it.
TEST(Motion, BrickOverlappingCellsCanStillStepAside) {
    Board board = EmptyBoard();
    for (int r = 0; r < kWellRows; ++r) PutRow(board, r, "....##....");
    const BrickType& bar = ShippedTable().types[kBar];
    BrickPos pos{1, 4, 0};  // column 5, overlapping the cells
    EXPECT_EQ(MoveBrick(kMoveLeft, pos, bar, board.grid), kMoved);
    EXPECT_EQ(pos.column, 3);
    pos = BrickPos{1, 4, 0};
    EXPECT_EQ(MoveBrick(kMoveDown, pos, bar, board.grid), kLanded);
    EXPECT_EQ(pos.row, 0);
    EXPECT_EQ(FixBrick(bar.rotations[1], pos, board), 0);  // the end of the game
}

TEST(Motion, RotationIndexTheBrickDoesNotHaveIsBlocked) {
    Board board = EmptyBoard();
    BrickPos pos{7, 4, 5};
    EXPECT_EQ(MoveBrick(kMoveLeft, pos, ShippedTable().types[kTee], board.grid), kBlocked);
    EXPECT_EQ(pos.column, 4);
    BrickType none{};
    pos = BrickPos{0, 4, 5};
    EXPECT_EQ(MoveBrick(kMoveDown, pos, none, board.grid), kLanded);
}

}  // namespace
