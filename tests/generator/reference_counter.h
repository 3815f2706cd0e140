// A plain depth-first solution counter: the reference for the exact solver's tests.
#pragma once

#include <cstdint>

// Counts solutions up to `limit`; the first one found goes to `solution` when given.
int ReferenceCountSolutions(const uint8_t grid[81], int limit, uint8_t* solution = nullptr);

// True when the grid has a solution whose digit at `cell` (empty in the grid) is not `digit`.
bool ReferenceHasSolutionWithout(const uint8_t grid[81], int cell, int digit);
