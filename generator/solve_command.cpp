// `vakidogenerator solve`: the exact solver on puzzles read one per line.
#include <istream>
#include <ostream>

#include "generator/commands.h"
#include "generator/solution_counter.h"

int RunSolve(std::istream& in, std::ostream& out, std::ostream& err, std::optional<int> countLimit)
{
    int status = 0;
    std::string line;
    for (long number = 1; std::getline(in, line); ++number) {
        if (IsSkippedLine(line)) continue;
        uint8_t grid[81];
        if (const std::string problem = ParsePuzzleLine(line, grid); !problem.empty()) {
            err << "vakidogenerator: line " << number << ": " << problem << "\n";
            status = 1;
            continue;
        }
        for (uint8_t d : grid) out << static_cast<char>('0' + d);
        out << '\t';
        if (countLimit) {
            out << CountSolutions(grid, *countLimit) << '\n';
            continue;
        }
        uint8_t solution[81];
        if (CountSolutions(grid, 1, solution) == 0) {
            out << "-\n";
            continue;
        }
        for (uint8_t d : solution) out << static_cast<char>('0' + d);
        out << '\n';
    }
    return status;
}
