// The brick file reader: derived fields, layout freedom, refusal of bad files, and
// the shipped file's shapes.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "test_boards.h"

namespace {

// Six single-rotation types after the first, so a test only has to vary type 0.
const char* const kSixSquares =
    " 1 0 0 1 0 0 1 1 1\n 1 0 0 1 0 0 1 1 1\n 1 0 0 1 0 0 1 1 1\n"
    " 1 0 0 1 0 0 1 1 1\n 1 0 0 1 0 0 1 1 1\n 1 0 0 1 0 0 1 1 1\n";

int LoadText(const std::string& text, BrickTable& table) {
    const char* path = "brick_test.tmp";
    FILE* file = fopen(path, "wb");
    fwrite(text.data(), 1, text.size(), file);
    fclose(file);
    const int result = LoadBrickTableFrom(path, table);
    remove(path);
    return result;
}

struct DerivedCase {
    const char* cells;  // eight numbers of one rotation
    int left, top, right, bottom;
    uint8_t rowCount[4], colBottom[4], colTop[4];
};

const DerivedCase kDerived[] = {
    {"1 0 1 1 1 2 1 3", 1, 0, 1, 3, {1, 1, 1, 1}, {0, 4, 0, 0}, {0, 0, 0, 0}},  // bar in local column 1
    {"0 0 1 0 0 1 1 1", 0, 0, 1, 1, {2, 2, 0, 0}, {2, 2, 0, 0}, {0, 0, 0, 0}},  // square
    {"0 0 1 0 2 0 1 1", 0, 0, 2, 1, {3, 1, 0, 0}, {1, 2, 1, 0}, {0, 0, 0, 0}},  // T
    {"1 0 1 1 2 1 2 2", 1, 0, 2, 2, {1, 2, 1, 0}, {0, 2, 3, 0}, {0, 0, 1, 0}},  // S on end
    {"1 1 1 2 2 2 1 3", 1, 1, 2, 3, {0, 1, 2, 1}, {0, 4, 3, 0}, {0, 1, 2, 0}},  // L, low in the box
};

TEST(BrickFile, DerivesBoxRowCountsAndProfiles) {
    for (const DerivedCase& c : kDerived) {
        BrickTable table{};
        ASSERT_EQ(LoadText(std::string("1 ") + c.cells + "\n" + kSixSquares, table), 1) << c.cells;
        const BrickRotation& rot = table.types[0].rotations[0];
        EXPECT_EQ(rot.left, c.left) << c.cells;
        EXPECT_EQ(rot.top, c.top) << c.cells;
        EXPECT_EQ(rot.right, c.right) << c.cells;
        EXPECT_EQ(rot.bottom, c.bottom) << c.cells;
        EXPECT_EQ(0, memcmp(rot.rowCount, c.rowCount, 4)) << c.cells;
        EXPECT_EQ(0, memcmp(rot.colBottom, c.colBottom, 4)) << c.cells;
        EXPECT_EQ(0, memcmp(rot.colTop, c.colTop, 4)) << c.cells;
        BrickRotation zero{};
        for (int r = 1; r < kMaxRotations; ++r)
            EXPECT_EQ(0, memcmp(&table.types[0].rotations[r], &zero, sizeof zero)) << "rotation " << r << " not zero";
    }
}

TEST(BrickFile, LayoutAndLineEndsDoNotMatter) {
    BrickTable oneLine{}, crlf{}, lf{};
    std::string numbers = std::string("2 0 0 1 0 2 0 3 0 1 0 1 1 1 2 1 3 ") + kSixSquares;
    for (char& ch : numbers)
        if (ch == '\n') ch = ' ';
    ASSERT_EQ(LoadText(numbers, oneLine), 1);
    ASSERT_EQ(LoadText("2\r\n0 0 1 0 2 0 3 0\r\n\t1 0  1 1 1 2 1 3\r\n" + std::string(kSixSquares), crlf), 1);
    ASSERT_EQ(LoadText("+2\n0 0\n1 0\n2 0\n3 0\n1 0 1 1 1 2 1 3\n" + std::string(kSixSquares) + "99 junk", lf), 1);
    EXPECT_EQ(0, memcmp(&oneLine, &crlf, sizeof oneLine));
    EXPECT_EQ(0, memcmp(&oneLine, &lf, sizeof oneLine));
}

struct BadFile {
    const char* what;
    std::string text;
};

TEST(BrickFile, RefusesBadFilesAndKeepsTheTable) {
    const std::string six = kSixSquares;
    const BadFile bad[] = {
        {"empty file", ""},
        {"ends inside a rotation", "1 0 0 1 0 0 1"},
        {"ends before type 6", "1 0 0 1 0 0 1 1 1\n"},
        {"ends inside the last rotation", "1 0 0 1 0 0 1 1 1\n" + six.substr(0, six.rfind("1 1 1"))},
        {"not an integer", "1 0 0 1 0 x 1 1 1\n" + six},
        {"number glued to text", "1 0 0 1 0 0 1 1 1z\n" + six},
        {"rotation count 0", "0\n" + six + "1 0 0 1 0 0 1 1 1"},
        {"rotation count 5", "5\n" + six},
        {"negative rotation count", "-1\n" + six},
        {"dx 4", "1 4 0 1 0 0 1 1 1\n" + six},
        {"dy -1", "1 0 -1 1 0 0 1 1 1\n" + six},
        {"huge number", "1 0 99999999999999999999 1 0 0 1 1 1\n" + six},
        {"repeated cell", "1 0 0 0 0 0 1 1 1\n" + six},
        {"cells out of row order", "1 0 1 1 1 0 0 1 0\n" + six},
        {"columns broken", "1 0 0 2 0 0 1 2 1\n" + six},
        {"columns start at 2", "1 2 0 3 0 2 1 3 1\n" + six},
        {"rows broken", "1 0 0 1 0 0 2 1 2\n" + six},
    };
    BrickTable table{};
    ASSERT_EQ(LoadBrickTable(table), 1);
    const BrickTable before = table;
    for (const BadFile& b : bad) {
        EXPECT_EQ(LoadText(b.text, table), 0) << b.what;
        EXPECT_EQ(0, memcmp(&table, &before, sizeof table)) << b.what << ": table changed";
    }
    EXPECT_EQ(LoadBrickTableFrom("no such file.dat", table), 0);
    EXPECT_EQ(0, memcmp(&table, &before, sizeof table));
}

// Cells of rotation 0 as board cells at the spawn place, drawn as the panel does.
struct ShippedShape {
    const char* name;
    int rotations;
    const char* rows[2];  // box rows 0 and 1, local columns 0..3
};

const ShippedShape kShapes[] = {
    {"square", 1, {"##..", "##.."}}, {"bar", 2, {"####", "...."}}, {"T", 4, {"###.", ".#.."}},
    {"S", 2, {".##.", "##.."}},      {"Z", 2, {"##..", ".##."}},   {"L", 4, {"###.", "#..."}},
    {"J", 4, {"###.", "..#."}},
};

TEST(BrickFile, ShippedFileHoldsTheSevenShapesInPanelOrder) {
    const BrickTable& table = ShippedTable();
    for (int t = 0; t < kBrickTypes; ++t) {
        const ShippedShape& s = kShapes[t];
        EXPECT_EQ(table.types[t].rotationCount, s.rotations) << s.name;
        char rows[2][5] = {"....", "...."};
        for (const auto& cell : table.types[t].rotations[0].cell) {
            ASSERT_LT(cell[1], 2) << s.name;
            rows[cell[1]][cell[0]] = '#';
        }
        EXPECT_STREQ(rows[0], s.rows[0]) << s.name;
        EXPECT_STREQ(rows[1], s.rows[1]) << s.name;
    }
}

// Turning a rotation a quarter clockwise gives the next one, up to a shift, and the
// distinct orientations are all there: rotate forward turns every brick the same way.
TEST(BrickFile, RotateForwardTurnsClockwise) {
    const BrickTable& table = ShippedTable();
    auto normalised = [](const int(&cells)[4][2]) {
        int minX = 9, minY = 9;
        for (const auto& c : cells) minX = std::min(minX, c[0]), minY = std::min(minY, c[1]);
        unsigned mask = 0;
        for (const auto& c : cells) mask |= 1u << ((c[1] - minY) * 4 + (c[0] - minX));
        return mask;
    };
    for (int t = 0; t < kBrickTypes; ++t) {
        const BrickType& type = table.types[t];
        for (int r = 0; r < type.rotationCount; ++r) {
            int turned[4][2], next[4][2];
            for (int i = 0; i < 4; ++i) {
                const auto& c = type.rotations[r].cell[i];
                turned[i][0] = 3 - c[1];  // clockwise: (x, y) -> (-y, x), shifted back into the box
                turned[i][1] = c[0];
                const auto& n = type.rotations[(r + 1) % type.rotationCount].cell[i];
                next[i][0] = n[0];
                next[i][1] = n[1];
            }
            EXPECT_EQ(normalised(turned), normalised(next)) << "type " << t << " rotation " << r;
        }
    }
}

}  // namespace
