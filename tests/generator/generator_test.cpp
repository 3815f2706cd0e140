#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <thread>

#include "generator/commands.h"
#include "generator/solution_counter.h"
#include "grading/grid_geometry.h"
#include "grading/technique_codes.h"
#include "puzzles/puzzle_file.h"
#include "puzzles/puzzle_file_writer.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

struct Geometry {
    Geometry() { BuildGridGeometry(); }
} geometry;

// A sample Easy puzzle and its solution, and the forms of a line the readers must take.
const std::string samplePuzzle = "006020005050071236001006809600207390003098400100003080205640173360700950010300000";
const std::string sampleSolution = "836924715459871236721536849648257391573198462192463587285649173364712958917385624";

// The puzzle with '.' for its empty cells.
std::string Dotted(std::string puzzle)
{
    for (char& c : puzzle)
        if (c == '0') c = '.';
    return puzzle;
}

// The puzzle with its first two cells set to the same given: a conflict.
std::string WithConflict(std::string puzzle)
{
    puzzle[0] = puzzle[1] = '6';
    return puzzle;
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

GenerateOptions SmallRun(const std::string& directory, int jobs)
{
    GenerateOptions options;
    options.outDirectory = directory;
    options.count = 4;
    options.seed = 99;
    options.jobs = jobs;
    options.quiet = true;
    return options;
}

// The four files of one small run, made once for the tests that read them.
const TempDir& SmallFiles()
{
    static TempDir dir;
    static const int status = RunGenerate(SmallRun(dir.path(), 2));
    EXPECT_EQ(status, 0);
    return dir;
}

std::vector<PuzzleRecord> Records(const std::string& bytes)
{
    std::vector<PuzzleRecord> records((bytes.size() - 16) / 164);
    std::memcpy(records.data(), bytes.data() + 16, records.size() * 164);
    return records;
}

int Check(const std::string& path, std::string* output)
{
    std::ostringstream out, err;
    const int status = RunCheck({path}, out, err);
    *output = out.str() + err.str();
    return status;
}

TEST(Generate, WritesFilesTheGameReadsAndThatPassCheck)
{
    const TempDir& dir = SmallFiles();
    const char* names[] = {"", "makkelijk.vdb", "gemiddeld.vdb", "moeilijk.vdb", "expert.vdb"};
    for (int level = 1; level <= 4; ++level) {
        const std::string path = dir / names[level];
        const std::string bytes = ReadAll(path);
        ASSERT_EQ(bytes.size(), 16u + 4 * 164) << path;
        EXPECT_EQ(bytes.substr(0, 4), "VKDO");
        EXPECT_EQ(bytes[4], 1);
        EXPECT_EQ(bytes[5], level);
        EXPECT_EQ(static_cast<uint8_t>(bytes[6]) | static_cast<uint8_t>(bytes[7]) << 8, 164);
        EXPECT_EQ(bytes.substr(8, 4), std::string("\x04\0\0\0", 4));
        EXPECT_EQ(bytes.substr(12, 4), std::string(4, '\0'));

        const PuzzleFile file = OpenPuzzleFile(path);
        ASSERT_NE(file, noPuzzleFile);
        EXPECT_TRUE(ValidatePuzzleHeader(file, level));
        for (int i = 0; i < 4; ++i) {
            PuzzleRecord record;
            ASSERT_TRUE(ReadPuzzle(file, i, record));
            EXPECT_EQ(CheckRecord(record, level), "") << path << " record " << i;
            EXPECT_EQ(TechniqueLevel(record.hardestTechnique), level);
        }
        ClosePuzzleFile(file);
        std::string output;
        EXPECT_EQ(Check(path, &output), 0) << output;
    }
    // Easy keeps clearly more givens than Expert.
    EXPECT_GT(Records(ReadAll(dir / "makkelijk.vdb"))[0].givenCount, Records(ReadAll(dir / "expert.vdb"))[0].givenCount + 5);
}

TEST(Generate, SameSeedSameBytesWhateverTheThreads)
{
    TempDir one, three;
    GenerateOptions options = SmallRun(one.path(), 1);
    options.levels = {2, 3};
    ASSERT_EQ(RunGenerate(options), 0);
    options.outDirectory = three.path();
    options.jobs = 3;
    ASSERT_EQ(RunGenerate(options), 0);
    for (const char* name : {"gemiddeld.vdb", "moeilijk.vdb"}) EXPECT_EQ(ReadAll(one / name), ReadAll(three / name)) << name;
    EXPECT_FALSE(fs::exists(one / "makkelijk.vdb")) << "only the named levels are written";
    EXPECT_EQ(ReadAll(one / "moeilijk.vdb"), ReadAll(SmallFiles() / "moeilijk.vdb"));

    options.seed = 100;
    ASSERT_EQ(RunGenerate(options), 0);
    EXPECT_NE(ReadAll(three / "moeilijk.vdb"), ReadAll(one / "moeilijk.vdb"));
}

TEST(Generate, SymmetricGivensAndMissingDirectory)
{
    TempDir dir;
    GenerateOptions options = SmallRun(dir.path(), 2);
    options.levels = {1};
    options.symmetry = Symmetry::Rotate180;
    ASSERT_EQ(RunGenerate(options), 0);
    for (const PuzzleRecord& record : Records(ReadAll(dir / "makkelijk.vdb")))
        for (int cell = 0; cell < 81; ++cell) EXPECT_EQ(record.givens[cell] != 0, record.givens[80 - cell] != 0);

    options.outDirectory = dir / "missing";
    EXPECT_EQ(RunGenerate(options), 1);
}

TEST(Check, NamesEachKindOfBadRecord)
{
    const std::string good = ReadAll(SmallFiles() / "gemiddeld.vdb");
    const std::vector<PuzzleRecord> records = Records(good);
    TempDir dir;
    int files = 0;
    auto fileWith = [&](PuzzleRecord record) {
        std::vector<PuzzleRecord> list = records;
        list[2] = record;
        return dir.Write("bad" + std::to_string(++files) + ".vdb", EncodePuzzleFile(2, list));
    };
    PuzzleRecord wrongSolution = records[0];
    std::swap(wrongSolution.solution[0], wrongSolution.solution[1]);
    PuzzleRecord disagreeing = records[0];
    for (int i = 0; i < 81; ++i)
        if (disagreeing.givens[i]) {
            disagreeing.givens[i] = static_cast<uint8_t>(disagreeing.givens[i] % 9 + 1);
            break;
        }
    PuzzleRecord countOff = records[0];
    ++countOff.givenCount;
    PuzzleRecord notUnique = records[0];
    int removed = 0;
    for (int i = 0; i < 81 && removed < 30; ++i)
        if (notUnique.givens[i]) notUnique.givens[i] = 0, ++removed;
    notUnique.givenCount = static_cast<uint8_t>(notUnique.givenCount - removed);
    PuzzleRecord wrongRating = records[0];
    wrongRating.hardestTechnique = wrongRating.hardestTechnique == 3 ? 4 : 3;

    struct Case { const char* what; std::string path; const char* says; };
    const Case cases[] = {
        {"wrong solution digit", fileWith(wrongSolution), "record 2: the solution is not a valid complete grid"},
        {"given against the solution", fileWith(disagreeing), "record 2: given"},
        {"wrong givenCount", fileWith(countOff), "record 2: givenCount"},
        {"not unique", fileWith(notUnique), "record 2: the puzzle has more than one solution"},
        {"wrong rating", fileWith(wrongRating), "record 2: hardestTechnique"},
        {"level mismatch", dir.Write("level.vdb", EncodePuzzleFile(3, records)), "record 0: rated level 2 in a level 3 file"},
        {"truncated", dir.Write("cut.vdb", good.substr(0, good.size() - 100)),
         "recordCount 4 but the file ends after 3 whole record(s)"},
        {"count far beyond the bytes", dir.Write("huge.vdb", good.substr(0, 8) + std::string("\xff\xff\xff\x7f", 4) + good.substr(12)),
         "recordCount 2147483647 but the file ends after 4 whole record(s)"},
        {"bad header", dir.Write("header.vdb", "VKDX" + good.substr(4)), "not a puzzle file"},
        {"missing", dir / "nothing.vdb", "no such file"},
    };
    for (const Case& c : cases) {
        std::string output;
        EXPECT_EQ(Check(c.path, &output), 1) << c.what;
        EXPECT_NE(output.find(c.says), std::string::npos) << c.what << ":\n" << output;
        EXPECT_NE(output.find("FAILED"), std::string::npos) << c.what;
    }
}

TEST(Rate, OutputLinesAndErrors)
{
    const std::string& puzzle = samplePuzzle;
    const std::string dotted = Dotted(puzzle), conflict = WithConflict(puzzle);
    std::istringstream in("# a comment\n\n" + dotted + "\n" + puzzle.substr(0, 80) + "\n" + conflict + "\n" +
                          puzzle.substr(0, 80) + "x\n" + puzzle + "\r\n");
    std::ostringstream out, err;
    EXPECT_EQ(RunRate(in, out, err, 4, RateFormat::Plain), 1);
    EXPECT_EQ(out.str(), puzzle + "\t1\t1\tNaked single\n" + conflict.substr(0, 81) + "\t0\t0\t-\n" + puzzle +
                             "\t1\t1\tNaked single\n");
    EXPECT_EQ(err.str(), "vakidogenerator: line 4: expected 81 characters, found 80\n"
                         "vakidogenerator: line 6: unexpected character 'x' at column 81\n");

    // With --steps, the code of every step; a level cap that stalls the ladder gives 0.
    const std::string hard = "000604080536100004704900000000245100100000509000000000850000270000007001390002006";
    std::istringstream again(hard + "\n");
    std::ostringstream steps, quiet;
    EXPECT_EQ(RunRate(again, steps, quiet, 4, RateFormat::Steps), 0);
    const std::string line = steps.str();
    EXPECT_EQ(line.rfind(hard + "\t10\t4\tXY-Wing\t", 0), 0u) << line;
    EXPECT_NE(line.find("\t1 "), std::string::npos);
    std::istringstream capped(hard + "\n");
    std::ostringstream cappedOut;
    RunRate(capped, cappedOut, quiet, 3, RateFormat::Plain);
    EXPECT_EQ(cappedOut.str(), hard + "\t0\t0\t-\n");
}

// Two puzzles whose paths use all eleven techniques: each step's line, word for word, as
// checked by hand and kept in tests/generator/data; and the JSON form of the same steps.
TEST(Rate, ExplainedPathsAndTheirJson)
{
    const std::string input = ReadAll(std::string(GENERATOR_TEST_DATA) + "/explained_paths.txt");
    const std::string expected = ReadAll(std::string(GENERATOR_TEST_DATA) + "/explained_paths.expected");
    std::istringstream in(input);
    std::ostringstream out, err;
    EXPECT_EQ(RunRate(in, out, err, 4, RateFormat::Explain), 0);
    EXPECT_EQ(out.str(), expected);
    std::set<std::string> techniques;
    std::vector<std::string> explainedSteps;
    std::istringstream lines(out.str());
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("  ", 0) != 0) continue;
        explainedSteps.push_back(line.substr(line.find(". ") + 2));
        techniques.insert(line.substr(line.find(". ") + 2, line.find(':') - line.find(". ") - 2));
    }
    EXPECT_EQ(techniques.size(), 11u) << "the paths must use every technique";

    std::istringstream again(input);
    std::ostringstream json, quiet;
    EXPECT_EQ(RunRate(again, json, quiet, 4, RateFormat::Json), 0);
    std::vector<std::string> jsonSteps;
    std::istringstream objects(json.str());
    for (std::string line; std::getline(objects, line);) {
        const auto object = nlohmann::json::parse(line);
        EXPECT_EQ(object["puzzle"].get<std::string>().size(), 81u);
        EXPECT_EQ(object["level"], TechniqueLevel(object["code"]));
        for (const auto& step : object["steps"]) {
            std::string text = step["name"].get<std::string>() + ": " + step["text"].get<std::string>() + " =>";
            // Appended piece by piece: `" " + string` trips GCC 12's false -Wrestrict warning.
            for (const auto& effect : step["placed"]) text.append(" ").append(effect.get<std::string>());
            for (const auto& effect : step["removed"]) text.append(" ").append(effect.get<std::string>());
            jsonSteps.push_back(text);
        }
    }
    EXPECT_EQ(jsonSteps, explainedSteps);

    // Malformed and conflicting lines get an object with code 0 and an error.
    std::istringstream bad("12345\n55" + std::string(79, '0') + "\n");
    std::ostringstream badOut;
    EXPECT_EQ(RunRate(bad, badOut, quiet, 4, RateFormat::Json), 1);
    std::istringstream badLines(badOut.str());
    std::string first, second;
    std::getline(badLines, first);
    std::getline(badLines, second);
    EXPECT_EQ(nlohmann::json::parse(first)["error"], "malformed line: expected 81 characters, found 5");
    EXPECT_EQ(nlohmann::json::parse(first)["puzzle"], "12345");
    EXPECT_EQ(nlohmann::json::parse(second)["error"], "givens in conflict");
    EXPECT_EQ(nlohmann::json::parse(second)["code"], 0);
}

TEST(Solve, OutputLinesCountsAndErrors)
{
    const std::string& puzzle = samplePuzzle;
    const std::string& solution = sampleSolution;
    const std::string dotted = Dotted(puzzle), conflict = WithConflict(puzzle);
    const std::string empty(81, '0');
    // The solution with 1 at cell 40 instead of 9, and the 1s of its row and column gone: no
    // given conflicts, and no solution.
    std::string none = solution;
    none[40] = '1', none[39] = none[67] = '0';
    const std::string input =
        "# a comment\n\n" + dotted + "\n" + conflict + "\n" + none + "\n" + empty + "\n" + puzzle.substr(0, 80) + "\n";

    std::istringstream in(input);
    std::ostringstream out, err;
    EXPECT_EQ(RunSolve(in, out, err, std::nullopt), 1);
    const std::string firstOfEmpty = out.str().substr(out.str().rfind(empty) + 82, 81);
    EXPECT_EQ(out.str(), puzzle + "\t" + solution + "\n" + conflict + "\t-\n" + none + "\t-\n" + empty + "\t" +
                             firstOfEmpty + "\n");
    EXPECT_EQ(err.str(), "vakidogenerator: line 7: expected 81 characters, found 80\n");

    struct Case {
        int limit;
        const char* counts;  // for the sample, the conflict, the unsolvable grid and the empty grid
    };
    for (Case c : {Case{1, "1001"}, Case{2, "1002"}, Case{7, "1007"}}) {
        std::istringstream again(input);
        std::ostringstream counted, errors;
        EXPECT_EQ(RunSolve(again, counted, errors, c.limit), 1);
        std::string expected = puzzle + "\t" + c.counts[0] + "\n" + conflict + "\t" + c.counts[1] + "\n" + none + "\t" +
                               c.counts[2] + "\n" + empty + "\t" + c.counts[3] + "\n";
        EXPECT_EQ(counted.str(), expected) << "limit " << c.limit;
    }
}

// Several threads print exactly what one prints: the same lines in the same order, the same
// errors with the same line numbers, over more lines than one batch holds.
TEST(RateAndSolve, ThreadsKeepTheOutputOfOne)
{
    std::string input, lastError;
    long lines = 0;
    for (int i = 0; i < 5000; ++i) {
        if (i % 997 == 0) input += "# comment\n\n", lines += 2;
        if (i % 1201 == 5) {  // malformed: an error line with its number
            input += "12345\n";
            lastError = "line " + std::to_string(++lines) + ":";
        }
        ++lines;
        const Attempt made = MakePuzzle(AttemptSeed(3, 0, i % 400), DefaultGivenRange(1 + i % 4), Symmetry::None);
        input += std::string(made.record.givens, made.record.givens + 81) + "\n";
    }
    for (char& c : input)
        if (c >= 0 && c <= 9) c = static_cast<char>('0' + c);
    auto run = [&](int jobs, auto command) {
        std::istringstream in(input);
        std::ostringstream out, err;
        const int status = command(in, out, err, jobs);
        return out.str() + "\n--\n" + err.str() + "\n--\n" + std::to_string(status);
    };
    for (RateFormat format : {RateFormat::Plain, RateFormat::Steps, RateFormat::Explain, RateFormat::Json}) {
        auto rate = [format](std::istream& in, std::ostream& out, std::ostream& err, int jobs) {
            return RunRate(in, out, err, 4, format, jobs);
        };
        const std::string one = run(1, rate);
        if (format != RateFormat::Json) {
            EXPECT_NE(one.find(lastError), std::string::npos) << lastError;
        }
        EXPECT_EQ(run(3, rate), one) << "format " << static_cast<int>(format);
    }
    for (std::optional<int> limit : {std::optional<int>(), std::optional<int>(2)}) {
        auto solve = [limit](std::istream& in, std::ostream& out, std::ostream& err, int jobs) {
            return RunSolve(in, out, err, limit, jobs);
        };
        EXPECT_EQ(run(3, solve), run(1, solve));
    }
}

// Import: every kind of reject, duplicates within the input and against the file, a new file,
// and an existing file whose records stay byte for byte.
TEST(Import, RejectsDuplicatesNewAndExistingFiles)
{
    TempDir dir;
    const std::string& easy = samplePuzzle;
    const std::string& solution = sampleSolution;
    // An Easy file holding the sample already: its bytes must survive the import.
    const std::string old = EncodePuzzleFile(1, Records(ReadAll(SmallFiles() / "makkelijk.vdb")));
    dir.Write("makkelijk.vdb", old);
    const PuzzleRecord first = Records(old)[0];
    std::string inFile(81, '0');
    for (int i = 0; i < 81; ++i) inFile[i] = static_cast<char>('0' + first.givens[i]);
    const std::string dotted = Dotted(easy);
    std::string none = solution;
    none[40] = '1', none[39] = none[67] = '0';
    const std::string beyond = "1.......2.9.4...5...6...7...5.9.3.......7.......85..4.7.....6...3...9.8...2.....1";
    const std::string input = "# my puzzles\n\n" + dotted + "  rated 1.2, from the paper\n" + easy + "\n" + inFile +
                              "\n" + easy.substr(0, 80) + "\n" + easy + "x\n" + "55" + easy.substr(2) + "\n" + none +
                              "\n" + std::string(81, '0') + "\n" + beyond + "\n";
    const std::string listPath = dir.Write("list.txt", input);

    ImportOptions options;
    options.outDirectory = dir.path();
    options.files = {listPath};
    std::istringstream noInput;
    std::ostringstream out, err;
    EXPECT_EQ(RunImport(options, noInput, out, err), 1);
    EXPECT_EQ(err.str(), listPath + ":6: malformed line\n" + listPath + ":7: malformed line\n" + listPath +
                             ":8: givens in conflict\n" + listPath + ":9: no solution\n" + listPath +
                             ":10: more than one solution\n" + listPath + ":11: needs techniques beyond the ladder\n");
    EXPECT_NE(out.str().find("Easy (makkelijk.vdb): 1 added, 2 skipped as duplicates"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("6 rejected"), std::string::npos);

    const std::string now = ReadAll(dir / "makkelijk.vdb");
    ASSERT_EQ(now.size(), old.size() + 164);
    EXPECT_EQ(now.substr(16, old.size() - 16), old.substr(16)) << "the old records changed";
    std::string report;
    EXPECT_EQ(Check(dir / "makkelijk.vdb", &report), 0) << report;
    EXPECT_FALSE(fs::exists(dir / "moeilijk.vdb")) << "a level without imports gets no file";

    // From standard input, into a new file; a second run finds everything there already.
    const std::string medium = ReadAll(SmallFiles() / "gemiddeld.vdb");
    std::string mediumLine(81, '0');
    for (int i = 0; i < 81; ++i) mediumLine[i] = static_cast<char>('0' + Records(medium)[1].givens[i]);
    fs::remove(dir / "gemiddeld.vdb");
    for (int run = 0; run < 2; ++run) {
        std::istringstream in(mediumLine + "\n");
        std::ostringstream summary, problems;
        EXPECT_EQ(RunImport(ImportOptions{dir.path(), {}}, in, summary, problems), 0) << problems.str();
        EXPECT_NE(summary.str().find(run == 0 ? "Medium (gemiddeld.vdb): 1 added" : "Medium (gemiddeld.vdb): 0 added, 1 skipped"),
                  std::string::npos)
            << summary.str();
    }
    EXPECT_EQ(Records(ReadAll(dir / "gemiddeld.vdb")).size(), 1u);
}

// An import stopped by Ctrl+C while it reads leaves the old file as it was.
TEST(Import, InterruptedImportLeavesTheOldFile)
{
    TempDir dir;
    const std::string old = ReadAll(SmallFiles() / "makkelijk.vdb");
    const std::string target = dir.Write("makkelijk.vdb", old);
    int input[2];
    ASSERT_EQ(pipe(input), 0);
    const pid_t child = fork();
    if (child == 0) {
        dup2(input[0], STDIN_FILENO);
        close(input[1]);
        execl(VAKIDOGENERATOR, VAKIDOGENERATOR, "import", "--out", dir.path().c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(input[0]);
    const std::string puzzle = samplePuzzle + "\n";
    ASSERT_EQ(write(input[1], puzzle.data(), puzzle.size()), static_cast<ssize_t>(puzzle.size()));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // read, and waiting for more
    kill(child, SIGINT);
    int status = 0;
    waitpid(child, &status, 0);
    close(input[1]);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 130);
    EXPECT_EQ(ReadAll(target), old);
}

// The tool itself: exit codes, and Ctrl+C leaving the old files alone.
int RunTool(const std::string& arguments)
{
    const int status = std::system((std::string("'") + VAKIDOGENERATOR + "' " + arguments + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(Tool, ExitStatusAndInterruptedRun)
{
    TempDir dir;
    EXPECT_EQ(RunTool("--help"), 0);
    EXPECT_EQ(RunTool("--version"), 0);
    EXPECT_EQ(RunTool("--count 0"), 2);
    EXPECT_EQ(RunTool("--level 5"), 2);
    EXPECT_EQ(RunTool("--symmetry mirror"), 2);
    EXPECT_EQ(RunTool("--easy-givens 40-30"), 2);
    EXPECT_EQ(RunTool("frobnicate"), 2);
    EXPECT_EQ(RunTool("--out '" + (dir / "absent") + "' --count 1"), 1);
    EXPECT_EQ(RunTool("check '" + (dir / "absent.vdb") + "'"), 1);

    const std::string old = "the previous file";
    const std::string target = dir.Write("moeilijk.vdb", old);
    const pid_t child = fork();
    if (child == 0) {
        execl(VAKIDOGENERATOR, VAKIDOGENERATOR, "--out", dir.path().c_str(), "--level", "3", "--count", "100000",
              "--quiet", "--seed", "5", static_cast<char*>(nullptr));
        _exit(127);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    kill(child, SIGINT);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 130);
    EXPECT_EQ(ReadAll(target), old);
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.path())) ++files;
    EXPECT_EQ(files, 1) << "no temporary file is left behind";
}

bool HasTemporaryFile(const std::string& directory)
{
    for (const auto& entry : fs::directory_iterator(directory))
        if (entry.path().filename().string().rfind(temporaryFilePrefix, 0) == 0) return true;
    return false;
}

// SIGKILL at random moments, most of them once the write phase has begun: every file is
// then the old one byte for byte, or a complete new one that passes check. The next run
// clears the temporary files the killed ones left.
TEST(Tool, KilledAtAnyMomentEveryFileIsOldOrCompleteNew)
{
    TempDir dir;
    const char* names[] = {"makkelijk.vdb", "gemiddeld.vdb", "expert.vdb"};
    auto run = [&](int seed) {
        const std::string seedText = std::to_string(seed);
        const pid_t child = fork();
        if (child == 0) {
            // Hard puzzles are the slow ones to make; three levels keep each run short.
            execl(VAKIDOGENERATOR, VAKIDOGENERATOR, "--out", dir.path().c_str(), "--count", "6", "--jobs", "1",
                  "--level", "1", "--level", "2", "--level", "4", "--quiet", "--seed", seedText.c_str(),
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        return child;
    };
    ASSERT_EQ(waitpid(run(1), nullptr, 0) > 0, true);
    std::string before[3];
    for (int i = 0; i < 3; ++i) before[i] = ReadAll(dir / names[i]);

    std::mt19937 random(20261211);
    const auto fullRun = std::chrono::steady_clock::now();
    waitpid(run(2), nullptr, 0);
    const auto runMicroseconds =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - fullRun).count();

    int kills = 0, duringWrites = 0;
    for (int attempt = 0; attempt < 60; ++attempt) {
        const pid_t child = run(100 + attempt);
        bool writing = false;
        if (attempt % 4 == 0) {
            std::this_thread::sleep_for(std::chrono::microseconds(random() % (runMicroseconds + 1)));
        } else {
            // Wait for the first temporary file, then strike somewhere in the writes.
            while (!(writing = HasTemporaryFile(dir.path())) && waitpid(child, nullptr, WNOHANG) == 0) {
            }
            std::this_thread::sleep_for(std::chrono::microseconds(random() % 3000));
        }
        kills += kill(child, SIGKILL) == 0;
        int status = 0;
        waitpid(child, &status, 0);
        duringWrites += writing && WIFSIGNALED(status);

        for (int i = 0; i < 3; ++i) {
            const std::string path = dir / names[i];
            const std::string now = ReadAll(path);
            if (now == before[i]) continue;
            std::string report;
            ASSERT_EQ(Check(path, &report), 0) << "after kill " << attempt << ", " << names[i] << ": " << report;
            EXPECT_EQ(Records(now).size(), 6u);
            before[i] = now;
        }
        for (const auto& entry : fs::directory_iterator(dir.path())) {
            const std::string name = entry.path().filename().string();
            EXPECT_TRUE(name.rfind(temporaryFilePrefix, 0) == 0 || name.ends_with(".vdb")) << name;
            EXPECT_FALSE(name.rfind(temporaryFilePrefix, 0) == 0 && name.ends_with(".vdb")) << name;
        }
    }
    std::printf("%d kills, %d of them during the write phase\n", kills, duringWrites);
    EXPECT_GE(kills, 50);
    EXPECT_GE(duringWrites, 20);

    ASSERT_EQ(waitpid(run(3), nullptr, 0) > 0, true);
    EXPECT_FALSE(HasTemporaryFile(dir.path())) << "the next run removes what killed runs left";
}

}  // namespace
