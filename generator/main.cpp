// vakidogenerator: writes, rates, checks and dumps the game's puzzle files.
#include <CLI/CLI.hpp>

#include <fstream>
#include <iostream>
#include <thread>

#include "generator/commands.h"
#include "generator/line_batches.h"
#include "grading/grid_geometry.h"

namespace {

constexpr const char* version = "vakidogenerator " VAKIDO_VERSION;

// "MIN-MAX" with 0 <= MIN <= MAX <= 81.
std::string ParseRange(const std::string& text, GivenRange& range)
{
    const size_t dash = text.find('-');
    try {
        if (dash == std::string::npos) throw std::invalid_argument("no dash");
        size_t used = 0;
        range.min = std::stoi(text.substr(0, dash), &used);
        if (used != dash) throw std::invalid_argument("junk");
        const std::string upper = text.substr(dash + 1);
        range.max = std::stoi(upper, &used);
        if (used != upper.size()) throw std::invalid_argument("junk");
    } catch (const std::exception&) {
        return "expected MIN-MAX, for example 36-42, not '" + text + "'";
    }
    if (range.min < 17 || range.max > 81 || range.min > range.max)
        return "a range of given counts must lie within 17-81 with MIN <= MAX, not '" + text + "'";
    return {};
}

}  // namespace

int main(int argc, char** argv)
{
    // The commands read and write through the streams alone: no need to keep them in step
    // with C stdio, which costs as much as rating on a long list of puzzles.
    std::ios::sync_with_stdio(false);
    std::cin.tie(nullptr);
    BuildGridGeometry();

    CLI::App app{"Writes, rates, solves, checks, imports and dumps Vakido's puzzle files.\n"
                 "Without a command, `generate` runs.",
                 "vakidogenerator"};
    app.set_help_all_flag("--help-all", "Print the help of every command and option, and exit");
    app.set_version_flag("--version", version);
    app.require_subcommand(0, 1);

    GenerateOptions generate;
    std::vector<std::string> rangeTexts(5);
    std::string symmetry = "none";
    auto* generateCommand = app.add_subcommand(
        "generate", "Write makkelijk.vdb, gemiddeld.vdb, moeilijk.vdb and expert.vdb (levels 1-4). Each puzzle is unique, "
                    "solved completely by the grading ladder, and its hardest technique lies in the file's level.");
    generateCommand->add_option("-o,--out", generate.outDirectory, "Directory to write into (must exist)")
        ->capture_default_str();
    generateCommand->add_option("-n,--count", generate.count, "Puzzles per file")
        ->capture_default_str()->check(CLI::Range(1, 1000000));
    generateCommand->add_option("-l,--level", generate.levels, "Only this level (1-4); may be repeated")
        ->check(CLI::Range(1, 4));
    generateCommand->add_option("-s,--seed", generate.seed, "Seed; the same seed and options give identical files "
                                                            "(default: from the clock, printed)");
    generateCommand->add_option("-j,--jobs", generate.jobs, "Threads (default: one per processor)")->check(CLI::Range(1, 256));
    generateCommand->add_option("--symmetry", symmetry, "Given pattern: none, or rotate180 (symmetric under a half turn)")
        ->check(CLI::IsMember({"none", "rotate180"}))->capture_default_str();
    const char* levelNames[] = {"", "easy", "medium", "hard", "expert"};
    for (int level = 1; level <= 4; ++level) {
        const GivenRange range = DefaultGivenRange(level);
        rangeTexts[level] = std::to_string(range.min) + "-" + std::to_string(range.max);
        generateCommand->add_option(std::string("--") + levelNames[level] + "-givens", rangeTexts[level],
                                    std::string("Given digits a level-") + std::to_string(level) + " puzzle keeps, MIN-MAX")
            ->capture_default_str();
    }
    generateCommand->add_flag("-q,--quiet", generate.quiet, "No progress bar and no report of the files written");

    int maxLevel = 4;
    bool withSteps = false, explain = false, json = false;
    auto* rateCommand = app.add_subcommand(
        "rate", "Rate puzzles read from stdin, one per line: 81 characters, digits with 0 or . for an empty cell; blank "
                "lines and lines starting with # are skipped. Prints PUZZLE<TAB>CODE<TAB>LEVEL<TAB>NAME, with 0<TAB>0<TAB>- "
                "when the givens conflict or the ladder stops with cells empty.");
    rateCommand->add_option("--max-level", maxLevel, "Highest level of technique the ladder may use")
        ->capture_default_str()->check(CLI::Range(1, 4));
    auto* stepsFlag = rateCommand->add_flag("--steps", withSteps, "Add a fifth field: the code of every step, in order");
    auto* explainFlag = rateCommand->add_flag(
        "--explain", explain, "After each puzzle's line, one indented line per step: its number, technique, pattern in words, "
                              "then => and its effects (r4c7=5 places a digit, r1c3<>5 removes a candidate)");
    rateCommand->add_flag("--json", json, "One JSON object per puzzle per line, with every step's pattern and effects")
        ->excludes(stepsFlag)->excludes(explainFlag);
    explainFlag->excludes(stepsFlag);
    int lineJobs = DefaultJobs();
    rateCommand->add_option("-j,--jobs", lineJobs, "Threads (default: one per processor); the output keeps the input's order")
        ->check(CLI::Range(1, 256));

    int solveCount = 2;
    auto* solveCommand = app.add_subcommand(
        "solve", "Solve puzzles read from stdin, as `rate` reads them. Prints PUZZLE<TAB>SOLUTION, the first solution or "
                 "- when there is none; with --count, PUZZLE<TAB>COUNT, the solutions found up to N. Conflicting givens "
                 "have no solution.");
    auto* solveCountOption =
        solveCommand->add_option("--count", solveCount, "Count the solutions, up to N")->check(CLI::Range(1, 1000000))
            ->expected(0, 1)->default_str("2");
    solveCommand->add_option("-j,--jobs", lineJobs, "Threads (default: one per processor); the output keeps the input's order")
        ->check(CLI::Range(1, 256));

    ImportOptions import;
    auto* importCommand = app.add_subcommand(
        "import", "Add your own puzzles to the game's files: one puzzle a line (81 characters, digits with 0 or . for an "
                  "empty cell; anything after whitespace is ignored). Each is solved and rated and added to the file of "
                  "its level; rejects are listed as FILE:LINE: reason. Exit status 0 when nothing was rejected, 1 when "
                  "something was.");
    importCommand->add_option("-o,--out", import.outDirectory, "Directory of the level files (must exist)")
        ->capture_default_str();
    importCommand->add_option("files", import.files, "Files to read (default: standard input; - names it)");

    std::vector<std::string> checkFiles;
    auto* checkCommand = app.add_subcommand(
        "check", "Verify puzzle files: header, every counted record present, and for each record a valid complete "
                 "solution, givens that agree with it, the given count, a unique solution, and a rating and level that "
                 "match a fresh rating.");
    checkCommand->add_option("files", checkFiles, "Puzzle files")->required();

    std::string dumpFile;
    auto* dumpCommand = app.add_subcommand("dump", "Print a file's header, then index, givens, solution, givenCount and "
                                                   "hardestTechnique of every record");
    dumpCommand->add_option("file", dumpFile, "Puzzle file")->required();

    int benchCount = 100;
    int benchJobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    auto* benchCommand = app.add_subcommand("bench", "Measure how many puzzles per second are made, raw and per level");
    benchCommand->add_option("-n,--count", benchCount, "Puzzles per level")->capture_default_str()->check(CLI::Range(1, 100000));
    benchCommand->add_option("-j,--jobs", benchJobs, "Threads for the second run of each level")->capture_default_str()
        ->check(CLI::Range(1, 256));

    // `vakidogenerator [options]` means `vakidogenerator generate [options]`.
    std::vector<std::string> args;
    for (int i = argc - 1; i >= 1; --i) args.emplace_back(argv[i]);
    bool commandNamed = false;
    for (const CLI::App* command : app.get_subcommands([](const CLI::App*) { return true; }))
        commandNamed |= !args.empty() && args.back() == command->get_name();
    const bool askedForInfo = !args.empty() && (args.back() == "-h" || args.back() == "--help" || args.back() == "--version");
    if (!commandNamed && !askedForInfo) args.push_back("generate");
    // The top-level help shows every command with its options.
    if (args.size() == 1 && (args.back() == "-h" || args.back() == "--help")) args.back() = "--help-all";

    try {
        app.parse(args);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        std::cerr << "vakidogenerator: " << e.what() << "\nRun 'vakidogenerator --help' for usage.\n";
        return 2;
    }

    if (*rateCommand) {
        const RateFormat format = json      ? RateFormat::Json
                                  : explain ? RateFormat::Explain
                                  : withSteps ? RateFormat::Steps
                                              : RateFormat::Plain;
        return RunRate(std::cin, std::cout, std::cerr, maxLevel, format, lineJobs);
    }
    if (*solveCommand)
        return RunSolve(std::cin, std::cout, std::cerr, solveCountOption->count() ? std::optional<int>(solveCount) : std::nullopt,
                        lineJobs);
    if (*importCommand) return RunImport(import, std::cin, std::cout, std::cerr);
    if (*checkCommand) return RunCheck(checkFiles, std::cout, std::cerr);
    if (*dumpCommand) return RunDump(dumpFile, std::cout, std::cerr);
    if (*benchCommand) return RunBench(benchCount, benchJobs, std::cout);

    generate.symmetry = symmetry == "rotate180" ? Symmetry::Rotate180 : Symmetry::None;
    for (int level = 1; level <= 4; ++level) {
        if (const std::string problem = ParseRange(rangeTexts[level], generate.givens[level]); !problem.empty()) {
            std::cerr << "vakidogenerator: --" << levelNames[level] << "-givens: " << problem << "\n";
            return 2;
        }
    }
    return RunGenerate(generate);
}
