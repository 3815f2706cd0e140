// The technique ladder, and a rater that drives it over a whole puzzle.
#pragma once

#include <cstdint>
#include <vector>

#include "grading/technique_codes.h"

// Takes one step on candidateGrid with the first technique, in code order, that makes
// progress, trying only the techniques of level bands up to maxLevel (below 1 counts as 1,
// above 4 as 4). Returns its code, or 0 when none applies; a 0 leaves the grid unchanged.
// With a record, the step also describes its pattern and effects there.
TechniqueCode TechniqueStep(int maxLevel, struct StepRecord* record = nullptr);

struct PuzzleRating {
    TechniqueCode hardest;  // the hardest code used; 0 when the ladder could not finish
    int steps;              // the number of steps taken
};

// Loads the givens (81 bytes, 0 = empty) and repeats TechniqueStep(maxLevel) until it
// returns 0. `hardest` is 0 when the givens conflict or cells are still empty at the end.
// When stepCodes is given, it receives the code of every step in order; when steps is
// given, the record of every step.
PuzzleRating RatePuzzle(const uint8_t givens[81], int maxLevel = 4, std::vector<TechniqueCode>* stepCodes = nullptr,
                        std::vector<struct StepRecord>* steps = nullptr);

// RatePuzzle on the grid as candidateGrid holds it now, loaded already (by LoadGrid or
// ReloadGrid, perhaps with givens placed since).
PuzzleRating RateLoadedGrid(int maxLevel = 4);
