// Writing puzzle files: the layout of puzzle_file.h, byte for byte. Used by the generator;
// the game only reads.
#pragma once

#include <string>
#include <vector>

#include "puzzles/puzzle_file.h"

// The complete bytes of a file of `level` holding `records`, reserved bytes zero.
std::string EncodePuzzleFile(int level, const std::vector<PuzzleRecord>& records);

// Writes `bytes` to `path` so that a reader sees either the old file or the whole new one:
// a temporary file in the same directory, flushed to disk and renamed over the old one.
// Gives an empty string on success, otherwise what went wrong.
std::string WriteFileAtomically(const std::string& path, const std::string& bytes);

// The temporary files of WriteFileAtomically are named ".vakido-part-PID-XXXXXX", PID the
// writer's process id: never like a puzzle file.
inline constexpr const char* temporaryFilePrefix = ".vakido-part-";

// Removes the temporary files in `directory` whose writer is no longer running (a killed
// run leaves them behind); returns how many went.
int RemoveStaleTemporaryFiles(const std::string& directory);
