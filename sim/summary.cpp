#include "sim/summary.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Two-sided 95% quantile of Student's t with df degrees of freedom: a table up to
// 30, then the Cornish-Fisher expansion around the normal quantile (good to 0.001).
double StudentT95(uint32_t df) {
    static const double kTable[] = {12.706, 4.303, 3.182, 2.776, 2.571, 2.447, 2.365, 2.306, 2.262, 2.228,
                                    2.201,  2.179, 2.160, 2.145, 2.131, 2.120, 2.110, 2.101, 2.093, 2.086,
                                    2.080,  2.074, 2.069, 2.064, 2.060, 2.056, 2.052, 2.048, 2.045, 2.042};
    if (df >= 1 && df <= 30) return kTable[df - 1];
    const double z = 1.959964, n = df;
    return z + (z * z * z + z) / (4 * n) + (5 * pow(z, 5) + 16 * z * z * z + 3 * z) / (96 * n * n);
}

}  // namespace

Spread SpreadOf(std::vector<uint32_t> values) {
    Spread s{};
    const size_t n = values.size();
    if (n == 0) return s;
    std::sort(values.begin(), values.end());
    double sum = 0;
    for (uint32_t v : values) sum += v;
    s.mean = sum / static_cast<double>(n);
    if (n > 1) {
        double squares = 0;
        for (uint32_t v : values) squares += (v - s.mean) * (v - s.mean);
        const double deviation = sqrt(squares / static_cast<double>(n - 1));
        s.halfWidth = StudentT95(static_cast<uint32_t>(n - 1)) * deviation / sqrt(static_cast<double>(n));
    }
    s.median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + static_cast<double>(values[n / 2])) / 2;
    s.min = values.front();
    s.max = values.back();
    return s;
}

int WriteCsv(FILE* out, const std::vector<GameResult>& results) {
    fprintf(out, "game,seed,bricks,rows,single,double,triple,quadruple,capped\n");
    for (size_t i = 0; i < results.size(); ++i) {
        const GameResult& g = results[i];
        fprintf(out, "%zu,%u,%u,%u,%u,%u,%u,%u,%d\n", i, g.seed, g.bricks, g.rows, g.clears[1], g.clears[2],
                g.clears[3], g.clears[4], g.capped ? 1 : 0);
    }
    return fflush(out) == 0 && !ferror(out);
}

void PrintSummary(FILE* out, const RunConfig& config, const std::vector<GameResult>& results, double seconds) {
    const uint32_t lastSeed = config.seed + (config.games - 1);  // unsigned: wraps past 4294967295 to 0
    fprintf(out, "run              %u games, seeds %u to %u%s\n", config.games, config.seed, lastSeed,
            lastSeed < config.seed ? " (wrapping past 4294967295 to 0)" : "");
    if (strcmp(config.selection, "random") == 0)
        fprintf(out, "selection        random\n");
    else
        fprintf(out, "selection        %s (%s suitable bricks), intensity %d\n", config.selection,
                strcmp(config.selection, "better") == 0 ? "more" : "less", config.intensity);
    fprintf(out, "brick cap        %u bricks a game\n", config.maxBricks);
    fprintf(out, "brick file       %s\n", config.brickFile);
    fprintf(out, "jobs             %u\n", config.jobs);

    std::vector<uint32_t> rows, bricks;
    double totalRows = 0, totalBricks = 0, clears[5] = {};
    size_t capped = 0;
    for (const GameResult& g : results) {
        rows.push_back(g.rows);
        bricks.push_back(g.bricks);
        totalRows += g.rows;
        totalBricks += g.bricks;
        for (int n = 1; n <= 4; ++n) clears[n] += g.clears[n];
        capped += g.capped;
    }
    const Spread r = SpreadOf(rows), b = SpreadOf(bricks);
    fprintf(out, "games            %zu (%zu capped at %u bricks)\n", results.size(), capped, config.maxBricks);
    fprintf(out, "rows per game    mean %.1f +- %.1f (95%% interval), median %.1f, min %u, max %u\n", r.mean,
            r.halfWidth, r.median, r.min, r.max);
    fprintf(out, "bricks per game  mean %.1f +- %.1f (95%% interval), median %.1f, min %u, max %u\n", b.mean,
            b.halfWidth, b.median, b.min, b.max);
    fprintf(out, "rows per brick   %.4f\n", totalBricks > 0 ? totalRows / totalBricks : 0.0);
    fprintf(out, "clears           single %.0f, double %.0f, triple %.0f, quadruple %.0f\n", clears[1], clears[2],
            clears[3], clears[4]);
    fprintf(out, "speed            %.0f bricks/s with %u jobs (%.2f s)\n", seconds > 0 ? totalBricks / seconds : 0.0,
            config.jobs, seconds);
}
