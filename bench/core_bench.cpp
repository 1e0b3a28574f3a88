// Speed of the computer player: one evaluation (and the plain reference it must
// beat), one steered choice, whole automatic games brick by brick, and the
// simulator's games on one thread and on two. After the runs a table sets each
// figure beside its goal.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "ai/chooser.h"
#include "ai/evaluator.h"
#include "mid_game.h"
#include "model/board.h"
#include "model/brick.h"
#include "reference_evaluator.h"
#include "sim/simulator.h"

namespace {

const BrickTable& Table() {
    static BrickTable table;
    static const int loaded = LoadBrickTable(table);
    if (!loaded) {
        fprintf(stderr, "kvader.dat must be in the working directory\n");
        exit(1);
    }
    return table;
}

void BM_FindBestPlacement(benchmark::State& state) {
    const Board board = MidGameBoard(Table());
    int type = 0;
    for ([[maybe_unused]] auto _ : state) {
        BrickPos pos;
        benchmark::DoNotOptimize(FindBestPlacement(Table().types[type], &pos, board));
        type = (type + 1) % kBrickTypes;
    }
}
BENCHMARK(BM_FindBestPlacement);

// The same placements scored cell by cell from the grid.
void BM_ReferencePlacement(benchmark::State& state) {
    const Board board = MidGameBoard(Table());
    int type = 0;
    for ([[maybe_unused]] auto _ : state) {
        benchmark::DoNotOptimize(ReferenceBestPlacement(Table().types[type], board));
        type = (type + 1) % kBrickTypes;
    }
}
BENCHMARK(BM_ReferencePlacement);

void BM_ChooseBrickSteered(benchmark::State& state) {
    Board board = MidGameBoard(Table());
    SetBrickSelection(kMoreSuitable, 5);
    for ([[maybe_unused]] auto _ : state) benchmark::DoNotOptimize(ChooseBrick(Table(), board));
    SetBrickSelection(kRandomSelection, 5);
}
BENCHMARK(BM_ChooseBrickSteered);

// The automatic game as fast as it can go, with the selection of the argument; a
// game that ends starts again. Items are bricks landed.
void BM_AutomaticGame(benchmark::State& state) {
    SetRandomDraw(nullptr);
    srand(11);
    SetBrickSelection(static_cast<int32_t>(state.range(0)), 5);
    Board board{};
    ResetBoard(board);
    int64_t bricks = 0, rows = 0, games = 1;
    for ([[maybe_unused]] auto _ : state) {
        const BrickType& brick = *ChooseBrick(Table(), board);
        BrickPos pos = SpawnPos;
        FindBestPlacement(brick, &pos, board);
        if (!FixBrick(brick.rotations[pos.rotation], pos, board)) {
            rows += board.rowsTotal;
            ResetBoard(board);
            ++games;
        }
        ++bricks;
    }
    rows += board.rowsTotal;
    state.SetItemsProcessed(bricks);
    state.counters["rows_per_brick"] = static_cast<double>(rows) / static_cast<double>(bricks);
    state.counters["games"] = static_cast<double>(games);
    state.counters["board_bytes"] = sizeof(Board);
    state.counters["table_bytes"] = sizeof(BrickTable);
    SetBrickSelection(kRandomSelection, 5);
}
BENCHMARK(BM_AutomaticGame)->Arg(kRandomSelection)->Arg(kMoreSuitable)->Arg(kLessSuitable);

// kvader-sim's games, random selection, on the argument's number of threads; wall
// time, items are bricks landed.
void BM_SimulatorJobs(benchmark::State& state) {
    SetBrickSelection(kRandomSelection, 5);
    int64_t bricks = 0;
    for ([[maybe_unused]] auto _ : state)
        for (const GameResult& g : PlayGames(Table(), 1, 200, 100000, static_cast<unsigned>(state.range(0))))
            bricks += g.bricks;
    state.SetItemsProcessed(bricks);
    SetRandomDraw(nullptr);
}
BENCHMARK(BM_SimulatorJobs)->Arg(1)->Arg(2)->UseRealTime()->Unit(benchmark::kMillisecond);

// Shows the aggregates of repeated benchmarks (each run alone otherwise) and keeps,
// by name, the best time per iteration (ns) and the best items per second of the
// runs. The best is the figure to compare: on a shared virtual machine other guests
// slow a run down by half at times, and never speed it up.
class GoalReporter : public benchmark::ConsoleReporter {
  public:
    std::map<std::string, double> nanoseconds, itemsPerSecond;

    void ReportRuns(const std::vector<Run>& runs) override {
        std::vector<Run> shown;
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate || run.repetitions <= 1) shown.push_back(run);
            if (run.run_type != Run::RT_Iteration) continue;
            const std::string name = run.run_name.str();
            const double ns = run.GetAdjustedRealTime() * 1e9 / benchmark::GetTimeUnitMultiplier(run.time_unit);
            if (nanoseconds.count(name) == 0 || ns < nanoseconds[name]) nanoseconds[name] = ns;
            const auto items = run.counters.find("items_per_second");
            if (items != run.counters.end() && items->second > itemsPerSecond[name])
                itemsPerSecond[name] = items->second;
        }
        ConsoleReporter::ReportRuns(shown);
    }
};

void PrintGoal(const char* figure, double value, const char* unit, const char* goal, bool met) {
    printf("%-48s %10.2f %-10s %-12s %s\n", figure, value, unit, goal, met ? "met" : "MISSED");
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    GoalReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto ns = [&](const char* name) { return reporter.nanoseconds[name]; };
    auto perSecond = [&](const char* name) { return reporter.itemsPerSecond[name]; };
    const double evaluation = ns("BM_FindBestPlacement"), reference = ns("BM_ReferencePlacement");
    const double steered = ns("BM_ChooseBrickSteered"), automatic = perSecond("BM_AutomaticGame/0");
    const double oneJob = perSecond("BM_SimulatorJobs/1/real_time"),
                 twoJobs = perSecond("BM_SimulatorJobs/2/real_time");
    if (evaluation == 0 || reference == 0 || steered == 0 || automatic == 0 || oneJob == 0 || twoJobs == 0)
        return 0;  // a filter left some out: no table
    printf("\n%-48s %10s %-10s %-12s %s\n", "figure", "measured", "", "goal", "");
    PrintGoal("FindBestPlacement, mid-game board", evaluation, "ns", "< 120 ns", evaluation < 120);
    PrintGoal("plain reference / FindBestPlacement", reference / evaluation, "times", ">= 2.5",
              reference >= 2.5 * evaluation);
    PrintGoal("steered ChooseBrick", steered, "ns", "< 1000 ns", steered < 1000);
    PrintGoal("automatic game, random selection, one core", automatic / 1e6, "M bricks/s", "> 4", automatic > 4e6);
    PrintGoal("simulator bricks/s, 2 jobs / 1 job", twoJobs / oneJob, "times", ">= 1.8", twoJobs >= 1.8 * oneJob);
    return 0;
}
