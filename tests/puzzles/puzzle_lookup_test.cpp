#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/files.h"
#include "puzzles/puzzle_lookup.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

TEST(PuzzleLookup, FileNamesAndFallbackDirectory)
{
    const char* names[] = {"", "makkelijk.vdb", "gemiddeld.vdb", "moeilijk.vdb", "expert.vdb", ""};
    for (int level = 0; level <= 5; ++level) EXPECT_EQ(PuzzleFileName(level), names[level]) << level;
    EXPECT_EQ(PuzzleFileName(-1), "");
    ASSERT_FALSE(FallbackPuzzleDirectory.empty());
    EXPECT_EQ(FallbackPuzzleDirectory.front(), '/');
    EXPECT_EQ(FallbackPuzzleDirectory.back(), '/');
    // The tests' own fallback lies in the build tree: what is installed never reaches them.
    EXPECT_EQ(FallbackPuzzleDirectory.find("/usr/"), std::string::npos) << FallbackPuzzleDirectory;
    EXPECT_NE(FallbackPuzzleDirectory.find("/test-fallback/"), std::string::npos) << FallbackPuzzleDirectory;
}

TEST(PuzzleLookup, BesideTheProgramWhenAFileWithContentIsThere)
{
    const std::string besideProgram = ProgramDirectory();
    ASSERT_EQ(besideProgram, fs::path(ExecutablePath()).parent_path().string() + "/");
    const std::string candidate = besideProgram + "gemiddeld.vdb";
    const std::string fallback = FallbackPuzzleDirectory + "gemiddeld.vdb";
    fs::remove_all(candidate);

    EXPECT_EQ(PuzzleFilePath(2), fallback) << "nothing beside the program";
    std::ofstream(candidate).flush();
    EXPECT_EQ(PuzzleFilePath(2), fallback) << "an empty file";
    fs::remove(candidate);
    fs::create_directory(candidate);
    EXPECT_EQ(PuzzleFilePath(2), fallback) << "a directory";
    fs::remove(candidate);
    std::ofstream(candidate) << "x";
    EXPECT_EQ(PuzzleFilePath(2), candidate) << "one byte, whatever it holds";
    fs::remove(candidate);
}

// Run by the test below in a copy of this program; reports what the copy sees.
TEST(PuzzleLookup, ReportFromCopy)
{
    const char* report = std::getenv("VAKIDO_LOOKUP_REPORT");
    if (!report) GTEST_SKIP() << "only run inside a copied test program";
    std::ofstream(report) << ProgramDirectory() << "\n" << PuzzleFilePath(1) << "\n";
}

TEST(PuzzleLookup, CopyStartedElsewhereFindsItsOwnFiles)
{
    // The copy lies in a folder whose name holds a backslash, an ordinary character here,
    // and runs from another working directory.
    TempDir dir;
    const std::string folder = dir / "odd\\name";
    fs::create_directories(folder);
    fs::copy_file(ExecutablePath(), folder + "/copy");
    std::ofstream(folder + "/makkelijk.vdb") << "VKDO";
    const std::string report = dir / "report.txt";
    const std::string command = "cd / && VAKIDO_LOOKUP_REPORT='" + report + "' '" + folder +
                                "/copy' --gtest_filter=PuzzleLookup.ReportFromCopy > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::ifstream in(report);
    std::string directory, path;
    std::getline(in, directory);
    std::getline(in, path);
    EXPECT_EQ(directory, folder + "/");
    EXPECT_EQ(path, folder + "/makkelijk.vdb");
}

}  // namespace
