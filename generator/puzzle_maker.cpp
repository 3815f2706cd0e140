#include "generator/puzzle_maker.h"

#include <algorithm>
#include <cstring>
#include <thread>
#include <unordered_set>

#include "generator/solution_counter.h"
#include "grading/grid_geometry.h"
#include "grading/ladder.h"
#include "grading/technique_codes.h"

GivenRange DefaultGivenRange(int level)
{
    switch (level) {
    case 1: return {36, 42};
    case 2: return {30, 35};
    case 3: return {22, 28};
    default: return {22, 28};
    }
}

uint64_t AttemptSeed(uint64_t seed, int level, uint64_t attempt)
{
    // splitmix64 finaliser over the three numbers: nearby attempts get unrelated seeds.
    uint64_t z = seed ^ (static_cast<uint64_t>(level) << 56) ^ (attempt * 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

Attempt MakePuzzle(uint64_t attemptSeed, GivenRange givens, Symmetry symmetry)
{
    Attempt attempt;
    PuzzleRecord& record = attempt.record;
    SeedGradingRandom(attemptSeed);
    ClearUsedDigitMasks();
    FillRandomGrid(record.solution, 0);

    int order[81];
    for (int i = 0; i < 81; ++i) order[i] = i;
    for (int i = 80; i > 0; --i) std::swap(order[i], order[UniformRandom(i)]);
    const int target = givens.min + static_cast<int>(UniformRandom(givens.max - givens.min));

    uint8_t* puzzle = record.givens;
    std::memcpy(puzzle, record.solution, 81);
    int count = 81;
    for (int i = 0; i < 81 && count > target; ++i) {
        const int cell = order[i];
        if (puzzle[cell] == 0) continue;
        const int digit = puzzle[cell];
        if (symmetry == Symmetry::None || cell == 40) {
            puzzle[cell] = 0;
            if (HasSolutionWithout(puzzle, cell, digit)) puzzle[cell] = static_cast<uint8_t>(digit);
            else --count;
        } else {
            const int twin = 80 - cell;
            const uint8_t twinDigit = puzzle[twin];
            puzzle[cell] = puzzle[twin] = 0;
            if (CountSolutions(puzzle, 2) != 1) {
                puzzle[cell] = static_cast<uint8_t>(digit);
                puzzle[twin] = twinDigit;
            } else {
                count -= 2;
            }
        }
    }
    if (count > givens.max || count < givens.min) return attempt;
    attempt.unique = true;
    record.givenCount = static_cast<uint8_t>(count);
    record.hardestTechnique = static_cast<uint8_t>(RatePuzzle(puzzle).hardest);
    return attempt;
}

std::vector<PuzzleRecord> MakeLevel(uint64_t seed, const LevelRequest& request, Symmetry symmetry, int jobs,
                                    const std::atomic<bool>& stop, const ProgressReport& report)
{
    // Attempts run in numbered batches; the kept puzzles are the first `count` distinct
    // ones in attempt order, whichever thread made them.
    constexpr uint64_t batchSize = 1024;
    std::vector<PuzzleRecord> kept;
    std::unordered_set<std::string> seen;
    std::vector<Attempt> batch(batchSize);
    jobs = std::max(1, jobs);

    for (uint64_t base = 0; static_cast<int>(kept.size()) < request.count && !stop; base += batchSize) {
        std::atomic<uint64_t> next{0};
        auto work = [&] {
            for (uint64_t i; (i = next.fetch_add(1)) < batchSize && !stop;)
                batch[i] = MakePuzzle(AttemptSeed(seed, request.level, base + i), request.givens, symmetry);
        };
        std::vector<std::thread> threads;
        for (int t = 1; t < jobs; ++t) threads.emplace_back(work);
        work();
        for (std::thread& thread : threads) thread.join();
        if (stop) break;

        for (uint64_t i = 0; i < batchSize && static_cast<int>(kept.size()) < request.count; ++i) {
            const PuzzleRecord& record = batch[i].record;
            if (!batch[i].unique || record.hardestTechnique == 0 ||
                TechniqueLevel(record.hardestTechnique) != request.level)
                continue;
            if (!seen.emplace(reinterpret_cast<const char*>(record.givens), 81).second) continue;
            kept.push_back(record);
        }
        if (report) report(static_cast<int>(kept.size()), base + batchSize);
    }
    return kept;
}
