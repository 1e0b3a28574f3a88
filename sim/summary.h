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

// The summary, in lines of plain text for a reader; seconds is the wall time of
// the run and jobs the threads it used.
void PrintSummary(FILE* out, const std::vector<GameResult>& results, uint32_t maxBricks, double seconds, unsigned jobs);
