// The seven brick types and their rotations, as read from the brick file.
// Nothing about a brick's shape is built into the program: every cell comes from
// "kvader.dat", and the box, row counts and top and bottom profiles of each rotation
// are derived once while the file is read, so no user of a rotation scans its cells.
#pragma once

#include <cstdint>
#include <cstdio>

inline constexpr int kBrickTypes = 7;  // square, bar, T, S, Z, L, J
inline constexpr int kMaxRotations = 4;
inline constexpr int kBrickCells = 4;
inline constexpr int kBrickBox = 4;  // a rotation's cells lie in a 4 x 4 box

enum BrickKind : int32_t { kSquare = 0, kBar, kTee, kEss, kZed, kEll, kJay };

// One orientation of a brick. cell[i][0] = dx (column in the box, rightwards),
// cell[i][1] = dy (row in the box, downwards); cells are listed with dy never
// decreasing, so cell[0] lies in the topmost row and cell[3] in the lowest.
struct BrickRotation {
    uint8_t cell[kBrickCells][2];
    uint8_t left, top, right, bottom;  // first/last local column and row holding a cell
    uint8_t rowCount[kBrickBox];       // entry j: cells whose dy is j
    uint8_t colBottom[kBrickBox];      // entry i: 1 + largest dy in local column i; 0 if empty
    uint8_t colTop[kBrickBox];         // entry i: smallest dy in local column i, the dy of its
                                       // first listed cell; 0 if empty
};

// One kind of brick: rotations 0 .. rotationCount-1 are filled, the rest stay zero.
// Rotating forward steps to the next index (clockwise), back to the previous one.
struct BrickType {
    int32_t rotationCount;
    BrickRotation rotations[kMaxRotations];
};

// The seven kinds, indexed by their position in the file.
struct BrickTable {
    BrickType types[kBrickTypes];
};

// The brick file's name.
inline constexpr char kBrickFileName[] = "kvader.dat";

// Reads "kvader.dat" from the current directory into table.
// Returns 1 when the file was read and every rotation meets the constraints below,
// 0 when it cannot be opened, ends early, holds something that is not an integer or
// breaks a constraint; on 0 the table is left exactly as it was.
// Constraints: 1 to 4 rotations; every dx and dy 0 to 3, the four cells distinct;
// dy never decreasing; the occupied local columns one unbroken run starting at
// column 0 or 1; the occupied local rows one unbroken run.
int LoadBrickTable(BrickTable& table);

// The same reader for any path; same results. The game finds its file with
// LoadGameBricks (ui/game_files.h); this is for the tests and kvader-sim.
int LoadBrickTableFrom(const char* path, BrickTable& table);

// The same reader on a file open for reading, from where it stands (the fuzz target
// reads from memory); the file is left open. Same results.
int ReadBrickTable(FILE* file, BrickTable& table);
