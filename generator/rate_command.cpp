// `vakidogenerator rate`: rates puzzles read one per line, plainly, with the codes of the
// steps, with every step explained, or as JSON.
#include <nlohmann/json.hpp>

#include <istream>
#include <ostream>

#include "generator/commands.h"
#include "generator/line_batches.h"
#include "generator/step_text.h"
#include "grading/ladder.h"
#include "grading/step_record.h"
#include "grading/technique_codes.h"

bool IsSkippedLine(const std::string& line)
{
    return line.find_first_not_of(" \t\r") == std::string::npos || line[0] == '#';
}

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

namespace {

// One puzzle's object: the puzzle as read, its rating as `rate` prints it, and every step.
nlohmann::ordered_json JsonOf(const std::string& asRead, const PuzzleRating& rating, const std::vector<StepRecord>& steps)
{
    nlohmann::ordered_json object;
    object["puzzle"] = asRead;
    object["code"] = rating.hardest;
    object["level"] = rating.hardest == 0 ? 0 : TechniqueLevel(rating.hardest);
    object["name"] = TechniqueName(rating.hardest);
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const StepRecord& step : steps) {
        nlohmann::ordered_json placed = nlohmann::ordered_json::array(), removed = nlohmann::ordered_json::array();
        for (const Placement& p : step.placements) placed.push_back(PlacementText(p));
        for (const Removal& r : step.removals) removed.push_back(RemovalText(r));
        list.push_back({{"code", step.technique},
                        {"name", TechniqueName(step.technique)},
                        {"text", PatternText(step)},
                        {"placed", placed},
                        {"removed", removed}});
    }
    object["steps"] = list;
    return object;
}

nlohmann::ordered_json JsonError(const std::string& asRead, const std::string& error)
{
    return {{"puzzle", asRead}, {"code", 0}, {"level", 0}, {"name", "-"}, {"steps", nlohmann::ordered_json::array()}, {"error", error}};
}

// One line of JSON. A malformed line may hold bytes that are not UTF-8; they are shown as
// U+FFFD rather than ending the run.
std::string Dump(const nlohmann::ordered_json& object)
{
    return object.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

}  // namespace

int RunRate(std::istream& in, std::ostream& out, std::ostream& err, int maxLevel, RateFormat format, int jobs)
{
    const bool json = format == RateFormat::Json;
    const bool recordSteps = json || format == RateFormat::Explain;
    return RunOverLines(in, out, err, jobs, [&](const std::string& read, long number) {
        LineResult result;
        if (IsSkippedLine(read)) return result;
        std::string line = read;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        uint8_t grid[81];
        if (const std::string problem = ParsePuzzleLine(line, grid); !problem.empty()) {
            if (json) result.out = Dump(JsonError(line, "malformed line: " + problem)) + '\n';
            else result.err = "vakidogenerator: line " + std::to_string(number) + ": " + problem + "\n";
            result.failed = true;
            return result;
        }
        thread_local std::vector<TechniqueCode> codes;
        thread_local std::vector<StepRecord> steps;
        const PuzzleRating rating = RatePuzzle(grid, maxLevel, format == RateFormat::Steps ? &codes : nullptr,
                                               recordSteps ? &steps : nullptr);
        if (json) {
            const std::string asRead = line.substr(0, 81);
            if (rating.steps == 0 && rating.hardest == 0 && !LoadGrid(grid)) result.out = Dump(JsonError(asRead, "givens in conflict"));
            else result.out = Dump(JsonOf(asRead, rating, steps));
            result.out += '\n';
            return result;
        }
        std::string& text = result.out;
        text.assign(81, '0');
        for (int i = 0; i < 81; ++i) text[i] = static_cast<char>('0' + grid[i]);
        if (rating.hardest == 0) {
            text += "\t0\t0\t-";
        } else {
            text += '\t' + std::to_string(rating.hardest) + '\t' + std::to_string(TechniqueLevel(rating.hardest)) + '\t';
            text += TechniqueName(rating.hardest);
        }
        if (format == RateFormat::Steps) {
            text += '\t';
            for (size_t i = 0; i < codes.size(); ++i) {
                if (i > 0) text += ' ';
                text += std::to_string(codes[i]);
            }
        }
        text += '\n';
        if (format == RateFormat::Explain)
            for (size_t i = 0; i < steps.size(); ++i) text += "  " + std::to_string(i + 1) + ". " + StepText(steps[i]) + '\n';
        return result;
    });
}
