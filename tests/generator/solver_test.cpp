// The exact solver against brute force on small hand-made grids, and against the plain
// depth-first counter on thousands of grids of every kind.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstring>
#include <string>
#include <vector>

#include "generator/puzzle_maker.h"
#include "generator/solution_counter.h"
#include "generator/unavoidable_sets.h"
#include "grading/grid_geometry.h"
#include "tests/generator/reference_counter.h"

namespace {

using Grid = std::array<uint8_t, 81>;

struct Geometry {
    Geometry() { BuildGridGeometry(); }
} geometry;

Grid Parse(const char* text)
{
    Grid grid{};
    for (int i = 0; i < 81; ++i) grid[i] = static_cast<uint8_t>(text[i] == '.' ? 0 : text[i] - '0');
    return grid;
}

const Grid solved = Parse("836924715459871236721536849648257391573198462192463587285649173364712958917385624");

bool IsValidComplete(const Grid& grid)
{
    for (const auto& unit : gridGeometry.unitCells) {
        int seen = 0;
        for (uint8_t cell : unit) seen |= 1 << grid[cell];
        if (seen != allDigitsMask) return false;
    }
    return true;
}

// Every filling of the empty cells (at most six of them), counted when it is a valid grid.
int BruteForceCount(Grid grid)
{
    std::vector<int> empty;
    for (int i = 0; i < 81; ++i)
        if (grid[i] == 0) empty.push_back(i);
    int count = 0;
    std::vector<int> digit(empty.size(), 1);
    for (;;) {
        for (size_t k = 0; k < empty.size(); ++k) grid[empty[k]] = static_cast<uint8_t>(digit[k]);
        count += IsValidComplete(grid);
        size_t k = 0;
        while (k < empty.size() && digit[k] == 9) digit[k++] = 1;
        if (k == empty.size()) return count;
        ++digit[k];
    }
}

Grid Emptied(Grid grid, std::initializer_list<int> cells)
{
    for (int cell : cells) grid[cell] = 0;
    return grid;
}

TEST(ExactSolver, HandMadeGridsAgreeWithBruteForce)
{
    // A rectangle of two digits over two rows, two columns and two boxes, emptied: the two
    // digits can swap, so the grid has two solutions.
    Grid twoWays = solved;
    int rectangle[4] = {-1, -1, -1, -1};
    for (int r1 = 0; r1 < 9 && rectangle[0] < 0; ++r1)
        for (int r2 = r1 + 1; r2 < 9 && rectangle[0] < 0; ++r2) {
            if (r1 / 3 != r2 / 3) continue;
            for (int c1 = 0; c1 < 9 && rectangle[0] < 0; ++c1)
                for (int c2 = c1 + 1; c2 < 9; ++c2)
                    if (c1 / 3 != c2 / 3 && solved[9 * r1 + c1] == solved[9 * r2 + c2] &&
                        solved[9 * r1 + c2] == solved[9 * r2 + c1]) {
                        rectangle[0] = 9 * r1 + c1, rectangle[1] = 9 * r1 + c2;
                        rectangle[2] = 9 * r2 + c1, rectangle[3] = 9 * r2 + c2;
                        break;
                    }
        }
    ASSERT_GE(rectangle[0], 0) << "the sample grid has no swappable rectangle";
    for (int cell : rectangle) twoWays[cell] = 0;

    // Cell 40 given as 1 where the solution has 9, with the 1s of its column and box gone:
    // no given conflicts, yet no completion exists.
    Grid none = Emptied(solved, {39, 67});
    none[40] = 1;

    Grid conflicting = Emptied(solved, {0, 1, 2});
    conflicting[4] = conflicting[5];

    struct Case {
        const char* what;
        Grid grid;
    };
    const Case cases[] = {
        {"one empty cell", Emptied(solved, {40})},
        {"five empty cells, one way", Emptied(solved, {0, 10, 20, 60, 80})},
        {"a swappable rectangle", twoWays},
        {"a rectangle and more", Emptied(twoWays, {40, 41})},
        {"four empty cells of one row", Emptied(solved, {0, 1, 2, 3})},
        {"no solution, no conflict", none},
        {"conflicting givens", conflicting},
    };
    for (const Case& c : cases) {
        const int expected = BruteForceCount(c.grid);
        for (int limit : {1, 2, 5, 100}) {
            Grid first{};
            const int count = CountSolutions(c.grid.data(), limit, first.data());
            EXPECT_EQ(count, std::min(expected, limit)) << c.what << ", limit " << limit;
            if (count > 0) {
                EXPECT_TRUE(IsValidComplete(first)) << c.what;
                for (int i = 0; i < 81; ++i) {
                    if (c.grid[i]) {
                        ASSERT_EQ(first[i], c.grid[i]) << c.what;
                    }
                }
            }
        }
    }
    // An empty grid has many solutions; values above 9 none.
    Grid empty{};
    EXPECT_EQ(CountSolutions(empty.data(), 2), 2);
    Grid bad = solved;
    bad[7] = 12;
    EXPECT_EQ(CountSolutions(bad.data(), 2), 0);
}

// Unique, several-solution, unsolvable and conflicting grids, made from random grids: the
// solver's counts and its test for another solution agree with the plain counter's.
TEST(ExactSolver, AgreesWithThePlainCounterOnThousandsOfGrids)
{
    int kinds[4] = {};  // counts 0, 1, 2 and more, and conflicting givens
    for (uint64_t seed = 1; seed <= 1500; ++seed) {
        SeedGradingRandom(seed);
        ClearUsedDigitMasks();
        Grid solution;
        FillRandomGrid(solution.data(), 0);
        Grid grid = solution;
        const int keep = 17 + static_cast<int>(seed % 30);
        for (int removed = 0; removed < 81 - keep;) {
            const int cell = static_cast<int>(UniformRandom(80));
            if (grid[cell]) grid[cell] = 0, ++removed;
        }
        if (seed % 7 == 0) {  // one given changed: usually no solution, sometimes a conflict
            for (int i = 0; i < 81; ++i)
                if (grid[i]) {
                    grid[i] = static_cast<uint8_t>(grid[i] % 9 + 1);
                    break;
                }
        }
        if (seed % 11 == 0) {  // a dug puzzle: exactly one solution
            const Attempt made = MakePuzzle(seed, {22, 30}, Symmetry::None);
            std::memcpy(grid.data(), made.record.givens, 81);
        }
        for (int limit : {1, 2, 3}) {
            Grid mine{}, theirs{};
            const int count = CountSolutions(grid.data(), limit, mine.data());
            const int expected = ReferenceCountSolutions(grid.data(), limit, theirs.data());
            ASSERT_EQ(count, expected) << "seed " << seed << ", limit " << limit;
            if (limit == 3) ++kinds[std::min(count, 2)];
            if (count == 1 && expected == 1 && limit > 1) {
                EXPECT_EQ(mine, theirs) << "seed " << seed;
            }
        }
        for (int cell = 0; cell < 81; cell += 5) {
            if (grid[cell]) continue;
            const int digit = 1 + static_cast<int>(seed % 9);
            ASSERT_EQ(HasSolutionWithout(grid.data(), cell, digit), ReferenceHasSolutionWithout(grid.data(), cell, digit))
                << "seed " << seed << ", cell " << cell;
        }
    }
    EXPECT_GT(kinds[0], 50);
    EXPECT_GT(kinds[1], 100);
    EXPECT_GT(kinds[2], 500);
}

// Every set found is unavoidable: emptied, with each other cell given, the grid has a second
// solution; and the dig's question about it answers so exactly when no other given covers it.
TEST(UnavoidableSets, EachSetFoundLetsItsDigitsTrade)
{
    int sizes[18] = {};
    for (uint64_t seed = 1; seed <= 100; ++seed) {
        SeedGradingRandom(seed);
        ClearUsedDigitMasks();
        Grid solution;
        FillRandomGrid(solution.data(), 0);
        const UnavoidableSets sets(solution.data());
        ASSERT_FALSE(sets.Sets().empty()) << "seed " << seed;
        const CellSet everyCell = (CellSet{1} << 81) - 1;
        for (const CellSet set : sets.Sets()) {
            const int size = std::popcount(static_cast<uint64_t>(set)) + std::popcount(static_cast<uint64_t>(set >> 64));
            ASSERT_TRUE(size >= 4 && size < 18 && size % 2 == 0) << "seed " << seed << ", size " << size;
            ++sizes[size];
            Grid grid = solution;
            int first = -1;
            for (int cell = 0; cell < 81; ++cell)
                if (set >> cell & 1) grid[cell] = 0, first = first < 0 ? cell : first;
            ASSERT_EQ(CountSolutions(grid.data(), 2), 2) << "seed " << seed;
            const CellSet firstCell = CellSet{1} << first;
            const CellSet givens = everyCell & ~(set & ~firstCell);
            EXPECT_TRUE(sets.LeavesUncovered(givens, firstCell));
            EXPECT_FALSE(sets.LeavesUncovered(everyCell, firstCell));
        }
    }
    EXPECT_GT(sizes[4], 100);  // rectangles
    EXPECT_GT(sizes[6] + sizes[8], 100);
}

}  // namespace
