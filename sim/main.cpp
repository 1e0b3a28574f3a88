// kvader-sim: plays automatic games without windows and reports how well the
// computer plays. Its help (kDraws) lists the exit codes.
#include <CLI/CLI.hpp>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <iostream>
#include <map>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "ai/chooser.h"
#include "sim/simulator.h"
#include "sim/summary.h"

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace {

struct Options {
    uint32_t games = 100;
    uint32_t seed = 1;
    std::string selection = "random";
    int32_t intensity = 5;
    uint32_t maxBricks = 100000;
    std::string data = "kvader.dat";
    unsigned jobs = 1;
    std::string csv;
    std::string log;
};

const char* const kAbout =
    "Plays automatic games of Kvader without windows, exactly as the game's automatic mode does, "
    "and prints a summary: rows and bricks per game, rows per brick, clears by size, speed.";

const char* const kDraws =
    "Draws: the 15-bit linear congruential generator state = state * 214013 + 2531011 (unsigned 32-bit), "
    "draw = (state >> 16) & 32767. Game i (counting from 0) starts the generator at seed + i, so every game "
    "is the same on every platform and build, whatever --jobs is and whichever games run before it.\n"
    "Exit codes: 0 done; 1 the brick file is missing or refused, the CSV or log file cannot be written "
    "(nothing is written to either), or the run failed where no check foresees it (not enough memory for the "
    "results of its games, a thread the system would not start), each with a message that says which; 2 bad "
    "arguments (an unknown option or argument, a missing value, a value outside its range or choices), with the "
    "usage.";

// A bar on standard error while games are played, for a person watching.
void ShowProgress(uint32_t done, uint32_t games) {
    constexpr int kWidth = 40;
    const int filled = static_cast<int>(static_cast<uint64_t>(done) * kWidth / games);
    fprintf(stderr, "\r[%.*s%*s] %u/%u games", filled, "########################################", kWidth - filled, "",
            done, games);
    if (done == games) fprintf(stderr, "\r%*s\r", kWidth + 32, "");
    fflush(stderr);
}

// A whole decimal number from lo to hi; anything else is refused with a message
// that says so (CLI11's own would call "abc" a value out of range).
CLI::Validator WholeNumber(uint64_t lo, uint64_t hi) {
    const std::string expected = "a whole number from " + std::to_string(lo) + " to " + std::to_string(hi);
    return CLI::Validator(
        [=](std::string& text) -> std::string {
            const bool digits =
                !text.empty() && text.size() <= 19 && text.find_first_not_of("0123456789") == std::string::npos;
            const uint64_t value = digits ? std::stoull(text) : 0;
            if (digits && value >= lo && value <= hi) return {};
            return expected + " is expected, not '" + text + "'";
        },
        expected);
}

// Why the brick file cannot be used: missing (then, if none was named, how to name
// one) or present but refused.
void ReportBrickFile(const std::string& path, bool named) {
    FILE* file = fopen(path.c_str(), "rb");
    if (file == nullptr) {
        const int error = errno;
        if (named)
            fprintf(stderr, "kvader-sim: cannot open the brick file '%s': %s\n", path.c_str(), strerror(error));
        else
            fprintf(stderr, "kvader-sim: no brick file: '%s' is not in the current folder; name one with --data PATH\n",
                    path.c_str());
        return;
    }
    fclose(file);
    fprintf(stderr,
            "kvader-sim: the brick file '%s' exists but is not a valid brick file (seven brick types, each a rotation "
            "count of 1 to 4 and four cells per rotation)\n",
            path.c_str());
}

// Opens the output files whose paths are not empty, or none of them: first every one
// is tried without truncating it (and one that this try created is removed again when
// another fails), so that a bad path costs no other file its contents. False, with a
// message, when one cannot be written.
bool OpenOutputs(const std::string* const (&paths)[2], FILE* (&files)[2]) {
    bool created[2] = {};
    for (int i = 0; i < 2; ++i) {
        if (paths[i]->empty()) continue;
        const char* path = paths[i]->c_str();
        FILE* existing = fopen(path, "rb");
        if (existing) fclose(existing);
        FILE* file = fopen(path, "ab");
        if (file == nullptr) {
            fprintf(stderr, "kvader-sim: cannot write '%s': %s\n", path, strerror(errno));
            for (int j = 0; j < i; ++j)
                if (created[j]) remove(paths[j]->c_str());
            return false;
        }
        fclose(file);
        created[i] = existing == nullptr;
    }
    for (int i = 0; i < 2; ++i)
        if (!paths[i]->empty()) files[i] = fopen(paths[i]->c_str(), "wb");
    return true;
}

// Closes an output file; false (with a message) when writing it failed.
bool CloseOutput(const std::string& path, FILE* file, bool written) {
    if (fclose(file) == 0 && written) return true;
    fprintf(stderr, "kvader-sim: writing '%s' failed\n", path.c_str());
    return false;
}

// The whole run; main adds only the report of what no check above foresaw.
int Run(int argc, char** argv) {
    Options o;
    o.jobs = std::max(1u, std::thread::hardware_concurrency());
    const std::map<std::string, int32_t> kSelections{
        {"random", kRandomSelection}, {"better", kMoreSuitable}, {"worse", kLessSuitable}};
    std::vector<std::string> selectionNames;
    selectionNames.reserve(kSelections.size());
    for (const auto& s : kSelections) selectionNames.push_back(s.first);

    CLI::App app{kAbout, "kvader-sim"};
    app.footer(kDraws);
    app.add_option("--games", o.games, "games to play")->check(WholeNumber(1, 100000000))->capture_default_str();
    app.add_option("--seed", o.seed, "seed of game 0, 0 to 4294967295")
        ->check(WholeNumber(0, UINT32_MAX))
        ->capture_default_str();
    app.add_option("--selection", o.selection, "random, better (more suitable bricks) or worse (less suitable)")
        ->check(CLI::IsMember(selectionNames))
        ->capture_default_str();
    app.add_option("--intensity", o.intensity, "intensity of the steered selection, 1 to 2147483647")
        ->check(WholeNumber(1, INT32_MAX))
        ->capture_default_str();
    app.add_option("--max-bricks", o.maxBricks, "a game that lands this many bricks stops and counts as capped")
        ->check(WholeNumber(1, UINT32_MAX))
        ->capture_default_str();
    app.add_option("--data", o.data, "the brick file")->capture_default_str();
    app.add_option("--jobs", o.jobs, "threads playing games (default: every core)")->check(WholeNumber(1, 1024));
    app.add_option("--csv", o.csv, "also write one row per game to this file");
    app.add_option("--log", o.log,
                   "also write every brick of every game to this file, one line each: game,brick,type,rotation,"
                   "column,row,score,rows (rows removed, -1 for the refused brick that ends a game)");
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        std::cout << app.help();
        return 0;
    } catch (const CLI::ParseError& e) {
        std::cerr << "kvader-sim: " << e.what() << "\n\n" << app.help();
        return 2;
    }

    static BrickTable table;
    if (!LoadBrickTableFrom(o.data.c_str(), table)) {
        ReportBrickFile(o.data, app.count("--data") > 0);
        return 1;
    }
    FILE* outputs[2] = {};
    if (!OpenOutputs({&o.csv, &o.log}, outputs)) return 1;
    FILE* const csv = outputs[0];
    FILE* const log = outputs[1];
    if (log) fputs(kLogHeader, log);

    SetBrickSelection(kSelections.at(o.selection), o.intensity);
    std::function<void(uint32_t)> progress;
    if (isatty(fileno(stderr))) progress = [&](uint32_t done) { ShowProgress(done, o.games); };
    const auto start = std::chrono::steady_clock::now();
    const std::vector<GameResult> results = PlayGames(table, o.seed, o.games, o.maxBricks, o.jobs, progress, log);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    int rc = 0;
    if (csv != nullptr && !CloseOutput(o.csv, csv, WriteCsv(csv, results) != 0)) rc = 1;
    if (log != nullptr && !CloseOutput(o.log, log, fflush(log) == 0 && !ferror(log))) rc = 1;
    const RunConfig config{o.games, o.seed, o.selection.c_str(), o.intensity, o.maxBricks, o.data.c_str(), o.jobs};
    PrintSummary(stdout, config, results, seconds);
    return rc;
}

}  // namespace

// A run that fails where no check foresees it says so and exits 1: too little memory
// for the results of many games, or a thread the system will not start.
int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::bad_alloc&) {
        fputs("kvader-sim: not enough memory for this run\n", stderr);
    } catch (const std::exception& e) {
        fprintf(stderr, "kvader-sim: the run failed: %s\n", e.what());
    }
    return 1;
}
