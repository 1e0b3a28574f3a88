// Reader of the brick file: whitespace-separated decimal integers, for each type
// its rotation count and then eight numbers (dx dy four times) per rotation.
#include "model/brick.h"

#include <cstdio>

namespace {

// Any value a valid file can hold is tiny; anything this large is refused anyway,
// so the reader stops accumulating digits here and never overflows.
constexpr int32_t kNumberCap = 1000000;

bool IsSpace(int ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n' || ch == '\v' || ch == '\f'; }
bool IsDigit(int ch) { return ch >= '0' && ch <= '9'; }

// Reads one decimal integer with an optional sign, after any white space, the way
// the "%d" conversion does. Returns false at the end of the file or at anything
// that is not a number. Out-of-range magnitudes come back as kNumberCap.
bool ReadInt(FILE* file, int32_t& value) {
    if (feof(file) || ferror(file)) return false;  // an earlier number ended the file
    int ch = fgetc(file);
    while (IsSpace(ch)) ch = fgetc(file);
    bool negative = false;
    if (ch == '+' || ch == '-') {
        negative = ch == '-';
        ch = fgetc(file);
    }
    if (!IsDigit(ch)) return false;
    int32_t magnitude = 0;
    while (IsDigit(ch)) {
        if (magnitude < kNumberCap) magnitude = magnitude * 10 + (ch - '0');
        ch = fgetc(file);
    }
    if (ch != EOF) ungetc(ch, file);  // the next read starts at what ended this number
    value = negative ? -magnitude : magnitude;
    return true;
}

bool InBox(int32_t v) { return v >= 0 && v < kBrickBox; }

// Reads the four cells of one rotation and derives its box, row counts and top and
// bottom profiles. Returns false when the file fails or the rotation breaks a constraint.
bool ReadRotation(FILE* file, BrickRotation& rot) {
    bool colUsed[kBrickBox] = {};
    bool rowUsed[kBrickBox] = {};
    int32_t previousDy = 0;
    for (int i = 0; i < kBrickCells; ++i) {
        int32_t dx = 0, dy = 0;
        if (!ReadInt(file, dx) || !ReadInt(file, dy)) return false;
        if (!InBox(dx) || !InBox(dy) || dy < previousDy) return false;
        for (int j = 0; j < i; ++j)
            if (rot.cell[j][0] == dx && rot.cell[j][1] == dy) return false;
        previousDy = dy;
        rot.cell[i][0] = static_cast<uint8_t>(dx);
        rot.cell[i][1] = static_cast<uint8_t>(dy);
        rot.rowCount[dy] += 1;
        if (rot.colBottom[dx] < dy + 1) rot.colBottom[dx] = static_cast<uint8_t>(dy + 1);
        if (!colUsed[dx]) rot.colTop[dx] = static_cast<uint8_t>(dy);  // cells come top row first
        colUsed[dx] = true;
        rowUsed[dy] = true;
    }
    // Occupied columns: one run starting at 0 or 1. Occupied rows: one run.
    int columns = 0, rows = 0;
    for (int i = 0; i < kBrickBox; ++i) {
        columns += colUsed[i];
        rows += rowUsed[i];
    }
    rot.left = rot.colBottom[0] == 0 ? 1 : 0;
    rot.right = static_cast<uint8_t>(rot.left - 1 + columns);
    rot.top = rot.cell[0][1];
    rot.bottom = rot.cell[kBrickCells - 1][1];
    for (int i = rot.left; i <= rot.right; ++i)
        if (!colUsed[i]) return false;
    return rot.bottom - rot.top + 1 == rows;
}

}  // namespace

int LoadBrickTableFrom(const char* path, BrickTable& table) {
    FILE* file = fopen(path, "rb");
    if (file == nullptr) return 0;
    const int result = ReadBrickTable(file, table);
    fclose(file);
    return result;
}

int ReadBrickTable(FILE* file, BrickTable& table) {
    BrickTable loaded = {};
    bool ok = true;
    for (int t = 0; ok && t < kBrickTypes; ++t) {
        BrickType& type = loaded.types[t];
        ok = ReadInt(file, type.rotationCount) && type.rotationCount >= 1 && type.rotationCount <= kMaxRotations;
        for (int r = 0; ok && r < type.rotationCount; ++r) ok = ReadRotation(file, type.rotations[r]);
    }
    if (!ok) return 0;
    table = loaded;
    return 1;
}

int LoadBrickTable(BrickTable& table) { return LoadBrickTableFrom(kBrickFileName, table); }
