// Fuzz target over the puzzle reader: any bytes, offered as a puzzle file, may give a record
// only when the header is valid and all 164 bytes of that record are in the file, and the
// record must then equal those bytes.
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz/fuzz_support.h"
#include "platform/random.h"
#include "puzzles/puzzle_file.h"

static bool HeaderIsValid(const uint8_t* data, size_t size)
{
    auto byte = [&](size_t i) -> uint32_t { return i < size ? data[i] : 0; };
    const uint32_t magic = byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
    const auto recordSize = static_cast<int16_t>(byte(6) | byte(7) << 8);
    return magic == puzzleFileMagic && byte(4) == 1 && byte(5) >= 1 && byte(5) <= 4 && recordSize == 164;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const MemoryFile input(data, size);
    if (!input.ok()) return 0;
    const PuzzleFile file = OpenPuzzleFile(input.path());
    Require((file != noPuzzleFile) == HeaderIsValid(data, size));
    if (file != noPuzzleFile) {
        SeedRandom(size);
        int32_t count = 0;
        if (size >= 12) std::memcpy(&count, data + 8, 4);
        else for (size_t i = 8; i < size; ++i) count |= static_cast<int32_t>(data[i]) << (8 * (i - 8));
        Require(PuzzleCount(file) == count);

        PuzzleRecord record;
        std::memset(&record, 0xEE, sizeof record);
        const PuzzleRecord before = record;
        for (int draw = 0; draw < 4; ++draw) {
            const int64_t index = ReadRandomPuzzle(file, record);
            if (index < 0) {
                Require(std::memcmp(&record, &before, sizeof record) == 0);
                continue;
            }
            const uint64_t end = 16 + 164 * static_cast<uint64_t>(index + 1);
            Require(index < count && end <= size);
            Require(std::memcmp(&record, data + end - 164, 164) == 0);
            std::memcpy(&record, &before, sizeof record);
        }
        for (int64_t index : {int64_t{-1}, int64_t{0}, int64_t{count} - 1, int64_t{count}}) {
            const bool whole = index >= 0 && index < count && 16 + 164 * static_cast<uint64_t>(index + 1) <= size;
            Require(ReadPuzzle(file, index, record) == whole);
        }
        ClosePuzzleFile(file);
    }
    return 0;
}
