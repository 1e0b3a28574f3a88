#include "ai/evaluator.h"

namespace {

constexpr int32_t kCoveredCellCost = 30;
constexpr int32_t kCompletedRowGain = 15;
constexpr int32_t kStepFree = 2;  // steps up to this height count nothing

int32_t Max(int32_t a, int32_t b) { return a > b ? a : b; }

// The cost of a step of height d, 10 * |d| - 20 beyond kStepFree, is looked up: a
// table holds it for every d from -32 to 31. Every step the search meets lies in it
// (columns stand 0 to 24 high and a brick's new edge 1 to 28), and the index is
// masked to the table, so no board can make a read outside it.
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

// Cost of a step of height d; the same amount is earned for covering one.
int32_t StepWeight(int32_t d) { return kStepTable.weight[(d + kStepOffset) & (2 * kStepOffset - 1)]; }

// How the search is made fast. The simulator and the steered selection evaluate
// hundreds of thousands of bricks a second, each in about twenty-five placements,
// so a placement is kept to a few dozen instructions:
//
// 1. The surface is summed up once per call (Surface): prefix sums of the column
//    heights and of the step weights, so that G's heights and the whole of S are a
//    difference of two entries each; and, for each number of cells v from 0 to 4,
//    the rows that lack exactly v cells.
// 2. Each rotation is summed up once per call (Profile) from what the brick file's
//    reader derived: the bottom of each of its columns and their sum, the topmost
//    cell of its two edge columns, and F for every landing row at once.
// 3. The rest follows from reach, the height of the highest point the brick rests
//    on: y = 24 - reach; G = (sum of colBottom + h over the brick's columns) -
//    width * reach; an edge column whose topmost cell is dy stands reach - dy high.
// 4. The brick's width, and whether a well column lies beyond each of its edges,
//    are template arguments: the columns under the brick are read in straight-line
//    code, and only the placements at the walls leave out an edge.

struct Surface {
    int32_t height[kGridColumns];       // colHeight; 0 for the walls
    int32_t heightSum[kGridColumns];    // entry c: h(1) + ... + h(c); entry 0 is 0
    int32_t stepSum[kGridColumns];      // entry c: weights of the steps at columns 2..c, each
                                        // against its left neighbour; 0 up to entry 1, and
                                        // entry 11 repeats entry 10: the walls never count
    uint32_t lacking[kBrickCells + 2];  // entry v <= 4: bit r set when row r lacks exactly v
                                        // cells; the last entry gathers the other rows
};

void TakeSurface(const Board& board, Surface& s) {
    const int32_t* h = board.colHeight;
    s.height[0] = s.height[kGridColumns - 1] = 0;
    s.heightSum[0] = 0;
    s.stepSum[0] = s.stepSum[1] = 0;
    int32_t tallest = 0;
    for (int c = kFirstWellColumn; c <= kLastWellColumn; ++c) {
        s.height[c] = h[c];
        s.heightSum[c] = s.heightSum[c - 1] + h[c];
        tallest = Max(tallest, h[c]);
    }
    for (int c = kFirstWellColumn + 1; c <= kLastWellColumn; ++c)
        s.stepSum[c] = s.stepSum[c - 1] + StepWeight(h[c] - h[c - 1]);
    s.heightSum[kGridColumns - 1] = s.heightSum[kLastWellColumn];
    s.stepSum[kGridColumns - 1] = s.stepSum[kLastWellColumn];
    for (uint32_t& rows : s.lacking) rows = 0;
    // Rows above the tallest column are empty, and no brick fills an empty row.
    for (int r = kFloorRow - (tallest < kWellRows ? tallest : kWellRows); r < kWellRows; ++r) {
        const uint32_t missing = static_cast<uint32_t>(kWellColumns - board.rowFill[r]);
        s.lacking[missing <= kBrickCells ? missing : kBrickCells + 1] |= 1u << r;
    }
}

struct Profile {
    int32_t bottom[kBrickBox];  // colBottom of local columns left, left + 1, ...
    int32_t bottomSum;
    int32_t leftTop, rightTop;  // colTop of the two edge columns
    // F for every landing row y at once, as a three-bit count sliced into masks:
    // F(y) = bit y of ones + 2 * bit y of twos + 4 * bit y of fours.
    uint32_t ones, twos, fours;
    uint32_t completes;  // their union: bit y set when the brick completes anything at y
};

// Local columns are masked to the box: a rotation from the brick file never needs
// it, and no other one can make a read outside the record.
void TakeProfile(const BrickRotation& rot, int32_t width, const Surface& s, Profile& p) {
    constexpr int kInBox = kBrickBox - 1;
    p.bottomSum = 0;
    for (int i = 0; i < width; ++i) {
        p.bottom[i] = rot.colBottom[(rot.left + i) & kInBox];
        p.bottomSum += p.bottom[i];
    }
    p.leftTop = rot.colTop[rot.left & kInBox];
    p.rightTop = rot.colTop[rot.right & kInBox];
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

// One rotation summed up on one surface, with its index and its first local column.
struct Rotation {
    const Surface& s;
    Profile p;
    int32_t index, left;
};

// Scores the placement whose left edge is board column cL and keeps it in best
// when it scores higher. kLeftEdge and kRightEdge say whether a well column lies
// beyond each edge; only then is the new step there counted.
template <int kWidth, bool kLeftEdge, bool kRightEdge>
void ScorePlacement(const Rotation& r, int32_t cL, Best& best) {
    const Surface& s = r.s;
    const Profile& p = r.p;
    const int32_t* h = s.height;
    const int32_t cR = cL + kWidth - 1;
    int32_t reach = 0;
    for (int i = 0; i < kWidth; ++i) reach = Max(reach, p.bottom[i] + h[cL + i]);
    const int32_t y = kFloorRow - reach;
    const uint32_t row = static_cast<uint32_t>(y) & 31u;  // a y below 0 is thrown away below
    const int32_t covered = p.bottomSum + s.heightSum[cR] - s.heightSum[cL - 1] - kWidth * reach;
    int32_t completed = 0;
    if ((p.completes >> row) & 1u)  // seldom: most placements complete nothing
        completed =
            static_cast<int32_t>(((p.ones >> row) & 1u) + ((p.twos >> row) & 1u) * 2 + ((p.fours >> row) & 1u) * 4);
    const int32_t leftEdge = kLeftEdge ? StepWeight(reach - p.leftTop - h[cL - 1]) : 0;
    const int32_t rightEdge = kRightEdge ? StepWeight(reach - p.rightTop - h[cR + 1]) : 0;
    const int32_t steps = s.stepSum[cR + 1] - s.stepSum[cL - 1];
    const int32_t score = y + kCoveredCellCost * covered + kCompletedRowGain * completed - leftEdge - rightEdge + steps;
    if (y >= 0 && score > best.score) best = Best{score, BrickPos{r.index, cL - r.left, y}};
}

// Scores every column of one rotation whose occupied local columns are
// left .. left + kWidth - 1, from left to right, keeping the first best in best.
// The placements against the walls are scored apart, so that the others have no
// test for them.
template <int kWidth>
void ScoreRotation(const BrickRotation& rot, int32_t index, const Surface& s, Best& best) {
    Rotation r{s, {}, index, rot.left};
    TakeProfile(rot, kWidth, s, r.p);
    constexpr int32_t kLastLeft = kLastWellColumn - kWidth + 1;  // the left edge when the right one meets the wall
    ScorePlacement<kWidth, false, true>(r, kFirstWellColumn, best);
    for (int32_t cL = kFirstWellColumn + 1; cL < kLastLeft; ++cL) ScorePlacement<kWidth, true, true>(r, cL, best);
    ScorePlacement<kWidth, true, false>(r, kLastLeft, best);
}

}  // namespace

int32_t FindBestPlacement(const BrickType& brick, BrickPos* out, const Board& board) {
    const int32_t rotations = brick.rotationCount < kMaxRotations ? brick.rotationCount : kMaxRotations;
    if (rotations <= 0) return NoPlacement;
    Surface s;
    TakeSurface(board, s);
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
