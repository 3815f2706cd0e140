// `vakidogenerator import`: a player's own puzzles into the files of their levels.
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <iostream>
#include <set>

#include "generator/commands.h"
#include "generator/solution_counter.h"
#include "grading/grid_geometry.h"
#include "grading/ladder.h"
#include "grading/technique_codes.h"
#include "puzzles/puzzle_file_writer.h"
#include "puzzles/puzzle_lookup.h"

namespace {

std::atomic<bool> writing{false};

// Ctrl+C while reading ends the import at once (a read in progress would not return): no
// file has been touched yet. Once the files are being written, they are finished first.
void OnInterrupt(int)
{
    if (writing) return;
    static const char message[] = "vakidogenerator: interrupted; no file was changed\n";
    (void)!::write(STDERR_FILENO, message, sizeof message - 1);
    ::_exit(130);
}

// One puzzle line as `rate` reads it, followed by nothing or by whitespace and anything
// (a rating or a source, as lists often carry).
bool ParseImportLine(const std::string& line, uint8_t grid[81])
{
    if (line.size() > 81 && line[81] != ' ' && line[81] != '\t' && line[81] != '\r') return false;
    return ParsePuzzleLine(line.substr(0, 81), grid).empty();
}

struct LevelFile {
    std::string path;
    std::vector<PuzzleRecord> records;  // the file's own, then the imported ones
    size_t existing = 0;
    int added = 0, duplicates = 0;
};

// Reads the level's file in the directory, when there is one. Gives what is wrong with it.
std::string ReadLevelFile(int level, LevelFile& file)
{
    if (FileSizeAt(file.path) < 0) return {};  // a missing file is created
    const PuzzleFile opened = OpenPuzzleFile(file.path);
    if (opened == noPuzzleFile) return "not a puzzle file, or it cannot be read";
    std::string problem;
    if (!ValidatePuzzleHeader(opened, level)) problem = "its header names another level";
    const int64_t count = PuzzleCount(opened);
    for (int64_t i = 0; i < count && problem.empty(); ++i) {
        PuzzleRecord record;
        if (!ReadPuzzle(opened, i, record)) problem = "it ends before its last record";
        else file.records.push_back(record);
    }
    ClosePuzzleFile(opened);
    file.existing = file.records.size();
    return problem;
}

}  // namespace

int RunImport(const ImportOptions& options, std::istream& standardInput, std::ostream& out, std::ostream& err)
{
    if (const std::string problem = CheckOutputDirectory(options.outDirectory); !problem.empty()) {
        err << "vakidogenerator: " << problem << "\n";
        return 1;
    }
    RemoveStaleTemporaryFiles(options.outDirectory);
    LevelFile files[5];
    std::set<std::string> seen;
    for (int level = 1; level <= 4; ++level) {
        files[level].path = options.outDirectory + "/" + PuzzleFileName(level);
        if (const std::string problem = ReadLevelFile(level, files[level]); !problem.empty()) {
            err << "vakidogenerator: " << files[level].path << ": " << problem << "; nothing was imported\n";
            return 1;
        }
        for (const PuzzleRecord& record : files[level].records)
            seen.emplace(reinterpret_cast<const char*>(record.givens), 81);
    }

    // Ctrl+C stops the import before anything is written.
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);

    int rejected = 0;
    auto importFrom = [&](std::istream& in, const std::string& name) {
        std::string line;
        for (long number = 1; std::getline(in, line); ++number) {
            if (IsSkippedLine(line)) continue;
            auto reject = [&](const char* reason) {
                err << name << ":" << number << ": " << reason << "\n";
                ++rejected;
            };
            PuzzleRecord record{};
            if (!ParseImportLine(line, record.givens)) {
                reject("malformed line");
                continue;
            }
            if (!LoadGrid(record.givens)) {  // a given that an earlier one rules out
                reject("givens in conflict");
                continue;
            }
            const int solutions = CountSolutions(record.givens, 2, record.solution);
            if (solutions == 0) {
                reject("no solution");
                continue;
            }
            if (solutions > 1) {
                reject("more than one solution");
                continue;
            }
            const TechniqueCode hardest = RatePuzzle(record.givens).hardest;
            if (hardest == 0) {
                reject("needs techniques beyond the ladder");
                continue;
            }
            LevelFile& file = files[TechniqueLevel(hardest)];
            if (!seen.emplace(reinterpret_cast<const char*>(record.givens), 81).second) {
                ++file.duplicates;
                continue;
            }
            for (uint8_t given : record.givens) record.givenCount = static_cast<uint8_t>(record.givenCount + (given != 0));
            record.hardestTechnique = static_cast<uint8_t>(hardest);
            file.records.push_back(record);
            ++file.added;
        }
    };
    if (options.files.empty()) importFrom(standardInput, "-");
    for (const std::string& name : options.files) {
        if (name == "-") {
            importFrom(standardInput, "-");
            continue;
        }
        std::ifstream in(name);
        if (!in) {
            err << "vakidogenerator: cannot read " << name << "\n";
            ++rejected;
            continue;
        }
        importFrom(in, name);
    }
    writing = true;
    int status = rejected > 0 ? 1 : 0;
    for (int level = 1; level <= 4; ++level) {
        LevelFile& file = files[level];
        if (file.added > 0) {
            if (const std::string problem = WriteFileAtomically(file.path, EncodePuzzleFile(level, file.records));
                !problem.empty()) {
                err << "vakidogenerator: " << problem << "\n";
                status = 1;
                continue;
            }
        }
        out << LevelLabel(level) << " (" << PuzzleFileName(level) << "): " << file.added << " added, " << file.duplicates
            << " skipped as duplicates, " << file.records.size() << " in the file\n";
    }
    out << rejected << " rejected\n";
    writing = false;
    return status;
}
