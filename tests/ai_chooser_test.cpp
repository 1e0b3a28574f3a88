// The brick chooser with a scripted number source: the random mapping, the rank law
// of each intensity, bricks that fit nowhere, the counters and bad intensities.
#include <algorithm>
#include <climits>

#include "ai/chooser.h"
#include "ai/evaluator.h"
#include "test_boards.h"

namespace {

int nextDraw = 0;
int drawCalls = 0;
int ScriptedDraw() {
    ++drawCalls;
    return nextDraw;
}

class Chooser : public ::testing::Test {
  protected:
    void SetUp() override { SetRandomDraw(ScriptedDraw); }
    void TearDown() override {
        SetRandomDraw(nullptr);
        SetBrickSelection(kRandomSelection, 5);
    }
    // How often each type is dealt over every possible draw.
    void DealForEveryDraw(const Board& board, int (&counts)[kBrickTypes]) {
        std::fill(counts, counts + kBrickTypes, 0);
        for (nextDraw = 0; nextDraw < kDrawRange; ++nextDraw) {
            Board copy = board;
            counts[ChooseBrick(ShippedTable(), copy) - ShippedTable().types]++;
        }
    }
    int Deal(const Board& board, int draw) {
        Board copy = board;
        nextDraw = draw;
        return static_cast<int>(ChooseBrick(ShippedTable(), copy) - ShippedTable().types);
    }
};

TEST_F(Chooser, RandomModeSpreadsTheDrawsEvenly) {
    SetBrickSelection(kRandomSelection, 5);
    const Board board = Well();
    EXPECT_EQ(Deal(board, 0), 0);
    EXPECT_EQ(Deal(board, 32767), 6);
    int counts[kBrickTypes];
    DealForEveryDraw(board, counts);
    EXPECT_EQ(counts[0], 4682);
    for (int t = 1; t < kBrickTypes; ++t) EXPECT_EQ(counts[t], 4681) << "type " << t;
}

struct LawCase {
    int intensity;
    double rank[kBrickTypes];
};

const LawCase kLaws[] = {
    // clang-format off
    {1, {0.187, 0.170, 0.154, 0.140, 0.128, 0.116, 0.105}},
    {5, {0.354, 0.236, 0.157, 0.105, 0.070, 0.047, 0.031}},
    {10, {0.504, 0.252, 0.126, 0.063, 0.031, 0.016, 0.008}},
    {20, {0.667, 0.222, 0.074, 0.025, 0.008, 0.003, 0.001}},
    // clang-format on
};

// On this well the bar, T, L and J score 22, the others 21: ranked by score, ties by
// type number.
TEST_F(Chooser, RankLawFollowsTheIntensity) {
    const Board board = Well("##.####.##");
    const int kBetter[kBrickTypes] = {1, 2, 5, 6, 0, 3, 4}, kWorse[kBrickTypes] = {0, 3, 4, 1, 2, 5, 6};
    for (const LawCase& law : kLaws) {
        for (int mode : {kMoreSuitable, kLessSuitable}) {
            const int* ranked = mode == kMoreSuitable ? kBetter : kWorse;
            SetBrickSelection(mode, law.intensity);
            int counts[kBrickTypes];
            DealForEveryDraw(board, counts);
            for (int rank = 0; rank < kBrickTypes; ++rank) {
                const int type = ranked[rank];
                EXPECT_NEAR(counts[type] / double(kDrawRange), law.rank[rank], 0.0011)
                    << "intensity " << law.intensity << " mode " << mode << " rank " << rank + 1;
            }
            EXPECT_EQ(Deal(board, 0), ranked[6]) << "draw 0 deals the last rank";
        }
    }
}

TEST_F(Chooser, WorkedRankingOfTiedScores) {
    const int32_t scores[kBrickTypes] = {22, 23, 22, -8, -8, 22, 22};
    const int better[kBrickTypes] = {1, 0, 2, 5, 6, 3, 4};
    const int worse[kBrickTypes] = {3, 4, 0, 2, 5, 6, 1};
    for (int rank = 1; rank <= kBrickTypes; ++rank) {
        int32_t values[kBrickTypes], negated[kBrickTypes];
        for (int t = 0; t < kBrickTypes; ++t) values[t] = scores[t], negated[t] = -scores[t];
        EXPECT_EQ(PickNthLargest(values, kBrickTypes, rank), better[rank - 1]) << "rank " << rank;
        EXPECT_EQ(PickNthLargest(negated, kBrickTypes, rank), worse[rank - 1]) << "rank " << rank;
    }
    int32_t values[kBrickTypes] = {5, 1, 2, 3, 4, 6, 7};
    EXPECT_EQ(PickNthLargest(values, kBrickTypes, 0), 0);
    EXPECT_EQ(PickNthLargest(values, 0, 3), 0);
    int32_t sentinels[3] = {NoPlacement, 4, NoPlacement};
    EXPECT_EQ(PickNthLargest(sentinels, 3, 3), 1) << "sentinels are never taken";
}

// A well in which only the bar and the J still fit (on row 0).
Board NearlyFullBoard() { return Well(NearlyFullWell().c_str()); }

TEST_F(Chooser, MoreSuitableNeverDealsABrickThatFitsNowhere) {
    SetBrickSelection(kMoreSuitable, 1);
    int counts[kBrickTypes];
    DealForEveryDraw(NearlyFullBoard(), counts);
    for (int t = 0; t < kBrickTypes; ++t) {
        const bool fits = t == kBar || t == kJay;
        EXPECT_EQ(counts[t] > 0, fits) << "type " << t;
    }

    Board full = Well();  // bookkeeping of a well filled to the top: nothing fits
    for (int c = kFirstWellColumn; c <= kLastWellColumn; ++c) full.colHeight[c] = kWellRows;
    DealForEveryDraw(full, counts);
    EXPECT_EQ(counts[0], kDrawRange);
}

// The five bricks that fit nowhere are the least suitable: ranks 1 to 5, ties by type.
TEST_F(Chooser, LessSuitableDealsBricksThatFitNowhereFirst) {
    SetBrickSelection(kLessSuitable, 20);
    int counts[kBrickTypes];
    DealForEveryDraw(NearlyFullBoard(), counts);
    const int ranked[5] = {kSquare, kTee, kEss, kZed, kEll};
    for (int rank = 0; rank < 5; ++rank)
        EXPECT_NEAR(counts[ranked[rank]] / double(kDrawRange), kLaws[3].rank[rank], 0.0011) << "rank " << rank + 1;
}

TEST_F(Chooser, EveryCallDrawsOnceAndCountsOneBrick) {
    for (int mode : {kRandomSelection, kMoreSuitable, kLessSuitable}) {
        SetBrickSelection(mode, 7);
        Board board = Well("#.#.##.###");
        Board want = board;
        drawCalls = 0;
        nextDraw = 12345;
        const int t = static_cast<int>(ChooseBrick(ShippedTable(), board) - ShippedTable().types);
        EXPECT_EQ(drawCalls, 1) << "mode " << mode;
        want.bricksDealt = 1;
        want.brickTypeCount[t] = 1;
        EXPECT_TRUE(SameBoard(board, want)) << "mode " << mode << ": only the counters change";
    }
}

// Intensities the dialog can pass through a huge field: bounded, never a rank
// outside 1..7; draws outside 0..32767 are reduced to 15 bits.
TEST_F(Chooser, OutOfRangeIntensitiesAndDrawsStayInRange) {
    const Board board = Well("#.#.##.###");  // the T, L and J fit best, the bar worst
    int lowest[kBrickTypes];
    SetBrickSelection(kMoreSuitable, 1);
    DealForEveryDraw(board, lowest);
    for (int intensity : {0, -1, -10, -11, INT_MIN}) {
        SetBrickSelection(kMoreSuitable, intensity);
        int counts[kBrickTypes];
        DealForEveryDraw(board, counts);
        EXPECT_TRUE(std::equal(counts, counts + kBrickTypes, lowest)) << "intensity " << intensity << " acts as 1";
    }
    SetBrickSelection(kMoreSuitable, INT_MAX);
    EXPECT_EQ(Deal(board, 1), kTee);
    EXPECT_EQ(Deal(board, 0), kBar);
    SetBrickSelection(kRandomSelection, 5);
    EXPECT_EQ(Deal(board, -1), 6);
    EXPECT_EQ(Deal(board, 32768), 0);
}

}  // namespace
