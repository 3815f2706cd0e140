// `vakidogenerator bench`: how fast puzzles are made, raw and per level.
#include <chrono>
#include <iomanip>
#include <ostream>

#include "generator/commands.h"

int RunBench(int count, int jobs, std::ostream& out)
{
    using Clock = std::chrono::steady_clock;
    const std::atomic<bool> never{false};
    out << std::fixed << std::setprecision(0);

    // Raw: fill, dig to a minimal-sized puzzle, rate; one thread.
    const auto rawStart = Clock::now();
    int unique = 0;
    const int rawCount = count * 10;
    for (int i = 0; i < rawCount; ++i) unique += MakePuzzle(AttemptSeed(1, 0, i), DefaultGivenRange(4), Symmetry::None).unique;
    const double rawSeconds = std::chrono::duration<double>(Clock::now() - rawStart).count();
    out << "raw (fill, dig, rate), 1 thread: " << rawCount / rawSeconds << " puzzles/s (" << unique << " of " << rawCount
        << " within the given range)\n";

    for (int level = 1; level <= 4; ++level) {
        for (int threads : {1, jobs}) {
            uint64_t attempts = 0;
            const auto start = Clock::now();
            const auto kept = MakeLevel(7, LevelRequest{level, count, DefaultGivenRange(level)}, Symmetry::None, threads,
                                        never, [&](int, uint64_t made) { attempts = made; });
            const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
            out << "level " << level << ", " << threads << " thread(s): " << kept.size() / seconds << " puzzles/s, "
                << attempts << " attempts for " << kept.size() << " puzzles, " << std::setprecision(2) << seconds
                << std::setprecision(0) << " s\n";
            if (jobs == 1) break;
        }
    }
    return 0;
}
