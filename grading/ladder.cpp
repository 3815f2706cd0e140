#include "grading/ladder.h"

#include "grading/grid_geometry.h"
#include "grading/step_record.h"
#include "grading/techniques.h"

thread_local StepRecord* activeStepRecord = nullptr;

static TechniqueCode TakeStep(int maxLevel)
{
    if (ApplyNakedSingles()) return 1;
    if (ApplyHiddenSingle()) return 2;
    if (maxLevel < 2) return 0;
    if (ApplyPointingBoxLine()) return 3;
    if (ApplyNakedSubset(2)) return 4;
    if (ApplyHiddenSubset(2)) return 5;
    if (maxLevel < 3) return 0;
    if (ApplyNakedSubset(3)) return 6;
    if (ApplyHiddenSubset(3)) return 7;
    if (ApplyFish(2)) return 8;
    if (ApplyFish(3)) return 9;
    if (maxLevel < 4) return 0;
    if (ApplyXYWing()) return 10;
    if (ApplyXYZWing()) return 11;
    return 0;
}

TechniqueCode TechniqueStep(int maxLevel, StepRecord* record)
{
    if (!record) return TakeStep(maxLevel);
    *record = StepRecord{};
    activeStepRecord = record;
    record->technique = TakeStep(maxLevel);
    activeStepRecord = nullptr;
    return record->technique;
}

// The ladder from the grid as it stands, once loaded.
static PuzzleRating RateFromHere(int maxLevel, std::vector<TechniqueCode>* stepCodes, std::vector<StepRecord>* steps)
{
    PuzzleRating rating{0, 0};
    StepRecord record;
    TechniqueCode hardest = 0;
    // On a complete grid the ladder can only answer 0, so the rating stops there without
    // running every technique once more.
    for (TechniqueCode code;
         candidateGrid.placedCount < 81 && (code = TechniqueStep(maxLevel, steps ? &record : nullptr)) != 0;) {
        ++rating.steps;
        if (code > hardest) hardest = code;
        if (stepCodes) stepCodes->push_back(code);
        if (steps) steps->push_back(record);
    }
    if (candidateGrid.placedCount == 81) rating.hardest = hardest;
    return rating;
}

PuzzleRating RatePuzzle(const uint8_t givens[81], int maxLevel, std::vector<TechniqueCode>* stepCodes,
                        std::vector<StepRecord>* steps)
{
    if (stepCodes) stepCodes->clear();
    if (steps) steps->clear();
    if (!LoadGrid(givens)) return {0, 0};
    return RateFromHere(maxLevel, stepCodes, steps);
}

PuzzleRating RateLoadedGrid(int maxLevel) { return RateFromHere(maxLevel, nullptr, nullptr); }
