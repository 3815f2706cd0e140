#include "puzzles/puzzle_file.h"

#include "platform/random.h"

PuzzleFile OpenPuzzleFile(const std::string& path)
{
    const PuzzleFile file = OpenFileExclusive(path);
    if (file == noPuzzleFile) return noPuzzleFile;
    if (!ValidatePuzzleHeader(file, 0)) {
        CloseFile(file);
        return noPuzzleFile;
    }
    return file;
}

void ClosePuzzleFile(PuzzleFile file) { CloseFile(file); }

bool ValidatePuzzleHeader(PuzzleFile file, int expectedLevel)
{
    if (!SeekFile(file, 0)) return false;
    if (ReadLittleEndian(file, 4) != puzzleFileMagic) return false;
    if (ReadLittleEndian(file, 1) != puzzleFileVersion) return false;
    const uint32_t level = ReadLittleEndian(file, 1);
    if (level < 1 || level > 4) return false;
    if (expectedLevel != 0 && static_cast<int>(level) != expectedLevel) return false;
    const auto recordSize = static_cast<int16_t>(ReadLittleEndian(file, 2));
    return recordSize == puzzleRecordSize;
}

int64_t PuzzleCount(PuzzleFile file)
{
    if (!SeekFile(file, 8)) return 0;
    return static_cast<int32_t>(ReadLittleEndian(file, 4));
}

bool ReadPuzzle(PuzzleFile file, int64_t index, PuzzleRecord& record)
{
    if (index < 0 || index >= PuzzleCount(file)) return false;
    // index < 2^31, so the offset cannot overflow 64 bits.
    if (!SeekFile(file, puzzleHeaderSize + index * puzzleRecordSize)) return false;
    return ReadBlock(file, &record, puzzleRecordSize) == puzzleRecordSize;
}

int64_t ReadRandomPuzzle(PuzzleFile file, PuzzleRecord& record)
{
    const int64_t count = PuzzleCount(file);
    if (count <= 0) return -1;
    const int64_t index = RandomInteger(count - 1);
    // A record cut short would leave the caller's record half overwritten: read into a
    // scratch record and hand it over only when it is whole.
    PuzzleRecord scratch;
    if (!ReadPuzzle(file, index, scratch)) return -1;
    record = scratch;
    return index;
}
