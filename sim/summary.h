// What a run of simulated games comes to: one CSV row per game, and a summary of
// rows and bricks per game with their spread, clears by size and speed.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

#include "sim/simulator.h"

// Mean with the half-width of its 95% confidence interval (Student's t), median,
// smallest and largest of values; all zero for no values.
struct Spread {
    double mean, halfWidth, median;
    uint32_t min, max;
};
Spread SpreadOf(std::vector<uint32_t> values);

// The header line "game,seed,bricks,rows,single,double,triple,quadruple,capped" and
// one row per game, game numbers counting from 0. Returns 1 when everything was
// written, 0 on a write error.
int WriteCsv(FILE* out, const std::vector<GameResult>& results);

// What a run was asked to play, as its summary names it.
struct RunConfig {
    uint32_t games, seed;   // game i starts the generator at seed + i (wrapping)
    const char* selection;  // "random", "better" or "worse"
    int32_t intensity;      // of a steered selection
    uint32_t maxBricks;     // the cap of a game
    const char* brickFile;  // the path as given
    unsigned jobs;          // threads playing games
};

// The summary, in lines of plain text for a reader: first the configuration that
// produced it, so that a saved summary tells what it measured, then the results;
// seconds is the wall time of the run.
void PrintSummary(FILE* out, const RunConfig& config, const std::vector<GameResult>& results, double seconds);
