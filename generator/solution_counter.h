// An exact solver that counts solutions, stopping early: the uniqueness test of the
// generator and of `check`.
#pragma once

#include <cstdint>

// Counts the solutions of `grid` (81 bytes, 0 = empty) up to `limit`. Conflicting givens
// or values above 9 give 0. When `solution` is given, it receives the first one found.
int CountSolutions(const uint8_t grid[81], int limit, uint8_t* solution = nullptr);

// True when `grid` has a solution whose digit at `cell` is not `digit`. The cell must be
// empty in the grid. This is the cheap test for whether removing a given keeps a puzzle
// unique: the puzzle had one solution with that digit there, so any other must differ.
bool HasSolutionWithout(const uint8_t grid[81], int cell, int digit);
