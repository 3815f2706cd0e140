// Fuzz target over `rate`'s input: any bytes, read as lines, give for every puzzle line
// either one result line that repeats the puzzle (followed by its steps with --explain), or
// one error line that names the line; blank and '#' lines give nothing. As JSON, every
// puzzle line gives one object that parses, with an "error" for the malformed ones.
// Nothing crashes, and an error always sets status 1.
#include <nlohmann/json.hpp>

#include <cstdint>
#include <sstream>
#include <string>

#include "fuzz/fuzz_support.h"
#include "generator/commands.h"
#include "grading/grid_geometry.h"

static int CountLines(const std::string& text)
{
    int lines = 0;
    for (char c : text) lines += c == '\n';
    return lines;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool geometry = (BuildGridGeometry(), true);
    (void)geometry;
    const std::string input(reinterpret_cast<const char*>(data), size);

    int puzzleLines = 0;
    std::istringstream lines(input);
    for (std::string line; std::getline(lines, line);)
        puzzleLines += line.find_first_not_of(" \t\r") != std::string::npos && line[0] != '#';

    std::istringstream in(input);
    std::ostringstream out, err;
    const RateFormat formats[] = {RateFormat::Plain, RateFormat::Steps, RateFormat::Explain, RateFormat::Json};
    const RateFormat format = formats[size % 4];
    const int status = RunRate(in, out, err, 4, format);
    if (format == RateFormat::Json) {
        int objects = 0, malformed = 0;
        std::istringstream jsonLines(out.str());
        for (std::string line; std::getline(jsonLines, line); ++objects) {
            const nlohmann::json object = nlohmann::json::parse(line, nullptr, false);
            Require(object.is_object() && object.contains("puzzle") && object.contains("code"));
            malformed += object.contains("error") && object["error"].get<std::string>().rfind("malformed line", 0) == 0;
        }
        Require(objects == puzzleLines && err.str().empty() && (status != 0) == (malformed > 0));
        return 0;
    }
    std::string results_text;
    std::istringstream all(out.str());
    for (std::string line; std::getline(all, line);)
        if (format != RateFormat::Explain || line.rfind("  ", 0) != 0) results_text += line + "\n";
    const int results = CountLines(results_text), errors = CountLines(err.str());
    Require(results + errors == puzzleLines);
    Require((status != 0) == (errors > 0));
    std::istringstream errorLines(err.str());
    for (std::string line; std::getline(errorLines, line);)
        Require(line.rfind("vakidogenerator: line ", 0) == 0 && line.size() > 30);
    std::istringstream resultLines(results_text);
    for (std::string line; std::getline(resultLines, line);) {
        Require(line.size() > 82 && line[81] == '\t');
        Require(line.find_first_not_of("0123456789") == 81);
    }
    return 0;
}
