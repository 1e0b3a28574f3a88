// The brick file reader: derived fields, layout freedom, refusal of bad files, and
// the shipped file's shapes.
#include <cstdio>
#include <cstring>
#include <string>

#include "test_boards.h"

namespace {

// Six single-rotation types after the first, so a test only has to vary type 0.
const std::string kSquareLine = "\n1 0 0 1 0 0 1 1 1";
const std::string kSixSquares = kSquareLine + kSquareLine + kSquareLine + kSquareLine + kSquareLine + kSquareLine;

int LoadText(const std::string& text, BrickTable& table) {
    FILE* file = fopen("brick_test.tmp", "wb");
    fwrite(text.data(), 1, text.size(), file);
    fclose(file);
    const int result = LoadBrickTableFrom("brick_test.tmp", table);
    remove("brick_test.tmp");
    return result;
}

const struct {
    const char* cells;  // eight numbers of one rotation
    uint8_t box[4], rowCount[4], colBottom[4], colTop[4];
} kDerived[] = {
    // clang-format off
    {"1 0 1 1 1 2 1 3", {1, 0, 1, 3}, {1, 1, 1, 1}, {0, 4, 0, 0}, {0, 0, 0, 0}},  // bar in local column 1
    {"0 0 1 0 0 1 1 1", {0, 0, 1, 1}, {2, 2, 0, 0}, {2, 2, 0, 0}, {0, 0, 0, 0}},  // square
    {"0 0 1 0 2 0 1 1", {0, 0, 2, 1}, {3, 1, 0, 0}, {1, 2, 1, 0}, {0, 0, 0, 0}},  // T
    {"1 0 1 1 2 1 2 2", {1, 0, 2, 2}, {1, 2, 1, 0}, {0, 2, 3, 0}, {0, 0, 1, 0}},  // S on end
    {"1 1 1 2 2 2 1 3", {1, 1, 2, 3}, {0, 1, 2, 1}, {0, 4, 3, 0}, {0, 1, 2, 0}},  // L, low in the box
    // clang-format on
};

// The box (left, top, right, bottom) and the profiles follow from the cells; the
// rotations a type lacks are all zero.
TEST(BrickFile, DerivesBoxRowCountsAndProfiles) {
    for (const auto& c : kDerived) {
        BrickTable table{};
        ASSERT_EQ(LoadText(std::string("1 ") + c.cells + kSixSquares, table), 1) << c.cells;
        const BrickRotation& rot = table.types[0].rotations[0];
        const uint8_t box[4] = {uint8_t(rot.left), uint8_t(rot.top), uint8_t(rot.right), uint8_t(rot.bottom)};
        EXPECT_EQ(0, memcmp(box, c.box, 4)) << c.cells;
        EXPECT_EQ(0, memcmp(rot.rowCount, c.rowCount, 4)) << c.cells;
        EXPECT_EQ(0, memcmp(rot.colBottom, c.colBottom, 4)) << c.cells;
        EXPECT_EQ(0, memcmp(rot.colTop, c.colTop, 4)) << c.cells;
        const BrickRotation zero{};
        for (int r = 1; r < kMaxRotations; ++r)
            EXPECT_EQ(0, memcmp(&table.types[0].rotations[r], &zero, sizeof zero)) << "rotation " << r;
    }
}

TEST(BrickFile, LayoutAndLineEndsDoNotMatter) {
    BrickTable oneLine{}, crlf{}, lf{};
    std::string numbers = "2 0 0 1 0 2 0 3 0 1 0 1 1 1 2 1 3 " + kSixSquares;
    for (char& ch : numbers) ch = ch == '\n' ? ' ' : ch;
    ASSERT_EQ(LoadText(numbers, oneLine), 1);
    std::string windows = "2\n0 0 1 0 2 0 3 0\n\t1 0  1 1 1 2 1 3" + kSixSquares;
    for (size_t at = 0; (at = windows.find('\n', at)) != std::string::npos; at += 2) windows.insert(at, 1, '\r');
    ASSERT_EQ(LoadText(windows, crlf), 1);
    ASSERT_EQ(LoadText("+2\n0 0\n1 0\n2 0\n3 0\n1 0 1 1 1 2 1 3" + kSixSquares + "\n99 junk", lf), 1);
    EXPECT_EQ(0, memcmp(&oneLine, &crlf, sizeof oneLine));
    EXPECT_EQ(0, memcmp(&oneLine, &lf, sizeof oneLine));
}

TEST(BrickFile, RefusesBadFilesAndKeepsTheTable) {
    const std::string six = kSixSquares;
    const struct {
        const char* what;
        std::string text;
    } bad[] = {
        {"empty file", ""},
        {"ends inside a rotation", "1 0 0 1 0 0 1"},
        {"ends before type 6", "1 0 0 1 0 0 1 1 1"},
        {"ends inside the last rotation", "1 0 0 1 0 0 1 1 1" + six.substr(0, six.rfind("1 1 1"))},
        {"not an integer", "1 0 0 1 0 x 1 1 1" + six},
        {"number glued to text", "1 0 0 1 0 0 1 1 1z" + six},
        {"rotation count 0", "0" + six + " 1 0 0 1 0 0 1 1 1"},
        {"rotation count 5", "5" + six},
        {"negative rotation count", "-1" + six},
        {"dx 4", "1 4 0 1 0 0 1 1 1" + six},
        {"dy -1", "1 0 -1 1 0 0 1 1 1" + six},
        {"huge number", "1 0 99999999999999999999 1 0 0 1 1 1" + six},
        {"repeated cell", "1 0 0 0 0 0 1 1 1" + six},
        {"cells out of row order", "1 0 1 1 1 0 0 1 0" + six},
        {"columns broken", "1 0 0 2 0 0 1 2 1" + six},
        {"columns start at 2", "1 2 0 3 0 2 1 3 1" + six},
        {"rows broken", "1 0 0 1 0 0 2 1 2" + six},
    };
    BrickTable table{};
    ASSERT_EQ(LoadBrickTable(table), 1);
    const BrickTable before = table;
    for (const auto& b : bad) {
        EXPECT_EQ(LoadText(b.text, table), 0) << b.what;
        EXPECT_EQ(0, memcmp(&table, &before, sizeof table)) << b.what << ": table changed";
    }
    EXPECT_EQ(LoadBrickTableFrom("no such file.dat", table), 0);
    EXPECT_EQ(0, memcmp(&table, &before, sizeof table));
}

// Rotation 0 of each shipped type as the panel draws it (rows 0 and 1 of the box),
// its number of rotations, and each rotation the previous one turned a quarter
// clockwise, up to a shift, so that rotating forward turns every brick the same way.
TEST(BrickFile, ShippedFileHoldsTheSevenShapesTurningClockwise) {
    const struct {
        int rotations;
        const char* rows;
    } shapes[] = {{1, "##..##.."}, {2, "####...."}, {4, "###..#.."}, {2, ".##.##.."},
                  {2, "##...##."}, {4, "###.#..."}, {4, "###...#."}};
    // The cells as a mask of a 4 x 4 box, shifted to its top left corner.
    auto mask = [](const uint8_t(&cells)[4][2], bool turned) {
        unsigned bits = 0;
        for (const auto& c : cells) bits |= 1u << (turned ? c[0] * 4 + 3 - c[1] : c[1] * 4 + c[0]);
        while (!(bits & 0x000F)) bits >>= 4;
        while (!(bits & 0x1111)) bits >>= 1;
        return bits;
    };
    for (int t = 0; t < kBrickTypes; ++t) {
        const BrickType& type = Shipped(t);
        EXPECT_EQ(type.rotationCount, shapes[t].rotations) << "type " << t;
        std::string rows(8, '.');
        for (const auto& cell : type.rotations[0].cell) rows.at(cell[1] * 4 + cell[0]) = '#';
        EXPECT_EQ(rows, shapes[t].rows) << "type " << t;
        for (int r = 0; r < type.rotationCount; ++r)
            EXPECT_EQ(mask(type.rotations[r].cell, true),
                      mask(type.rotations[(r + 1) % type.rotationCount].cell, false))
                << "type " << t << " rotation " << r;
    }
}

}  // namespace
