// The exact solver on a fixed set: 2000 puzzles made from a fixed seed (500 per level band),
// counted up to 2 solutions (the uniqueness test), then solved for their first solution.
// The plain depth-first counter it replaced runs beside it for comparison.
#include <benchmark/benchmark.h>

#include <array>
#include <cstring>
#include <vector>

#include "generator/puzzle_maker.h"
#include "generator/solution_counter.h"
#include "grading/grid_geometry.h"
#include "grading/technique_codes.h"
#include "tests/generator/reference_counter.h"

namespace {

using Givens = std::array<uint8_t, 81>;

const std::vector<Givens>& FixedSet()
{
    static const std::vector<Givens> set = [] {
        BuildGridGeometry();
        std::vector<Givens> puzzles;
        int perBand[5] = {};
        for (uint64_t attempt = 0; puzzles.size() < 2000 && attempt < 2000000; ++attempt) {
            const int band = static_cast<int>(attempt % 4) + 1;
            const Attempt made = MakePuzzle(AttemptSeed(2026, band, attempt), DefaultGivenRange(band), Symmetry::None);
            const int level = made.record.hardestTechnique ? TechniqueLevel(made.record.hardestTechnique) : 0;
            if (!made.unique || level == 0 || perBand[level] >= 500) continue;
            ++perBand[level];
            Givens givens;
            std::memcpy(givens.data(), made.record.givens, 81);
            puzzles.push_back(givens);
        }
        return puzzles;
    }();
    return set;
}

template <int (*Count)(const uint8_t*, int, uint8_t*)>
void BM_CountUpToTwo(benchmark::State& state)
{
    const auto& puzzles = FixedSet();
    for (auto _ : state)
        for (const Givens& givens : puzzles) benchmark::DoNotOptimize(Count(givens.data(), 2, nullptr));
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(puzzles.size()));
    state.counters["us_per_puzzle"] =
        benchmark::Counter(static_cast<double>(state.iterations() * puzzles.size()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::kIs1000);
}

int Solver(const uint8_t* grid, int limit, uint8_t* solution) { return CountSolutions(grid, limit, solution); }
int Reference(const uint8_t* grid, int limit, uint8_t* solution) { return ReferenceCountSolutions(grid, limit, solution); }

BENCHMARK_TEMPLATE(BM_CountUpToTwo, Solver)->Name("ExactSolver/CountUpToTwo")->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_CountUpToTwo, Reference)->Name("PlainCounter/CountUpToTwo")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
