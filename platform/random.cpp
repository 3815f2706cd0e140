#include "platform/random.h"

#include <chrono>
#include <random>

static std::mt19937_64& Generator()
{
    static std::mt19937_64 generator{5489u};
    return generator;
}

void SeedRandom(uint64_t seed) { Generator().seed(seed); }

uint64_t ClockSeed() { return static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()); }

int64_t RandomInteger(int64_t n)
{
    if (n < 1) return 0;
    return std::uniform_int_distribution<int64_t>(0, n)(Generator());
}
