#include "ai/evaluator.h"

namespace {

constexpr int32_t kCoveredCellCost = 30;
constexpr int32_t kCompletedRowGain = 15;
constexpr int32_t kStepFree = 2;  // steps up to this height count nothing

int32_t Max(int32_t a, int32_t b) { return a > b ? a : b; }

// The cost of a step of height d, 10 * |d| - 20 beyond kStepFree, is looked up: a
// table holds it for every d from -32 to 31. Every step the search meets lies in it:
// the summary clamps the heights to 0..24 and a profile its bottoms to 0..7 and its
// tops to 0..3, so an edge step lies in -27..31 whatever the board or the brick.
constexpr int32_t kStepOffset = 32;
struct StepTable {
    int32_t weight[2 * kStepOffset];
};
constexpr StepTable MakeStepTable() {
    StepTable t{};
    for (int32_t i = 0; i < 2 * kStepOffset; ++i) {
        const int32_t d = i - kStepOffset, size = d < 0 ? -d : d;
        t.weight[i] = size > kStepFree ? 10 * size - 10 * kStepFree : 0;
    }
    return t;
}
constexpr StepTable kStepTable = MakeStepTable();

// Cost of a step of height d, -32 <= d <= 31; the same amount is earned for covering one.
int32_t StepWeight(int32_t d) { return kStepTable.weight[kStepOffset + d]; }

// How the search is made fast. The simulator and the steered selection evaluate
// hundreds of thousands of bricks a second, each in about twenty-five placements,
// so a placement is kept to a few dozen instructions. Written out for a brick w
// columns wide whose left column is cL, landing at y = 24 - reach (reach: the height
// of the highest point it rests on), the score is
//
//   (24 + 30 * sum of colBottom)            per rotation
//   + base[w][cL]                           per board: 30 * (the heights under the
//                                           brick) + S, from prefix sums
//   - (1 + 30 * w) * reach                  per placement
//   + 15 * F(y) - E_left - E_right          per placement
//
// 1. The board is summed up once (BoardSummary): the heights, base for every width
//    and left column, and for each number of cells v from 0 to 4 the rows that lack
//    exactly v cells. The steered selection shares one summary among its seven bricks.
// 2. Each rotation is summed up once per board (Profile) from what the brick file's
//    reader derived: the bottom of each of its columns and their sum, the topmost cell
//    of its two edge columns, and F for every landing row at once.
// 3. A placement then reads its columns' heights for reach, one entry of base, and the
//    two neighbours for the edges; an edge column whose topmost cell is dy stands
//    reach - dy high.
// 4. The brick's width, and whether a well column lies beyond each of its edges,
//    are template arguments: the columns under the brick are read in straight-line
//    code, and only the placements at the walls leave out an edge.

}  // namespace

void SummarizeBoard(const Board& board, BoardSummary& s) {
    int32_t* h = s.height;
    int32_t step[kGridColumns + 1] = {};  // entry c: the step between columns c - 1 and c; 0 at the walls
    int32_t tallest = 0;
    h[0] = h[kGridColumns - 1] = 0;
    for (int c = kFirstWellColumn; c <= kLastWellColumn; ++c) {
        const int32_t height = board.colHeight[c];
        h[c] = height < 0 ? 0 : height > kWellRows ? kWellRows : height;
        tallest = Max(tallest, h[c]);
    }
    for (int c = kFirstWellColumn + 1; c <= kLastWellColumn; ++c) step[c] = StepWeight(h[c] - h[c - 1]);
    // base[w][c] = 30 * (h[c] + ... + h[c + w - 1]) + step[c] + ... + step[c + w]
    for (int c = kFirstWellColumn; c <= kLastWellColumn; ++c)
        s.base[1][c] = kCoveredCellCost * h[c] + step[c] + step[c + 1];
    for (int w = 2; w <= kBrickBox; ++w)
        for (int c = kFirstWellColumn; c + w - 1 <= kLastWellColumn; ++c)
            s.base[w][c] = s.base[w - 1][c] + kCoveredCellCost * h[c + w - 1] + step[c + w];
    for (uint32_t& rows : s.lacking) rows = 0;
    // Rows above the tallest column are empty, and no brick fills an empty row.
    for (int r = kFloorRow - tallest; r < kWellRows; ++r) {
        const uint32_t missing = static_cast<uint32_t>(kWellColumns - board.rowFill[r]);
        s.lacking[missing <= kBrickCells ? missing : kBrickCells + 1] |= 1u << r;
    }
}

namespace {

struct Profile {
    int32_t bottom[kBrickBox];  // colBottom of local columns left, left + 1, ...
    int32_t constant;           // 24 + 30 * their sum
    int32_t leftTop, rightTop;  // colTop of the two edge columns
    // F for every landing row y at once, as a three-bit count sliced into masks:
    // F(y) = bit y of ones + 2 * bit y of twos + 4 * bit y of fours.
    uint32_t ones, twos, fours;
    uint32_t completes;  // their union: bit y set when the brick completes anything at y
};

// Local columns are masked to the box: a rotation from the brick file never needs
// it, and no other one can make a read outside the record.
void TakeProfile(const BrickRotation& rot, int32_t width, const BoardSummary& s, Profile& p) {
    constexpr int kInBox = kBrickBox - 1;
    int32_t bottomSum = 0;
    for (int i = 0; i < width; ++i) {
        p.bottom[i] = rot.colBottom[(rot.left + i) & kInBox] & 7;
        bottomSum += p.bottom[i];
    }
    p.constant = kFloorRow + kCoveredCellCost * bottomSum;
    p.leftTop = rot.colTop[rot.left & kInBox] & kInBox;
    p.rightTop = rot.colTop[rot.right & kInBox] & kInBox;
    // Local row j landed at y fills row y + j when that row lacks rowCount[j] cells;
    // the four such masks (one per local row) are added bit by bit.
    p.ones = p.twos = p.fours = 0;
    for (int j = 0; j < kBrickBox; ++j) {
        const uint32_t count = rot.rowCount[j];
        const uint32_t fills = count <= kBrickCells ? s.lacking[count] >> j : 0;
        const uint32_t carry = p.ones & fills, carryTwo = p.twos & carry;
        p.ones ^= fills;
        p.twos ^= carry;
        p.fours |= carryTwo;
    }
    p.completes = p.ones | p.twos | p.fours;
}

struct Best {
    int32_t score;
    BrickPos pos;
};

// One rotation summed up on one board, with its index and its first local column.
struct Rotation {
    const BoardSummary& s;
    Profile p;
    int32_t index, left;
};

// Scores the placement whose left edge is board column cL and keeps it in best
// when it scores higher. kLeftEdge and kRightEdge say whether a well column lies
// beyond each edge; only then is the new step there counted.
template <int kWidth, bool kLeftEdge, bool kRightEdge>
void ScorePlacement(const Rotation& r, int32_t cL, Best& best) {
    const Profile& p = r.p;
    const int32_t* h = r.s.height;
    int32_t reach = p.bottom[0] + h[cL];
    for (int i = 1; i < kWidth; ++i) reach = Max(reach, p.bottom[i] + h[cL + i]);
    const int32_t y = kFloorRow - reach;
    const uint32_t row = static_cast<uint32_t>(y) & 31u;  // a y below 0 is thrown away below
    int32_t score = p.constant + r.s.base[kWidth][cL] - (1 + kCoveredCellCost * kWidth) * reach;
    if ((p.completes >> row) & 1u)  // seldom: most placements complete nothing
        score += kCompletedRowGain * static_cast<int32_t>(((p.ones >> row) & 1u) + ((p.twos >> row) & 1u) * 2 +
                                                          ((p.fours >> row) & 1u) * 4);
    if (kLeftEdge) score -= StepWeight(reach - p.leftTop - h[cL - 1]);
    if (kRightEdge) score -= StepWeight(reach - p.rightTop - h[cL + kWidth]);
    if (y >= 0 && score > best.score) best = Best{score, BrickPos{r.index, cL - r.left, y}};
}

// Scores every column of one rotation whose occupied local columns are
// left .. left + kWidth - 1, from left to right, keeping the first best in best.
// The placements against the walls are scored apart, so that the others have no
// test for them.
template <int kWidth>
void ScoreRotation(const BrickRotation& rot, int32_t index, const BoardSummary& s, Best& best) {
    Rotation r{s, {}, index, rot.left};
    TakeProfile(rot, kWidth, s, r.p);
    constexpr int32_t kLastLeft = kLastWellColumn - kWidth + 1;  // the left edge when the right one meets the wall
    ScorePlacement<kWidth, false, true>(r, kFirstWellColumn, best);
    for (int32_t cL = kFirstWellColumn + 1; cL < kLastLeft; ++cL) ScorePlacement<kWidth, true, true>(r, cL, best);
    ScorePlacement<kWidth, true, false>(r, kLastLeft, best);
}

}  // namespace

int32_t FindBestPlacement(const BrickType& brick, BrickPos* out, const Board& board) {
    BoardSummary s;
    SummarizeBoard(board, s);
    return FindBestPlacementOn(brick, out, s);
}

int32_t FindBestPlacementOn(const BrickType& brick, BrickPos* out, const BoardSummary& s) {
    const int32_t rotations = brick.rotationCount < kMaxRotations ? brick.rotationCount : kMaxRotations;
    if (rotations <= 0) return NoPlacement;
    Best best{NoPlacement, {}};
    for (int32_t r = 0; r < rotations; ++r) {
        const BrickRotation& rot = brick.rotations[r];
        switch (rot.right - rot.left + 1) {
            case 1: ScoreRotation<1>(rot, r, s, best); break;
            case 2: ScoreRotation<2>(rot, r, s, best); break;
            case 3: ScoreRotation<3>(rot, r, s, best); break;
            case 4: ScoreRotation<4>(rot, r, s, best); break;
            default: break;  // no cells: the rotation fits nowhere
        }
    }
    // Written once, after the search: out is left alone when nothing fits.
    if (out != nullptr && best.score != NoPlacement) *out = best.pos;
    return best.score;
}
