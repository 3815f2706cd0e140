#include "tests/grading/test_grids.h"

#include <algorithm>
#include <numeric>
#include <random>

static const GeometryOnce geometryBuilt;

Grid ParseGrid(std::string_view text)
{
    Grid grid{};
    int cell = 0;
    for (char c : text) {
        if (cell == 81) break;
        if (c == '.') grid[cell++] = 0;
        else if (c >= '0' && c <= '9') grid[cell++] = static_cast<uint8_t>(c - '0');
    }
    return grid;
}

namespace {
struct Search {
    Grid grid;
    int limit;
    int found = 0;
    Grid first{};

    bool Allowed(int cell, int d) const
    {
        for (uint8_t peer : gridGeometry.peers[cell])
            if (grid[peer] == d) return false;
        return true;
    }
    void Run()
    {
        int best = -1, bestCount = 10;
        for (int x = 0; x < 81 && bestCount > 1; ++x) {
            if (grid[x]) continue;
            int count = 0;
            for (int d = 1; d <= 9; ++d) count += Allowed(x, d);
            if (count < bestCount) best = x, bestCount = count;
        }
        if (best < 0) {
            if (found++ == 0) first = grid;
            return;
        }
        for (int d = 1; d <= 9 && found < limit; ++d) {
            if (!Allowed(best, d)) continue;
            grid[best] = static_cast<uint8_t>(d);
            Run();
            grid[best] = 0;
        }
    }
};
}  // namespace

int CountSolutions(const Grid& grid, int limit, Grid* solution)
{
    for (int x = 0; x < 81; ++x) {
        if (!grid[x]) continue;
        for (uint8_t peer : gridGeometry.peers[x])
            if (grid[peer] == grid[x]) return 0;
    }
    Search search{grid, limit};
    search.Run();
    if (solution && search.found) *solution = search.first;
    return search.found;
}

Grid RandomSolution(uint64_t seed)
{
    Grid grid{};
    SeedGradingRandom(seed);
    ClearUsedDigitMasks();
    FillRandomGrid(grid.data(), 0);
    return grid;
}

Grid DigUniquePuzzle(const Grid& solution, uint64_t seed)
{
    std::mt19937_64 random(seed);
    std::array<int, 81> order;
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), random);
    Grid puzzle = solution;
    for (int cell : order) {
        uint8_t digit = puzzle[cell];
        puzzle[cell] = 0;
        if (CountSolutions(puzzle, 2) != 1) puzzle[cell] = digit;
    }
    return puzzle;
}

Grid KeepRandomCells(const Grid& solution, int keep, uint64_t seed)
{
    std::mt19937_64 random(seed);
    std::array<int, 81> order;
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), random);
    Grid puzzle{};
    for (int i = 0; i < keep; ++i) puzzle[order[i]] = solution[order[i]];
    return puzzle;
}

CandidateMask Digits(std::initializer_list<int> digits)
{
    int mask = 0;
    for (int d : digits) mask |= 1 << d;
    return static_cast<CandidateMask>(mask);
}
