// The puzzle file format and its reader.
//
// A puzzle file is a 16-byte header followed by recordCount records of 164 bytes, packed
// without gaps; record i starts at byte 16 + 164 * i. Integers are little-endian.
//
//   header  0  magic        "VKDO"
//           4  version      u8, 1
//           5  level        u8, 1..4
//           6  recordSize   i16, 164
//           8  recordCount  i32 (0 or less: no puzzle)
//          12  reserved     4 bytes, never read
//   record  0  givens       81 bytes, row-major, 0 = empty, 1..9 = given digit
//          81  solution     81 bytes, the solved grid in the same order
//         162  givenCount   u8
//         163  hardestTechnique  u8, a TechniqueCode
#pragma once

#include <cstdint>
#include <string>

#include "platform/files.h"

struct PuzzleFileHeader {
    uint32_t magic;
    uint8_t version;
    uint8_t level;
    int16_t recordSize;
    int32_t recordCount;
    uint8_t reserved[4];
};

struct PuzzleRecord {
    uint8_t givens[81];
    uint8_t solution[81];
    uint8_t givenCount;
    uint8_t hardestTechnique;
};
static_assert(sizeof(PuzzleRecord) == 164, "a record is 164 packed bytes");

constexpr uint32_t puzzleFileMagic = 'V' | ('K' << 8) | ('D' << 16) | (uint32_t{'O'} << 24);
constexpr uint8_t puzzleFileVersion = 1;
constexpr int puzzleHeaderSize = 16;
constexpr int puzzleRecordSize = 164;

// An open, read-only puzzle file; the caller closes it with ClosePuzzleFile.
using PuzzleFile = FileHandle;
constexpr PuzzleFile noPuzzleFile = noFile;

// Opens the file read-only and without sharing, then checks its header (any level 1..4).
// Gives noPuzzleFile when the file cannot be opened or its header is invalid.
PuzzleFile OpenPuzzleFile(const std::string& path);
void ClosePuzzleFile(PuzzleFile file);

// Magic, version 1, level 1..4 (and equal to expectedLevel unless that is 0), record size
// 164, read in that order from offset 0.
bool ValidatePuzzleHeader(PuzzleFile file, int expectedLevel);

// recordCount, read afresh; may be 0 or negative.
int64_t PuzzleCount(PuzzleFile file);

// Reads record `index` (from 0) into `record`. True only when the index is within
// 0..PuzzleCount-1 and all 164 bytes arrived; after a false the record's content is
// unspecified.
bool ReadPuzzle(PuzzleFile file, int64_t index, PuzzleRecord& record);

// Draws one record uniformly at random and returns its index, or -1 when none could be
// read. `record` changes only when the whole record was read.
int64_t ReadRandomPuzzle(PuzzleFile file, PuzzleRecord& record);
