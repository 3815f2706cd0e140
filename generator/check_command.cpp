// `vakidogenerator check` and `dump`: read files with the game's own reader.
#include <algorithm>
#include <filesystem>
#include <ostream>

#include "generator/commands.h"
#include "generator/solution_counter.h"
#include "grading/grid_geometry.h"
#include "grading/ladder.h"
#include "grading/technique_codes.h"

namespace {

struct OpenedFile {
    PuzzleFile file = noPuzzleFile;
    int level = 0;
    int64_t count = 0;   // recordCount, as the header says
    int64_t whole = 0;   // the records the file really holds whole, at most count
    std::string problem;
};

OpenedFile Open(const std::string& path)
{
    OpenedFile opened;
    if (FileSizeAt(path) < 0) {
        opened.problem = "no such file";
        return opened;
    }
    opened.file = OpenPuzzleFile(path);
    if (opened.file == noPuzzleFile) {
        opened.problem = "not a puzzle file (bad header), or it cannot be opened";
        return opened;
    }
    for (int level = 1; level <= 4 && opened.level == 0; ++level)
        if (ValidatePuzzleHeader(opened.file, level)) opened.level = level;
    opened.count = PuzzleCount(opened.file);
    // A damaged count may claim two billion records: only those the bytes hold are read.
    const int64_t held = (FileSizeAt(path) - puzzleHeaderSize) / puzzleRecordSize;
    opened.whole = std::clamp<int64_t>(held, 0, std::max<int64_t>(opened.count, 0));
    return opened;
}

std::string Digits(const uint8_t* cells)
{
    std::string text(81, '0');
    for (int i = 0; i < 81; ++i) text[i] = static_cast<char>('0' + cells[i]);
    return text;
}

bool IsCompleteGrid(const uint8_t* solution)
{
    for (const auto& cells : gridGeometry.unitCells) {
        int seen = 0;
        for (uint8_t cell : cells) {
            if (solution[cell] < 1 || solution[cell] > 9) return false;
            seen |= 1 << solution[cell];
        }
        if (seen != allDigitsMask) return false;
    }
    return true;
}

}  // namespace

std::string CheckRecord(const PuzzleRecord& record, int level)
{
    if (!IsCompleteGrid(record.solution)) return "the solution is not a valid complete grid";
    int givens = 0;
    for (int i = 0; i < 81; ++i) {
        if (record.givens[i] == 0) continue;
        ++givens;
        if (record.givens[i] != record.solution[i])
            return "given " + std::to_string(record.givens[i]) + " at cell " + std::to_string(i) + " disagrees with the solution";
    }
    if (givens != record.givenCount)
        return "givenCount " + std::to_string(record.givenCount) + " but " + std::to_string(givens) + " givens";
    if (CountSolutions(record.givens, 2) != 1) return "the puzzle has more than one solution";
    const PuzzleRating rating = RatePuzzle(record.givens);
    if (rating.hardest != record.hardestTechnique)
        return "hardestTechnique " + std::to_string(record.hardestTechnique) + " but the puzzle rates " +
               std::to_string(rating.hardest);
    if (TechniqueLevel(rating.hardest) != level)
        return "rated level " + std::to_string(TechniqueLevel(rating.hardest)) + " in a level " + std::to_string(level) + " file";
    return {};
}

int RunCheck(const std::vector<std::string>& files, std::ostream& out, std::ostream& err)
{
    int status = 0;
    for (const std::string& path : files) {
        OpenedFile opened = Open(path);
        if (opened.file == noPuzzleFile) {
            err << path << ": FAILED: " << opened.problem << "\n";
            status = 1;
            continue;
        }
        int64_t bad = 0;
        std::string firstProblem;
        if (opened.count <= 0) firstProblem = "the file holds no puzzle (recordCount " + std::to_string(opened.count) + ")";
        for (int64_t i = 0; i < opened.whole; ++i) {
            PuzzleRecord record;
            std::string problem;
            if (!ReadPuzzle(opened.file, i, record)) problem = "cannot be read";
            else problem = CheckRecord(record, opened.level);
            if (problem.empty()) continue;
            if (bad++ < 10) err << path << ": record " << i << ": " << problem << "\n";
            if (firstProblem.empty()) firstProblem = "record " + std::to_string(i) + ": " + problem;
        }
        if (opened.whole < opened.count) {
            const std::string problem = "recordCount " + std::to_string(opened.count) + " but the file ends after " +
                                        std::to_string(opened.whole) + " whole record(s)";
            err << path << ": " << problem << "\n";
            if (firstProblem.empty()) firstProblem = problem;
        }
        ClosePuzzleFile(opened.file);
        if (firstProblem.empty()) {
            out << path << ": OK: level " << opened.level << ", " << opened.count << " puzzles\n";
        } else {
            out << path << ": FAILED: " << (bad > 0 ? std::to_string(bad) + " bad record(s), first " : "") << firstProblem << "\n";
            status = 1;
        }
    }
    return status;
}

int RunDump(const std::string& path, std::ostream& out, std::ostream& err)
{
    OpenedFile opened = Open(path);
    if (opened.file == noPuzzleFile) {
        err << path << ": " << opened.problem << "\n";
        return 1;
    }
    out << "magic VKDO version 1 level " << opened.level << " recordSize 164 recordCount " << opened.count << "\n";
    int status = 0;
    for (int64_t i = 0; i < opened.count; ++i) {
        PuzzleRecord record;
        if (i >= opened.whole || !ReadPuzzle(opened.file, i, record)) {
            err << path << ": record " << i << " is missing or cut short\n";
            status = 1;
            break;
        }
        out << i << ' ' << Digits(record.givens) << ' ' << Digits(record.solution) << ' ' << int(record.givenCount) << ' '
            << int(record.hardestTechnique) << "\n";
    }
    ClosePuzzleFile(opened.file);
    return status;
}
