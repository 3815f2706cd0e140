// `vakidogenerator generate`: writes the four puzzle files.
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <thread>

#include "generator/commands.h"
#include "generator/progress.h"
#include "puzzles/puzzle_file_writer.h"
#include "puzzles/puzzle_lookup.h"

namespace {

std::atomic<bool> interrupted{false};

void OnInterrupt(int) { interrupted = true; }

}  // namespace

const char* LevelLabel(int level)
{
    static const char* labels[] = {"", "Easy", "Medium", "Hard", "Expert"};
    return level >= 1 && level <= 4 ? labels[level] : "";
}

std::string CheckOutputDirectory(const std::string& directory)
{
    std::error_code error;
    if (!std::filesystem::is_directory(directory, error)) return "output directory " + directory + " does not exist";
    if (::access(directory.c_str(), W_OK | X_OK) != 0) return "output directory " + directory + " is not writable";
    return {};
}

int RunGenerate(const GenerateOptions& options)
{
    if (const std::string problem = CheckOutputDirectory(options.outDirectory); !problem.empty()) {
        std::cerr << "vakidogenerator: " << problem << "\n";
        return 1;
    }
    RemoveStaleTemporaryFiles(options.outDirectory);
    std::vector<int> levels = options.levels;
    if (levels.empty()) levels = {1, 2, 3, 4};
    const uint64_t seed = options.seed ? *options.seed
                                       : static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
    if (!options.seed) std::cerr << "vakidogenerator: seed " << seed << "\n";
    const int jobs = options.jobs > 0 ? options.jobs : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    const bool showProgress = !options.quiet && ::isatty(STDERR_FILENO);

    // Ctrl+C stops the work; nothing is written until every level is complete, so an
    // interrupted run leaves the old files as they were.
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);

    struct Result {
        int level;
        std::vector<PuzzleRecord> records;
    };
    std::vector<Result> results;
    for (int level : levels) {
        ProgressBar bar(LevelLabel(level), options.count, showProgress);
        const LevelRequest request{level, options.count, options.givens[level]};
        auto records = MakeLevel(seed, request, options.symmetry, jobs, interrupted,
                                 [&](int kept, uint64_t) { bar.Update(kept); });
        bar.Finish();
        if (interrupted) {
            std::cerr << "vakidogenerator: interrupted; no file was changed\n";
            return 130;
        }
        results.push_back({level, std::move(records)});
    }

    for (const Result& result : results) {
        const std::string path = (std::filesystem::path(options.outDirectory) / PuzzleFileName(result.level)).string();
        if (const std::string problem = WriteFileAtomically(path, EncodePuzzleFile(result.level, result.records));
            !problem.empty()) {
            std::cerr << "vakidogenerator: " << problem << "\n";
            return 1;
        }
        if (!options.quiet) std::cerr << "wrote " << path << " (" << result.records.size() << " puzzles)\n";
    }
    return 0;
}
