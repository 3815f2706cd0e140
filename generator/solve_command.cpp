// `vakidogenerator solve`: the exact solver on puzzles read one per line.
#include <istream>
#include <ostream>

#include "generator/commands.h"
#include "generator/line_batches.h"
#include "generator/solution_counter.h"

int RunSolve(std::istream& in, std::ostream& out, std::ostream& err, std::optional<int> countLimit, int jobs)
{
    return RunOverLines(in, out, err, jobs, [&](const std::string& line, long number) {
        LineResult result;
        if (IsSkippedLine(line)) return result;
        uint8_t grid[81];
        if (const std::string problem = ParsePuzzleLine(line, grid); !problem.empty()) {
            result.err = "vakidogenerator: line " + std::to_string(number) + ": " + problem + "\n";
            result.failed = true;
            return result;
        }
        std::string& text = result.out;
        for (uint8_t d : grid) text += static_cast<char>('0' + d);
        text += '\t';
        if (countLimit) {
            text += std::to_string(CountSolutions(grid, *countLimit)) + '\n';
            return result;
        }
        uint8_t solution[81];
        if (CountSolutions(grid, 1, solution) == 0) {
            text += "-\n";
            return result;
        }
        for (uint8_t d : solution) text += static_cast<char>('0' + d);
        text += '\n';
        return result;
    });
}
