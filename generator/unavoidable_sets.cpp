#include "generator/unavoidable_sets.h"

#include <bit>

static CellSet Cell(int cell) { return CellSet{1} << cell; }

UnavoidableSets::UnavoidableSets(const uint8_t solution[81])
{
    // Two lines of one band or stack: within a column of the pair, the first line's digit
    // moves to the second line. Following a digit to the column where the first line holds
    // it closes a cycle; trading the two lines' digits on it keeps every line, column and
    // box whole (each box of the band holds both lines).
    for (int columns = 0; columns < 2; ++columns) {
        auto at = [columns](int line, int position) { return columns ? 9 * position + line : 9 * line + position; };
        for (int first = 0; first < 9; ++first) {
            for (int second = first + 1; second < first / 3 * 3 + 3; ++second) {
                int positionOf[10];
                for (int p = 0; p < 9; ++p) positionOf[solution[at(first, p)]] = p;
                bool visited[9] = {};
                for (int start = 0; start < 9; ++start) {
                    if (visited[start]) continue;
                    CellSet cycle = 0;
                    int length = 0;
                    for (int p = start; !visited[p]; p = positionOf[solution[at(second, p)]]) {
                        visited[p] = true;
                        cycle |= Cell(at(first, p)) | Cell(at(second, p));
                        ++length;
                    }
                    if (length < 9) Add(cycle);
                }
            }
        }
    }

    // Two digits: every house holds one cell of each. Joining the two cells of every house
    // splits the eighteen cells into groups; trading the digits within one group leaves each
    // house with both digits once more. The cells are numbered by row: the first digit's
    // cell of row r is r, the second's 9 + r.
    int columnOf[10][9], rowInColumn[10][9], rowInBox[10][9];
    for (int x = 0; x < 81; ++x) {
        const int d = solution[x];
        columnOf[d][x / 9] = x % 9;
        rowInColumn[d][x % 9] = x / 9;
        rowInBox[d][gridGeometry.boxOf[x]] = x / 9;
    }
    for (int a = 1; a <= 9; ++a) {
        for (int b = a + 1; b <= 9; ++b) {
            uint32_t linked[18];
            for (int r = 0; r < 9; ++r) linked[r] = linked[9 + r] = 1u << (9 + r) | 1u << r;
            for (int u = 0; u < 9; ++u) {
                const int ra = rowInColumn[a][u], rb = rowInColumn[b][u];
                linked[ra] |= 1u << (9 + rb);
                linked[9 + rb] |= 1u << ra;
                const int sa = rowInBox[a][u], sb = rowInBox[b][u];
                linked[sa] |= 1u << (9 + sb);
                linked[9 + sb] |= 1u << sa;
            }
            for (uint32_t left = (1u << 18) - 1; left;) {
                uint32_t group = left & -left, grown = 0;
                while (grown != group) {
                    grown = group;
                    for (uint32_t g = group; g; g &= g - 1) group |= linked[std::countr_zero(g)];
                }
                left &= ~group;
                if (group == (1u << 18) - 1) break;
                CellSet cells = 0;
                for (uint32_t g = group; g; g &= g - 1) {
                    const int i = std::countr_zero(g);
                    cells |= i < 9 ? Cell(9 * i + columnOf[a][i]) : Cell(9 * (i - 9) + columnOf[b][i - 9]);
                }
                Add(cells);
            }
        }
    }
}
