// Grids for the engine's tests: parsing, a small exact solver, random puzzles.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "grading/grid_geometry.h"

using Grid = std::array<uint8_t, 81>;

// 81 characters, '0' or '.' for an empty cell; other characters are skipped.
Grid ParseGrid(std::string_view text);

// Counts the solutions of `grid` up to `limit`; the first one found goes to *solution.
int CountSolutions(const Grid& grid, int limit, Grid* solution = nullptr);

// A random complete grid from FillRandomGrid, seeded with `seed`.
Grid RandomSolution(uint64_t seed);

// Removes givens of `solution` in random order while the puzzle stays unique.
Grid DigUniquePuzzle(const Grid& solution, uint64_t seed);

// Keeps `keep` randomly chosen givens of `solution`, unique or not.
Grid KeepRandomCells(const Grid& solution, int keep, uint64_t seed);

// A mask of the listed digits.
CandidateMask Digits(std::initializer_list<int> digits);

// The thread's candidate grid, to compare and restore.
inline bool SameCandidateGrid(const CandidateGrid& a, const CandidateGrid& b)
{
    for (int x = 0; x < 81; ++x)
        if (a.placed[x] != b.placed[x] || a.candidates[x] != b.candidates[x]) return false;
    return true;
}

// Builds the geometry once for the whole test program.
struct GeometryOnce {
    GeometryOnce() { BuildGridGeometry(); }
};

// True when the engine's bookkeeping (digitPositions, placedDigits, placedCount) agrees
// with the candidate masks and the placed digits.
inline bool DigitPositionsMatchCandidates()
{
    int placedCount = 0;
    for (uint8_t d : candidateGrid.placed) placedCount += d != 0;
    if (placedCount != candidateGrid.placedCount) return false;
    for (int u = 0; u < 27; ++u) {
        unsigned placedDigits = 0;
        for (uint8_t cell : gridGeometry.unitCells[u])
            if (candidateGrid.placed[cell]) placedDigits |= 1u << candidateGrid.placed[cell];
        if (placedDigits != candidateGrid.placedDigits[u]) return false;
    }
    for (int u = 0; u < 27; ++u)
        for (int d = 0; d < 16; ++d) {
            unsigned expected = 0;
            for (int j = 0; j < 9; ++j)
                if (d >= 1 && d <= 9 && (candidateGrid.candidates[gridGeometry.unitCells[u][j]] & (1 << d))) expected |= 1u << j;
            if (candidateGrid.digitPositions[u][d] != expected) return false;
        }
    return true;
}
