// The core's tables, beside the recorded game logs that carry most of its testing
// (sim_test.py): the evaluator's worked examples and the plain reference on random
// wells, the chooser's ranking, the brick-file corpus, brick motion, landings and
// their repaint band, and a soak of a million bricks through the board fuzz target.
#include <gtest/gtest.h>

#include <climits>
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

std::string Rows(const char* row, int times) {
    std::string rows = row;
    while (--times > 0) rows += "/" + std::string(row);
    return rows;
}

TEST(Evaluator, WorkedExamples) {
    ASSERT_TRUE(loaded);
    const BrickType none{};
    const struct {
        const BrickType& brick;
        std::string well;
        BrickPos best;
        int32_t score;
    } cases[] = {
        {Shipped(kSquare), "", {0, 1, 22}, 22},
        {Shipped(kBar), Rows("#.........", 9), {1, 1, 20}, 40},       // upright beside a column nine high
        {Shipped(kSquare), "########../########..", {0, 9, 22}, 52},  // completes two rows
        {Shipped(kBar), "....######", {0, 1, 23}, 38},                // completes the bottom row only
        {Shipped(kSquare), Rows("#.........", 2), {0, 2, 22}, 22},    // a step of 2 counts nothing
        {Shipped(kSquare), Rows("#.........", 3), {0, 2, 22}, 32},    // covering a step of 3 earns 10
        {Shipped(kBar), Rows("#########.", 4), {1, 9, 20}, 100},      // four rows
        {Shipped(kSquare), Rows("#.........", 5), {0, 2, 22}, 42},    // a new edge of 3 costs 10, covering 5 earns 30
        {Shipped(kSquare), Rows(".#########/#########.", 11), {0, 3, 0}, 0},  // on row 0
        {Shipped(kJay), kNearlyFull, {0, 8, 0}, 15},                          // completes row 1
        {Shipped(kTee), kNearlyFull, {3, 7, 11}, NoPlacement},                // fits nowhere: out left alone
        {none, "", {3, 7, 11}, NoPlacement},                                  // a type without rotations
    };
    for (const auto& c : cases) {
        BrickPos out{3, 7, 11};
        EXPECT_EQ(FindBestPlacement(c.brick, &out, Well(c.well)), c.score) << c.well;
        EXPECT_EQ(Pos(out), Pos(c.best)) << c.well;
        EXPECT_EQ(FindBestPlacement(c.brick, nullptr, Well(c.well)), c.score) << c.well << ", no out";
    }
}

// Legal wells of random height and density, with holes anywhere.
TEST(Evaluator, AgreesWithThePlainReferenceOnRandomWells) {
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

int nextDraw;
int ScriptedDraw() { return nextDraw; }

// How often each type is dealt over every draw, in thousandths.
std::vector<int> Deals(int mode, int intensity, const Board& board) {
    SetBrickSelection(mode, intensity);
    std::vector<int> counts(kBrickTypes);
    for (nextDraw = 0; nextDraw < kDrawRange; ++nextDraw) {
        Board copy = board;
        counts[ChooseBrick(shipped, copy) - shipped.types] += 1;
        EXPECT_EQ(copy.bricksDealt, 1u);
    }
    for (int& c : counts) c = (c * 1000 + kDrawRange / 2) / kDrawRange;
    return counts;
}

// On "##.####.##" the bar, T, L and J score 22, the others 21: ranked by score, ties
// by type. In the nearly full well only the bar and J fit.
TEST(Chooser, RanksByScoreAndDealsByTheLawOfTheIntensity) {
    SetRandomDraw(ScriptedDraw);
    const Board board = Well("##.####.##");
    EXPECT_EQ(Deals(kRandomSelection, 5, board), (std::vector<int>{143, 143, 143, 143, 143, 143, 143}));
    EXPECT_EQ(Deals(kMoreSuitable, 5, board), (std::vector<int>{70, 354, 236, 47, 31, 157, 105}));
    EXPECT_EQ(Deals(kLessSuitable, 1, board), (std::vector<int>{187, 140, 128, 170, 154, 116, 105}));
    EXPECT_EQ(Deals(kMoreSuitable, -10, board), Deals(kMoreSuitable, 1, board)) << "below 1 acts as 1";
    EXPECT_EQ(Deals(kMoreSuitable, INT_MAX, board), (std::vector<int>{0, 1000, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Deals(kMoreSuitable, 20, Well(kNearlyFull)), (std::vector<int>{0, 333, 0, 0, 0, 0, 667}));
    EXPECT_EQ(Deals(kLessSuitable, 20, Well(kNearlyFull)), (std::vector<int>{667, 3, 222, 74, 25, 8, 1}));
    int32_t scores[kBrickTypes] = {22, 23, 22, -8, -8, 22, 22}, sentinels[3] = {NoPlacement, 4, NoPlacement};
    const int ranked[kBrickTypes] = {1, 0, 2, 5, 6, 3, 4};
    for (int n = 1; n <= kBrickTypes; ++n) {
        int32_t values[kBrickTypes];
        memcpy(values, scores, sizeof values);
        EXPECT_EQ(PickNthLargest(values, kBrickTypes, n), ranked[n - 1]) << "rank " << n;
    }
    EXPECT_EQ(PickNthLargest(sentinels, 3, 3), 1) << "sentinels are never taken";
    SetRandomDraw(nullptr);
    SetBrickSelection(kRandomSelection, 5);
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

// A reset empties the well and zeroes the counters, whatever the board held; landings:
// the well after, the rows removed and the band to repaint (top, bottom); the spawn
// place and places off the well or with any cell on a fixed one are refused untouched.
TEST(Board, ResetAndLandingsWithTheirRepaintBand) {
    Board reset;
    memset(&reset, 0x5A, sizeof reset);
    ResetBoard(reset);
    EXPECT_EQ(BoardFault(reset), "");
    EXPECT_EQ(std::vector<int>({reset.mode, reset.isComputer, reset.dirtyTop, reset.dirtyBottom, reset.rowsTotal}),
              std::vector<int>({0, 0, -1, -1, 0}));
    const struct {
        std::string before;
        int type;
        BrickPos pos;
        int removed, dirtyTop, dirtyBottom;
        std::string after;
    } cases[] = {
        {"", kTee, {0, 2, 22}, 0, 22, -1, ".###....../..#......."},
        {"####.####./#########./####.####./#########.", kBar, {1, 9, 20}, 2, 18, 23, "####.#####/####.#####"},
        {Rows("#.........", 21) + "/#########.",
         kBar,
         {1, 9, 20},
         1,
         1,
         23,
         Rows("#.........", 18) + "/" + Rows("#........#", 3)},
    };
    for (const auto& c : cases) {
        Board board = Well(c.before);
        EXPECT_EQ(FixBrick(Shipped(c.type).rotations[c.pos.rotation], c.pos, board), 1) << c.before;
        EXPECT_EQ(DrawRows(board), DrawRows(Well(c.after))) << c.before;
        EXPECT_EQ(std::vector<int>({board.rowsTotal, board.dirtyTop, board.dirtyBottom}),
                  std::vector<int>({c.removed, c.dirtyTop, c.dirtyBottom}))
            << c.before;
    }
    const std::string fixed = "..#......./........../#######...";  // at {0, 3, 21} only the first cell meets one
    const BrickPos refused[] = {{0, 4, 0},   {0, 0, 10},  {0, 10, 10}, {0, 3, 23}, {0, 3, -1},
                                {0, -40, 5}, {0, 3, 400}, {0, 7, 22},  {0, 3, 21}};
    for (const BrickPos& pos : refused) {
        Board board = Well(fixed);
        EXPECT_EQ(FixBrick(Shipped(kSquare).rotations[0], pos, board), 0) << Pos(pos);
        EXPECT_TRUE(SameBoard(board, Well(fixed))) << Pos(pos);
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
