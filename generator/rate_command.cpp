// `vakidogenerator rate`: rates puzzles read one per line.
#include <istream>
#include <ostream>

#include "generator/commands.h"
#include "grading/ladder.h"
#include "grading/technique_codes.h"

std::string ParsePuzzleLine(const std::string& line, uint8_t grid[81])
{
    std::string text = line;
    while (!text.empty() && (text.back() == '\r' || text.back() == ' ' || text.back() == '\t')) text.pop_back();
    if (text.size() != 81) return "expected 81 characters, found " + std::to_string(text.size());
    for (size_t i = 0; i < 81; ++i) {
        const char c = text[i];
        if (c == '.') grid[i] = 0;
        else if (c >= '0' && c <= '9') grid[i] = static_cast<uint8_t>(c - '0');
        else return std::string("unexpected character '") + c + "' at column " + std::to_string(i + 1);
    }
    return {};
}

bool IsSkippedLine(const std::string& line)
{
    return line.find_first_not_of(" \t\r") == std::string::npos || line[0] == '#';
}

int RunRate(std::istream& in, std::ostream& out, std::ostream& err, int maxLevel, bool withSteps)
{
    int status = 0;
    std::string line;
    std::vector<TechniqueCode> steps;
    for (long number = 1; std::getline(in, line); ++number) {
        if (IsSkippedLine(line)) continue;
        uint8_t grid[81];
        if (const std::string problem = ParsePuzzleLine(line, grid); !problem.empty()) {
            err << "vakidogenerator: line " << number << ": " << problem << "\n";
            status = 1;
            continue;
        }
        const PuzzleRating rating = RatePuzzle(grid, maxLevel, withSteps ? &steps : nullptr);
        // The line is put together first and written at once.
        std::string result(81, '0');
        for (int i = 0; i < 81; ++i) result[i] = static_cast<char>('0' + grid[i]);
        if (rating.hardest == 0) {
            result += "\t0\t0\t-";
        } else {
            result += '\t' + std::to_string(rating.hardest) + '\t' + std::to_string(TechniqueLevel(rating.hardest)) + '\t';
            result += TechniqueName(rating.hardest);
        }
        if (withSteps) {
            result += '\t';
            for (size_t i = 0; i < steps.size(); ++i) result += (i ? " " : "") + std::to_string(steps[i]);
        }
        result += '\n';
        out << result;
    }
    return status;
}
