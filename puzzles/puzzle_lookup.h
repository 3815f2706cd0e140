// Where the puzzle file of a level lies: beside the program, else in a fixed directory.
#pragma once

#include <string>

// The directory where the puzzle files are installed, ending with '/'. Each program links
// one definition (fallback_directory.cpp): the install directory, or for the tests a
// folder of the build tree.
extern const std::string FallbackPuzzleDirectory;

// "makkelijk.vdb", "gemiddeld.vdb", "moeilijk.vdb", "expert.vdb" for levels 1..4; empty
// for any other value.
std::string PuzzleFileName(int level);

// The directory of the program's executable, with its trailing '/'. A backslash is an
// ordinary character of a Linux file name, so only '/' separates.
std::string ProgramDirectory();

// The level's file beside the program when a regular file of at least one byte lies
// there, else the same name in FallbackPuzzleDirectory. Opens nothing.
std::string PuzzleFilePath(int level);
