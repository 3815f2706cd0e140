// The program's one random source: uniform integers, seeded once per run.
#pragma once

#include <cstdint>

// Seeds the source; the program does it once at start-up from the clock, tests with a
// fixed value.
void SeedRandom(uint64_t seed);

// A seed read from the clock, different from run to run.
uint64_t ClockSeed();

// A uniformly distributed integer from 0 to n inclusive (0 when n is below 1).
int64_t RandomInteger(int64_t n);
