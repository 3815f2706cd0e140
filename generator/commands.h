// The tool's commands. Each returns the process's exit status: 0 success, 1 a failed
// check or write, 2 bad usage. Messages go to stderr, results to stdout.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "generator/puzzle_maker.h"

struct GenerateOptions {
    std::string outDirectory = ".";
    int count = 1000;
    std::vector<int> levels;                 // empty: all four
    std::optional<uint64_t> seed;            // none: from the clock, and printed
    int jobs = 0;                            // 0: one per processor
    Symmetry symmetry = Symmetry::None;
    GivenRange givens[5] = {{}, DefaultGivenRange(1), DefaultGivenRange(2), DefaultGivenRange(3), DefaultGivenRange(4)};
    bool quiet = false;
};

int RunGenerate(const GenerateOptions& options);
// How `rate` prints each puzzle: PUZZLE<TAB>CODE<TAB>LEVEL<TAB>NAME; with the codes of the
// steps as a fifth field; followed by one explained line per step; or as one JSON object.
enum class RateFormat { Plain, Steps, Explain, Json };
// Both run on `jobs` threads and print in input order.
int RunRate(std::istream& in, std::ostream& out, std::ostream& err, int maxLevel, RateFormat format, int jobs = 1);
// Without a count limit: PUZZLE<TAB>SOLUTION (the first one, or "-" when there is none);
// with one: PUZZLE<TAB>COUNT, the solutions found up to the limit.
int RunSolve(std::istream& in, std::ostream& out, std::ostream& err, std::optional<int> countLimit, int jobs = 1);
struct ImportOptions {
    std::string outDirectory = ".";
    std::vector<std::string> files;  // none: standard input; "-" names it too
};
// Solves, rates and adds each good puzzle to the file of its level in outDirectory; rejects
// go to `err` as FILE:LINE: reason. 0 when nothing was rejected, 1 when something was.
int RunImport(const ImportOptions& options, std::istream& standardInput, std::ostream& out, std::ostream& err);

// "Easy", "Medium", "Hard", "Expert" for levels 1..4.
const char* LevelLabel(int level);

// What keeps a directory from taking new files (it does not exist, or cannot be written
// to), or an empty string.
std::string CheckOutputDirectory(const std::string& directory);

int RunCheck(const std::vector<std::string>& files, std::ostream& out, std::ostream& err);
int RunDump(const std::string& file, std::ostream& out, std::ostream& err);
int RunBench(int count, int jobs, std::ostream& out);

// Blank lines and lines starting with '#' hold no puzzle.
bool IsSkippedLine(const std::string& line);

// Reads one puzzle line: 81 characters, digits with '0' or '.' for an empty cell. Gives an
// empty string, or what is wrong with the line.
std::string ParsePuzzleLine(const std::string& line, uint8_t grid[81]);

// What is wrong with one record of a file of `level`, or an empty string.
std::string CheckRecord(const PuzzleRecord& record, int level);
