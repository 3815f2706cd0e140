// The depth-first counter the generator used before its exact solver: plain, slow and
// easy to trust, kept as the reference the solver is compared with.
#include "tests/generator/reference_counter.h"

#include <bit>
#include <cstring>
#include <utility>

namespace {

constexpr uint16_t allDigits = 0x3FE;

uint8_t RowOf(int cell) { return static_cast<uint8_t>(cell / 9); }
uint8_t ColumnOf(int cell) { return static_cast<uint8_t>(cell % 9); }
uint8_t BoxOf(int cell) { return static_cast<uint8_t>(3 * (cell / 27) + (cell % 9) / 3); }

// Depth-first search over the empty cells, always branching on the cell with the fewest
// digits left; a cell with one digit left is a forced move that costs no branch.
struct Search {
    uint16_t rowUsed[9] = {}, columnUsed[9] = {}, boxUsed[9] = {};
    uint8_t grid[81];
    uint8_t empty[81];
    uint8_t emptyRow[81], emptyColumn[81], emptyBox[81];
    int emptyCount = 0;
    int forbiddenCell = -1;
    uint16_t forbiddenBit = 0;
    int limit = 1;
    int found = 0;
    uint8_t* firstSolution = nullptr;

    bool Load(const uint8_t* givens)
    {
        for (int cell = 0; cell < 81; ++cell) {
            const int d = givens[cell];
            grid[cell] = static_cast<uint8_t>(d);
            if (d == 0) {
                empty[emptyCount] = static_cast<uint8_t>(cell);
                emptyRow[emptyCount] = RowOf(cell);
                emptyColumn[emptyCount] = ColumnOf(cell);
                emptyBox[emptyCount] = BoxOf(cell);
                ++emptyCount;
                continue;
            }
            if (d > 9) return false;
            const uint16_t bit = static_cast<uint16_t>(1u << d);
            if ((rowUsed[RowOf(cell)] | columnUsed[ColumnOf(cell)] | boxUsed[BoxOf(cell)]) & bit) return false;
            rowUsed[RowOf(cell)] |= bit;
            columnUsed[ColumnOf(cell)] |= bit;
            boxUsed[BoxOf(cell)] |= bit;
        }
        return true;
    }

    uint16_t Free(int i) const
    {
        uint16_t free = static_cast<uint16_t>(~(rowUsed[emptyRow[i]] | columnUsed[emptyColumn[i]] | boxUsed[emptyBox[i]]) & allDigits);
        if (empty[i] == forbiddenCell) free &= static_cast<uint16_t>(~forbiddenBit);
        return free;
    }

    void Swap(int a, int b)
    {
        std::swap(empty[a], empty[b]);
        std::swap(emptyRow[a], emptyRow[b]);
        std::swap(emptyColumn[a], emptyColumn[b]);
        std::swap(emptyBox[a], emptyBox[b]);
    }

    void Run(int depth)
    {
        if (depth == emptyCount) {
            if (found++ == 0 && firstSolution) std::memcpy(firstSolution, grid, 81);
            return;
        }
        int best = depth;
        int bestCount = 10;
        uint16_t bestFree = 0;
        for (int i = depth; i < emptyCount; ++i) {
            const uint16_t free = Free(i);
            const int count = std::popcount(free);
            if (count < bestCount) {
                best = i, bestCount = count, bestFree = free;
                if (count <= 1) break;
            }
        }
        if (bestCount == 0) return;
        Swap(depth, best);
        const int r = emptyRow[depth], k = emptyColumn[depth], b = emptyBox[depth];
        for (uint16_t digits = bestFree; digits && found < limit; digits &= digits - 1) {
            const uint16_t bit = digits & -digits;
            rowUsed[r] |= bit;
            columnUsed[k] |= bit;
            boxUsed[b] |= bit;
            grid[empty[depth]] = static_cast<uint8_t>(std::countr_zero(bit));
            Run(depth + 1);
            rowUsed[r] &= static_cast<uint16_t>(~bit);
            columnUsed[k] &= static_cast<uint16_t>(~bit);
            boxUsed[b] &= static_cast<uint16_t>(~bit);
        }
        grid[empty[depth]] = 0;
    }
};

}  // namespace

int ReferenceCountSolutions(const uint8_t grid[81], int limit, uint8_t* solution)
{
    Search search;
    if (limit < 1 || !search.Load(grid)) return 0;
    search.limit = limit;
    search.firstSolution = solution;
    search.Run(0);
    return search.found;
}

bool ReferenceHasSolutionWithout(const uint8_t grid[81], int cell, int digit)
{
    Search search;
    if (!search.Load(grid)) return false;
    search.forbiddenCell = cell;
    search.forbiddenBit = static_cast<uint16_t>(1u << digit);
    search.limit = 1;
    search.Run(0);
    return search.found > 0;
}
