#include "puzzles/puzzle_lookup.h"

#include "platform/files.h"

std::string PuzzleFileName(int level)
{
    switch (level) {
    case 1: return "makkelijk.vdb";
    case 2: return "gemiddeld.vdb";
    case 3: return "moeilijk.vdb";
    case 4: return "expert.vdb";
    default: return "";
    }
}

std::string ProgramDirectory()
{
    const std::string path = ExecutablePath();
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string PuzzleFilePath(int level)
{
    const std::string name = PuzzleFileName(level);
    const std::string candidate = ProgramDirectory() + name;
    if (FileSizeAt(candidate) > 0) return candidate;
    return FallbackPuzzleDirectory + name;
}
