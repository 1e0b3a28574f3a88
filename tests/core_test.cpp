// The core's tables, beside the recorded game logs that carry most of its testing
// (sim_test.py: every landing's brick, place, score and rows, in every selection).
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <random>
#include <string>

#include "ai/chooser.h"
#include "ai/evaluator.h"
#include "board_check.h"
#include "model/motion.h"
#include "reference_evaluator.h"

extern "C" int LLVMFuzzerInitialize(int*, char***);
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern uint64_t boardFuzzLandings;

namespace {

BrickTable shipped;
const bool loaded = LoadBrickTable(shipped);  // kvader.dat in the working directory
const BrickType& Shipped(int type) { return shipped.types[type]; }

Board Well(const std::string& picture = "") {
    Board board{};
    ResetBoard(board);
    Draw(board, picture);
    return board;
}

// Legal wells of random height and density, with holes anywhere.
TEST(Evaluator, AgreesWithThePlainReferenceOnRandomWells) {
    ASSERT_TRUE(loaded);
    std::mt19937 rng(20261206);
    int nothingFits = 0;
    for (int i = 0; i < 6000; ++i) {
        std::string picture;
        for (uint_fast32_t r = 0, rows = rng() % 24, density = 2 + rng() % 8; r < rows; ++r) {
            std::string cells(kWellColumns, '.');
            for (char& cell : cells) cell = rng() % 10 < density ? '#' : '.';
            cells[rng() % 10] = '#', cells[rng() % 10] = '.';
            picture += (r ? "/" : "") + cells;
        }
        const Board board = Well(picture);
        for (int t = 0; t < kBrickTypes; ++t) {
            const ReferencePlacement want = ReferenceBestPlacement(Shipped(t), board);
            BrickPos got{-1, -1, -1};
            ASSERT_EQ(FindBestPlacement(Shipped(t), &got, board), want.score) << "type " << t << "\n"
                                                                              << DrawRows(board);
            ASSERT_EQ(Pos(got), Pos(want.pos)) << "type " << t << "\n" << DrawRows(board);
            nothingFits += want.score == NoPlacement;
        }
    }
    EXPECT_GT(nothingFits, 0) << "the wells should reach the top now and then";
}

// Every file of the brick-file corpus: a name starting "valid" must load as the
// shipped file does, any other must be refused and leave the table as it was.
TEST(BrickFile, CorpusIsReadOrRefusedWhole) {
    BrickTable table, before;
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(KVADER_CORPUS "/brick_file")) {
        const std::string name = entry.path().filename().string();
        memset(&table, 0xA5, sizeof table);
        before = table;
        const int read = LoadBrickTableFrom(entry.path().string().c_str(), table);
        EXPECT_EQ(read, name.rfind("valid", 0) == 0) << name;
        EXPECT_EQ(memcmp(&table, read ? &shipped : &before, sizeof table), 0) << name;
        ++files;
    }
    EXPECT_GE(files, 18);
    EXPECT_EQ(LoadBrickTableFrom("no such file.dat", table), 0);
}

TEST(Motion, StepsTurnsCollisionsAndDrops) {
    const struct {
        int type;
        BrickPos from;
        uint32_t command;
        int result;
        BrickPos to;
        std::string well;
    } cases[] = {
        {kTee, {0, 4, 0}, kMoveLeft, kMoved, {0, 3, 0}, ""},
        {kTee, {0, 4, 0}, kMoveRight, kMoved, {0, 5, 0}, ""},
        {kTee, {0, 4, 0}, kMoveDown, kMoved, {0, 4, 1}, ""},
        {kTee, {0, 4, 5}, kRotateForward, kMoved, {1, 4, 5}, ""},
        {kTee, {3, 4, 5}, kRotateForward, kMoved, {0, 4, 5}, ""},
        {kTee, {0, 4, 5}, kRotateBack, kMoved, {3, 4, 5}, ""},
        {kTee, {2, 4, 5}, kRotateBack, kMoved, {1, 4, 5}, ""},
        {kTee, {0, 1, 5}, kMoveLeft, kBlocked, {0, 1, 5}, ""},
        {kTee, {0, 8, 5}, kMoveRight, kBlocked, {0, 8, 5}, ""},
        {kBar, {1, 8, 5}, kRotateForward, kBlocked, {1, 8, 5}, ""},
        {kBar, {0, 3, 19}, kRotateForward, kBlocked, {0, 3, 19}, "...#....../.........."},
        {kTee, {0, 4, 22}, kMoveDown, kLanded, {0, 4, 22}, ""},
        {kBar, {1, 5, 0}, kDrop, kLanded, {1, 5, 16}, ".....#..../.....#..../........../#####.####"},
        {kTee, {0, 4, 0}, 7, kMoved, {0, 4, 0}, ""},
        {kTee, {0, 4, 0}, 0, kMoved, {0, 4, 0}, ""},
        {kTee, {7, 4, 5}, kMoveLeft, kBlocked, {7, 4, 5}, ""},
    };
    for (const auto& c : cases) {
        BrickPos pos = c.from;
        EXPECT_EQ(MoveBrick(c.command, pos, Shipped(c.type), Well(c.well).grid), c.result) << Pos(c.from) << c.command;
        EXPECT_EQ(Pos(pos), Pos(c.to)) << Pos(c.from) << " command " << c.command;
    }
}

// A landing off the well, on the spawn place or with any cell on a fixed one (the
// first only, at {0, 3, 21}) is refused and leaves the board untouched.
TEST(Board, RefusedLandingsLeaveItUntouched) {
    const std::string fixed = "..#......./........../#######...";
    const BrickPos refused[] = {{0, 4, 0},   {0, 0, 10},  {0, 10, 10}, {0, 3, 23}, {0, 3, -1},
                                {0, -40, 5}, {0, 3, 400}, {0, 7, 22},  {0, 3, 21}};
    for (const BrickPos& pos : refused) {
        Board board = Well(fixed);
        EXPECT_EQ(FixBrick(Shipped(kSquare).rotations[0], pos, board), 0) << Pos(pos);
        EXPECT_TRUE(SameBoard(board, Well(fixed))) << Pos(pos);
    }
}

// Over launches a second apart for an hour and a millisecond apart within a second,
// each type begins a game 10% to 19% of the time (1/7 is 14.3%).
TEST(Chooser, EveryTypeBeginsAGameAboutAsOftenFromLaunchToLaunch) {
    SetRandomDraw(nullptr), SetBrickSelection(kRandomSelection, 5);  // the runtime's rand()
    for (const uint32_t milliseconds : {1000, 1}) {                  // from one launch to the next
        const uint32_t launches = milliseconds == 1 ? 1000 : 3600;
        uint32_t first[kBrickTypes] = {};
        for (uint32_t i = 0; i < launches; ++i) {
            srand(LaunchSeed(1765000000 + i * milliseconds / 1000, 86400000 + i * milliseconds));
            Board board{};
            ++first[ChooseBrick(shipped, board) - shipped.types];
        }
        for (const uint32_t count : first)
            EXPECT_TRUE(count >= launches / 10 && count <= launches * 19 / 100) << count << " of " << launches;
    }
}

// Random games, nine in ten bricks placed by the computer, checked after every landing.
TEST(Soak, AMillionBricksKeepTheBoardSound) {
    std::mt19937 rng(20261207);
    LLVMFuzzerInitialize(nullptr, nullptr);
    std::vector<uint8_t> game(4000);
    while (boardFuzzLandings < 1000000) {
        for (uint8_t& b : game) b = static_cast<uint8_t>(rng() | (rng() % 10 ? 0x80 : 0));
        LLVMFuzzerTestOneInput(game.data(), game.size());
    }
    SetRandomDraw(nullptr);
    SetBrickSelection(kRandomSelection, 5);
}

}  // namespace
