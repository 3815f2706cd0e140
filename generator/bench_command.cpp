// `vakidogenerator bench`: how fast puzzles are made, raw and per level, on one thread and
// on several, and which hardest techniques the kept puzzles of each level need.
#include <chrono>
#include <iomanip>
#include <map>
#include <ostream>

#include "generator/commands.h"
#include "grading/technique_codes.h"

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// "naked triple 47 %, X-Wing 35 %, ..." over the hardest techniques of the puzzles.
std::string Mix(const std::vector<PuzzleRecord>& puzzles)
{
    std::map<int, int> byCode;
    for (const PuzzleRecord& record : puzzles) ++byCode[record.hardestTechnique];
    std::string text;
    for (const auto& [code, count] : byCode) {
        if (!text.empty()) text += ", ";
        text += std::string(TechniqueName(code)) + " " + std::to_string((100 * count + puzzles.size() / 2) / puzzles.size()) + " %";
    }
    return text;
}

}  // namespace

int RunBench(int count, int jobs, std::ostream& out)
{
    const std::atomic<bool> never{false};
    out << std::fixed << std::setprecision(0);

    // Raw: fill, dig to a minimal-sized puzzle, rate; one thread.
    const auto rawStart = Clock::now();
    int unique = 0;
    const int rawCount = count * 10;
    for (int i = 0; i < rawCount; ++i) unique += MakePuzzle(AttemptSeed(1, 0, i), DefaultGivenRange(4), Symmetry::None).unique;
    out << "raw (fill, dig, rate), 1 thread: " << rawCount / SecondsSince(rawStart) << " puzzles/s (" << unique << " of "
        << rawCount << " within the given range)\n";

    for (int level = 1; level <= 4; ++level) {
        std::vector<PuzzleRecord> kept;
        for (int threads : {1, jobs}) {
            uint64_t attempts = 0;
            const auto start = Clock::now();
            kept = MakeLevel(7, LevelRequest{level, count, DefaultGivenRange(level)}, Symmetry::None, threads, never,
                             [&](int, uint64_t made) { attempts = made; });
            const double seconds = SecondsSince(start);
            out << "level " << level << ", " << threads << " thread(s): " << kept.size() / seconds << " puzzles/s, "
                << attempts << " attempts for " << kept.size() << " puzzles, " << std::setprecision(2) << seconds
                << std::setprecision(0) << " s\n";
            if (jobs == 1) break;
        }
        out << "level " << level << " mix: " << Mix(kept) << "\n";
        if (level >= 3) {
            // The same level by blind digging alone, to compare the mix with.
            LevelRequest blind{level, std::max(1, count / 4), DefaultGivenRange(level)};
            blind.targeted = false;
            out << "level " << level << " mix by blind digging (" << blind.count
                << " puzzles): " << Mix(MakeLevel(7, blind, Symmetry::None, jobs, never, nullptr)) << "\n";
        }
    }
    return 0;
}
