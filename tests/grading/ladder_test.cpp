#include <gtest/gtest.h>

#include <vector>

#include <cstring>

#include "grading/ladder.h"
#include "grading/step_record.h"
#include "grading/techniques.h"
#include "tests/grading/reference_engine.h"
#include "tests/grading/test_grids.h"

namespace {

struct Sample {
    Grid puzzle;
    Grid solution;
};

// Minimal unique puzzles dug from random grids: they reach every rung of the ladder.
const std::vector<Sample>& UniquePuzzles()
{
    static const std::vector<Sample> samples = [] {
        std::vector<Sample> list;
        for (uint64_t seed = 1; seed <= 300; ++seed) {
            Grid solution = RandomSolution(seed);
            list.push_back({DigUniquePuzzle(solution, seed), solution});
        }
        return list;
    }();
    return samples;
}

// Grids that are not plain unique puzzles: too few givens (several solutions), and givens
// with one digit changed (an inconsistent grid the techniques must pass over quietly).
std::vector<Grid> OddGrids()
{
    std::vector<Grid> list;
    for (uint64_t seed = 1000; seed < 3000; ++seed) {
        Grid solution = RandomSolution(seed);
        Grid grid = KeepRandomCells(solution, 17 + static_cast<int>(seed % 20), seed);
        if (seed % 5 == 0) {
            for (int x = 0; x < 81; ++x)
                if (grid[x]) {
                    grid[x] = static_cast<uint8_t>(grid[x] % 9 + 1);
                    break;
                }
        }
        list.push_back(grid);
    }
    return list;
}

// Empty grid shaped so that only a pointing elimination (digit 1 of box 0 in row 0) applies.
void LoadPointingOnlyGrid()
{
    Grid empty{};
    LoadGrid(empty.data());
    for (int cell : {9, 10, 11, 18, 19, 20}) RemoveCandidates(cell, Digits({1}));
}

// Runs both engines step by step from the same state; returns the number of steps.
int ExpectIdenticalSteps(const Grid& grid, int maxLevel)
{
    if (!LoadGrid(grid.data())) return 0;
    for (int steps = 0;; ++steps) {
        const CandidateGrid before = candidateGrid;
        const int fast = TechniqueStep(maxLevel);
        const CandidateGrid afterFast = candidateGrid;
        candidateGrid = before;
        const int reference = ReferenceTechniqueStep(maxLevel);
        EXPECT_EQ(fast, reference) << "step " << steps;
        EXPECT_TRUE(SameCandidateGrid(afterFast, candidateGrid)) << "step " << steps << " code " << fast;
        if (fast != reference || !SameCandidateGrid(afterFast, candidateGrid)) return -1;
        EXPECT_TRUE(DigitPositionsMatchCandidates()) << "step " << steps;
        if (fast == 0) return steps;
    }
}

TEST(TechniqueStep, LevelGates)
{
    for (int maxLevel : {1, 0, -1, -100}) {
        LoadPointingOnlyGrid();
        const CandidateGrid before = candidateGrid;
        EXPECT_EQ(TechniqueStep(maxLevel), 0) << maxLevel;
        EXPECT_TRUE(SameCandidateGrid(before, candidateGrid));
    }
    for (int maxLevel : {2, 3, 4, 5, 99}) {
        LoadPointingOnlyGrid();
        EXPECT_EQ(TechniqueStep(maxLevel), 3) << maxLevel;
    }

    // A naked single and an X-Wing at once: the single comes first.
    Grid solution = RandomSolution(3);
    Grid puzzle = solution;
    puzzle[80] = 0;
    LoadGrid(puzzle.data());
    EXPECT_EQ(TechniqueStep(4), 1);

    // A complete grid offers nothing at any level.
    LoadGrid(solution.data());
    for (int maxLevel : {-1, 1, 2, 3, 4, 7}) EXPECT_EQ(TechniqueStep(maxLevel), 0);

    // Above 4 acts as 4 and below 1 as 1, on whole ratings.
    for (const Sample& sample : UniquePuzzles()) {
        std::vector<TechniqueCode> four, five, one, zero;
        RatePuzzle(sample.puzzle.data(), 4, &four);
        RatePuzzle(sample.puzzle.data(), 5, &five);
        RatePuzzle(sample.puzzle.data(), 1, &one);
        RatePuzzle(sample.puzzle.data(), -2, &zero);
        ASSERT_EQ(four, five);
        ASSERT_EQ(one, zero);
    }
}

TEST(TechniqueStep, MatchesThePlainSearchOrderStepForStep)
{
    int steps = 0, codesSeen = 0;
    bool seen[12] = {};
    auto check = [&](const Grid& grid, int maxLevel) {
        const int n = ExpectIdenticalSteps(grid, maxLevel);
        ASSERT_GE(n, 0);
        steps += n;
    };
    for (const Sample& sample : UniquePuzzles()) {
        check(sample.puzzle, 4);
        std::vector<TechniqueCode> codes;
        RatePuzzle(sample.puzzle.data(), 4, &codes);
        for (int code : codes) seen[code] = true;
    }
    for (const Grid& grid : OddGrids()) check(grid, 1 + static_cast<int>(grid[40] % 4));
    for (int code = 1; code <= 11; ++code) codesSeen += seen[code];
    EXPECT_GT(steps, 20000);
    // The sample must exercise the ladder well beyond singles for the comparison to mean much.
    EXPECT_GE(codesSeen, 9);
}

// The step record is exact: its placements and removals, replayed on a plain candidate
// grid, give the engine's state after the step, over thousands of grids of every band.
TEST(StepRecord, ReplayingItsEffectsReachesTheEnginesState)
{
    int steps = 0;
    bool codes[12] = {};
    auto replay = [&](const Grid& grid, int maxLevel) {
        if (!LoadGrid(grid.data())) return;
        uint8_t placed[81];
        CandidateMask candidates[81];
        std::memcpy(placed, candidateGrid.placed, sizeof placed);
        std::memcpy(candidates, candidateGrid.candidates, sizeof candidates);
        StepRecord record;
        while (TechniqueStep(maxLevel, &record) != 0) {
            ++steps;
            codes[record.technique] = true;
            for (const Placement& p : record.placements) {
                ASSERT_TRUE(candidates[p.cell] & (1 << p.digit)) << "a placement of a digit that was no candidate";
                placed[p.cell] = static_cast<uint8_t>(p.digit);
                candidates[p.cell] = 0;
                for (uint8_t peer : gridGeometry.peers[p.cell]) candidates[peer] &= static_cast<CandidateMask>(~(1 << p.digit));
            }
            for (const Removal& r : record.removals) {
                ASSERT_TRUE(candidates[r.cell] & (1 << r.digit)) << "a removal of a digit that was no candidate";
                candidates[r.cell] &= static_cast<CandidateMask>(~(1 << r.digit));
            }
            const bool places = record.technique <= 2;
            EXPECT_EQ(record.placements.empty(), !places) << "code " << record.technique;
            EXPECT_EQ(record.removals.empty(), places) << "code " << record.technique;
            ASSERT_EQ(std::memcmp(placed, candidateGrid.placed, sizeof placed), 0) << "code " << record.technique;
            ASSERT_EQ(std::memcmp(candidates, candidateGrid.candidates, sizeof candidates), 0) << "code " << record.technique;
        }
        EXPECT_EQ(record.technique, 0);
    };
    for (const Sample& sample : UniquePuzzles()) replay(sample.puzzle, 4);
    for (const Grid& grid : OddGrids()) replay(grid, 1 + static_cast<int>(grid[40] % 4));
    EXPECT_GT(steps, 20000);
    for (int code = 1; code <= 11; ++code) EXPECT_TRUE(codes[code]) << "no step of code " << code;
}

TEST(TechniqueStep, EveryStepIsSound)
{
    for (const Sample& sample : UniquePuzzles()) {
        ASSERT_EQ(CountSolutions(sample.puzzle, 2), 1);
        LoadGrid(sample.puzzle.data());
        while (TechniqueStep(4) != 0) {
            for (int x = 0; x < 81; ++x) {
                const int placed = candidateGrid.placed[x];
                if (placed) ASSERT_EQ(placed, sample.solution[x]) << "cell " << x;
                else ASSERT_TRUE(candidateGrid.candidates[x] & (1 << sample.solution[x])) << "cell " << x;
            }
        }
    }
}

TEST(RatePuzzle, HardestCodeStepsAndFailures)
{
    // Solved by the ladder: the hardest code is the largest step code, and the grid is full.
    int rated = 0, stalled = 0;
    for (const Sample& sample : UniquePuzzles()) {
        std::vector<TechniqueCode> codes;
        const PuzzleRating rating = RatePuzzle(sample.puzzle.data(), 4, &codes);
        EXPECT_EQ(rating.steps, static_cast<int>(codes.size()));
        int filled = 0;
        for (uint8_t d : candidateGrid.placed) filled += d != 0;
        if (filled == 81) {
            ++rated;
            int highest = 0;
            for (int code : codes) highest = std::max(highest, code);
            EXPECT_EQ(rating.hardest, highest);
            EXPECT_GT(rating.hardest, 0);
        } else {
            ++stalled;
            EXPECT_EQ(rating.hardest, 0);
        }
    }
    EXPECT_GT(rated, 100);
    EXPECT_GT(stalled, 0);

    // Conflicting givens: nothing rated.
    Grid conflict{};
    conflict[0] = conflict[1] = 4;
    EXPECT_EQ(RatePuzzle(conflict.data()).hardest, 0);
    EXPECT_EQ(RatePuzzle(conflict.data()).steps, 0);

    // One empty cell: a single step of naked singles.
    Grid nearlyDone = RandomSolution(5);
    nearlyDone[17] = 0;
    const PuzzleRating single = RatePuzzle(nearlyDone.data());
    EXPECT_EQ(single.hardest, 1);
    EXPECT_EQ(single.steps, 1);

    // The same puzzle capped at level 1 stalls where it needs more.
    for (const Sample& sample : UniquePuzzles()) {
        const PuzzleRating full = RatePuzzle(sample.puzzle.data(), 4);
        if (TechniqueLevel(full.hardest) < 2) continue;
        EXPECT_EQ(RatePuzzle(sample.puzzle.data(), 1).hardest, 0);
        break;
    }
}

}  // namespace
