// RatePuzzle over a fixed mixed corpus: puzzles made here from a fixed seed, of every level
// band, and ones the ladder cannot finish. Reports the time per puzzle for each group.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>
#include <vector>

#include "generator/puzzle_maker.h"
#include "grading/grid_geometry.h"
#include "grading/ladder.h"
#include "grading/step_record.h"
#include "grading/technique_codes.h"

namespace {

using Givens = std::array<uint8_t, 81>;

// Group 0: stalled (the ladder stops with cells empty); groups 1..4: level bands.
struct Corpus {
    std::vector<Givens> groups[5];
    std::vector<Givens> mixed;
};

const Corpus& TheCorpus()
{
    static const Corpus corpus = [] {
        BuildGridGeometry();
        Corpus c;
        const size_t wanted = 400;
        for (uint64_t attempt = 0; attempt < 400000; ++attempt) {
            const int band = static_cast<int>(attempt % 4) + 1;
            const Attempt made = MakePuzzle(AttemptSeed(2026, band, attempt), DefaultGivenRange(band), Symmetry::None);
            if (!made.unique) continue;
            const int group = made.record.hardestTechnique == 0 ? 0 : TechniqueLevel(made.record.hardestTechnique);
            if (c.groups[group].size() >= wanted) continue;
            Givens givens;
            std::memcpy(givens.data(), made.record.givens, 81);
            c.groups[group].push_back(givens);
            c.mixed.push_back(givens);
            bool full = true;
            for (const auto& g : c.groups) full &= g.size() >= wanted;
            if (full) break;
        }
        return c;
    }();
    return corpus;
}

// Times each puzzle on its own and reports the median, along with the mean. With
// `recordSteps`, the rating also fills a step record for every step, as --explain does.
void RateGroup(benchmark::State& state, const std::vector<Givens>& puzzles, bool recordSteps = false)
{
    std::vector<double> perPuzzle;
    std::vector<StepRecord> steps;
    for (auto _ : state) {
        perPuzzle.clear();
        for (const Givens& givens : puzzles) {
            const auto start = std::chrono::steady_clock::now();
            benchmark::DoNotOptimize(RatePuzzle(givens.data(), 4, nullptr, recordSteps ? &steps : nullptr));
            perPuzzle.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
        }
    }
    std::nth_element(perPuzzle.begin(), perPuzzle.begin() + perPuzzle.size() / 2, perPuzzle.end());
    state.counters["median_us"] = perPuzzle[perPuzzle.size() / 2];
    state.counters["puzzles"] = static_cast<double>(puzzles.size());
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(puzzles.size()));
}

void BM_RateMixed(benchmark::State& state) { RateGroup(state, TheCorpus().mixed); }
void BM_RateMixedWithStepRecords(benchmark::State& state) { RateGroup(state, TheCorpus().mixed, true); }
void BM_RateStalled(benchmark::State& state) { RateGroup(state, TheCorpus().groups[0]); }
void BM_RateLevel(benchmark::State& state) { RateGroup(state, TheCorpus().groups[state.range(0)]); }

// Loading alone, which every rating starts with.
void BM_LoadGrid(benchmark::State& state)
{
    const std::vector<Givens>& puzzles = TheCorpus().mixed;
    for (auto _ : state)
        for (const Givens& givens : puzzles) benchmark::DoNotOptimize(LoadGrid(givens.data()));
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(puzzles.size()));
}

BENCHMARK(BM_LoadGrid);
BENCHMARK(BM_RateMixed)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RateMixedWithStepRecords)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RateLevel)->DenseRange(1, 4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RateStalled)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
