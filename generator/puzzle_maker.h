// Making rated puzzles: fill a random grid, dig givens out while the solution stays
// unique, rate the result, and keep it for the level its hardest technique belongs to.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "puzzles/puzzle_file.h"

struct GivenRange {
    int min;
    int max;
};

enum class Symmetry { None, Rotate180 };

struct LevelRequest {
    int level;             // 1..4
    int count;             // puzzles wanted
    GivenRange givens;     // how many givens a puzzle of this level keeps
    bool targeted = true;  // dig towards the level's band (see MakePuzzle); false: blind digging
};

// The given counts a level keeps unless told otherwise: Easy clearly more than Expert.
GivenRange DefaultGivenRange(int level);

// The seed of attempt `attempt` for `level`: every attempt has its own, so the outcome
// does not depend on which thread makes it.
uint64_t AttemptSeed(uint64_t seed, int level, uint64_t attempt);

struct Attempt {
    bool unique = false;  // a puzzle with one solution and a given count in the range
    PuzzleRecord record{};
};

// One attempt: a random complete grid, dug in random order towards a given count drawn
// from `givens`, then rated. record.hardestTechnique is 0 when the ladder cannot finish it.
// With a wanted level above 1 the dig goes down to the top of the range, then rates each
// step and stops at the wanted band. For Hard and Expert each step looks at every given
// that can go, and a removal that overshoots the band trades a given back elsewhere; a
// Medium puzzle that ends too easy exchanges givens. Every step keeps the puzzle unique;
// a rating of 0 then also means "harder than wanted". The outcome depends on the seed and
// the arguments alone.
Attempt MakePuzzle(uint64_t attemptSeed, GivenRange givens, Symmetry symmetry, int wantedLevel = 0);

// Reports progress: puzzles kept so far, and attempts made.
using ProgressReport = std::function<void(int kept, uint64_t attempts)>;

// Makes `request.count` distinct puzzles of the level, on `jobs` threads. The result
// depends only on the seed and the request, never on `jobs`. Returns early (with fewer
// puzzles) when `stop` becomes true.
std::vector<PuzzleRecord> MakeLevel(uint64_t seed, const LevelRequest& request, Symmetry symmetry, int jobs,
                                    const std::atomic<bool>& stop, const ProgressReport& report);
