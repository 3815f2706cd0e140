#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <set>

#include "platform/random.h"
#include "puzzles/puzzle_file.h"
#include "puzzles/puzzle_file_writer.h"
#include "tests/support/temp_dir.h"

namespace {

PuzzleRecord NumberedRecord(int n)
{
    PuzzleRecord record;
    std::memset(&record, n, sizeof record);
    record.givenCount = static_cast<uint8_t>(n);
    record.hardestTechnique = static_cast<uint8_t>(n % 12);
    return record;
}

std::string FileOf(int level, int records)
{
    std::vector<PuzzleRecord> list;
    for (int i = 0; i < records; ++i) list.push_back(NumberedRecord(i + 1));
    return EncodePuzzleFile(level, list);
}

void SetCount(std::string& bytes, int32_t count) { std::memcpy(&bytes[8], &count, 4); }

bool Opens(const std::string& path)
{
    const PuzzleFile file = OpenPuzzleFile(path);
    ClosePuzzleFile(file);
    return file != noPuzzleFile;
}

TEST(PuzzleFile, WrittenLayoutReadsBackRecordByRecord)
{
    TempDir dir;
    const std::string bytes = FileOf(3, 4);
    ASSERT_EQ(bytes.size(), 16u + 4 * 164);
    EXPECT_EQ(bytes.substr(0, 4), "VKDO");
    EXPECT_EQ(bytes[4], 1);
    EXPECT_EQ(bytes[5], 3);
    EXPECT_EQ(static_cast<uint8_t>(bytes[6]), 164);
    EXPECT_EQ(bytes[7], 0);
    EXPECT_EQ(bytes[8], 4);
    EXPECT_EQ(bytes.substr(9, 7), std::string(7, '\0'));

    const PuzzleFile file = OpenPuzzleFile(dir.Write("f.vdb", bytes));
    ASSERT_NE(file, noPuzzleFile);
    EXPECT_TRUE(ValidatePuzzleHeader(file, 3));
    EXPECT_FALSE(ValidatePuzzleHeader(file, 2));
    EXPECT_EQ(PuzzleCount(file), 4);
    PuzzleRecord record;
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(ReadPuzzle(file, i, record));
        EXPECT_EQ(std::memcmp(&record, bytes.data() + 16 + 164 * i, 164), 0);
    }
    // Operations position the file themselves, so order does not matter.
    EXPECT_TRUE(ReadPuzzle(file, 1, record));
    EXPECT_EQ(PuzzleCount(file), 4);
    EXPECT_FALSE(ReadPuzzle(file, 4, record));
    EXPECT_FALSE(ReadPuzzle(file, -1, record));
    ClosePuzzleFile(file);
}

TEST(PuzzleFile, RejectedHeadersAndUnopenableFiles)
{
    TempDir dir;
    const std::string good = FileOf(2, 1);
    struct Case { const char* what; int offset; uint8_t value; } patches[] = {
        {"magic", 0, 'v'}, {"magic last byte", 3, 'o'}, {"version 2", 4, 2}, {"version 0", 4, 0},
        {"level 0", 5, 0}, {"level 5", 5, 5}, {"record size 165", 6, 165}, {"record size high byte", 7, 1},
    };
    for (const Case& c : patches) {
        std::string bytes = good;
        bytes[c.offset] = static_cast<char>(c.value);
        EXPECT_FALSE(Opens(dir.Write("bad.vdb", bytes))) << c.what;
    }
    for (size_t length = 0; length < 7; ++length)  // 7 bytes pass: see the draws test
        EXPECT_FALSE(Opens(dir.Write("short.vdb", good.substr(0, length)))) << length;

    EXPECT_FALSE(Opens(dir / "missing.vdb"));
    std::filesystem::create_directory(dir / "folder.vdb");
    EXPECT_FALSE(Opens(dir / "folder.vdb"));

    // Every level 1..4 opens, whatever the name it was found under.
    for (int level = 1; level <= 4; ++level) EXPECT_TRUE(Opens(dir.Write("makkelijk.vdb", FileOf(level, 1))));
}

TEST(PuzzleFile, FileHeldLockedByAnotherProcessIsRefused)
{
    TempDir dir;
    const std::string path = dir.Write("held.vdb", FileOf(1, 1));
    int ready[2], release[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(release), 0);
    const pid_t child = fork();
    if (child == 0) {
        const int fd = open(path.c_str(), O_RDONLY);
        char byte = flock(fd, LOCK_EX) == 0 ? 'y' : 'n';
        (void)!write(ready[1], &byte, 1);
        (void)!read(release[0], &byte, 1);
        _exit(0);
    }
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    ASSERT_EQ(byte, 'y');
    EXPECT_FALSE(Opens(path));
    (void)!write(release[1], "x", 1);
    waitpid(child, nullptr, 0);
    EXPECT_TRUE(Opens(path));

    // While the game holds a file, another opener is refused too.
    const PuzzleFile held = OpenPuzzleFile(path);
    ASSERT_NE(held, noPuzzleFile);
    EXPECT_FALSE(Opens(path));
    ClosePuzzleFile(held);
}

// File systems that lock otherwise, stood in for through the file layer's lock seam: only
// a lock that another process really holds refuses the file.
TEST(PuzzleFile, OnlyALockHeldElsewhereRefusesTheFile)
{
    TempDir dir;
    const std::string path = dir.Write("shared.vdb", FileOf(1, 1));
    struct Case {
        const char* fileSystem;
        FileLockCall lock;
        bool opens;
    };
    const Case cases[] = {
        {"no locking at all (ENOLCK)", [](int, int) { errno = ENOLCK; return -1; }, true},
        {"locks not supported (EOPNOTSUPP)", [](int, int) { errno = EOPNOTSUPP; return -1; }, true},
        {"NFS, shared lock free",
         [](int, int operation) {
             if (operation & LOCK_EX) { errno = EBADF; return -1; }
             return 0;
         },
         true},
        {"NFS, held by another process",
         [](int, int operation) {
             errno = (operation & LOCK_EX) ? EBADF : EWOULDBLOCK;
             return -1;
         },
         false},
        {"held by another process", [](int, int) { errno = EWOULDBLOCK; return -1; }, false},
    };
    for (const Case& c : cases) {
        SetFileLockCall(c.lock);
        const PuzzleFile file = OpenPuzzleFile(path);
        EXPECT_EQ(file != noPuzzleFile, c.opens) << c.fileSystem;
        if (file != noPuzzleFile) {
            PuzzleRecord record;
            EXPECT_EQ(ReadRandomPuzzle(file, record), 0) << c.fileSystem;
            ClosePuzzleFile(file);
        }
    }
    SetFileLockCall(nullptr);
    EXPECT_TRUE(Opens(path));
}

TEST(PuzzleFile, FileWithoutReadPermissionIsRefused)
{
    TempDir dir;
    const std::string path = dir.Write("private.vdb", FileOf(1, 1));
    ASSERT_EQ(chmod(path.c_str(), 0), 0);
    // Root reads everything, so the check runs in a child that gives up root first.
    const pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && setresuid(65534, 65534, 65534) != 0) _exit(3);
        _exit(Opens(path) ? 1 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(PuzzleFile, RandomDrawsAndCounts)
{
    TempDir dir;
    SeedRandom(42);
    PuzzleRecord record = NumberedRecord(200);
    const PuzzleRecord original = record;

    // A single record is always the one drawn.
    PuzzleFile file = OpenPuzzleFile(dir.Write("one.vdb", FileOf(1, 1)));
    for (int i = 0; i < 20; ++i) EXPECT_EQ(ReadRandomPuzzle(file, record), 0);
    ClosePuzzleFile(file);

    // Counts of 0 and below offer nothing; the record stays as it was.
    for (int32_t count : {0, -1, INT32_MIN}) {
        std::string bytes = FileOf(1, 2);
        SetCount(bytes, count);
        record = original;
        file = OpenPuzzleFile(dir.Write("none.vdb", bytes));
        ASSERT_NE(file, noPuzzleFile);
        EXPECT_EQ(PuzzleCount(file), count);
        EXPECT_EQ(ReadRandomPuzzle(file, record), -1);
        EXPECT_EQ(std::memcmp(&record, &original, 164), 0);
        ClosePuzzleFile(file);
    }

    // A 7-byte file whose byte 6 is 164 passes the header test; its count reads as 0.
    file = OpenPuzzleFile(dir.Write("seven.vdb", FileOf(1, 0).substr(0, 7)));
    ASSERT_NE(file, noPuzzleFile);
    EXPECT_EQ(PuzzleCount(file), 0);
    EXPECT_EQ(ReadRandomPuzzle(file, record), -1);
    ClosePuzzleFile(file);

    // Reserved bytes and bytes after the last record play no part.
    std::string bytes = FileOf(4, 5);
    for (int i = 12; i < 16; ++i) bytes[i] = static_cast<char>(0xA5);
    bytes += "trailing garbage";
    file = OpenPuzzleFile(dir.Write("five.vdb", bytes));
    std::set<int64_t> drawn;
    for (int i = 0; i < 200; ++i) {
        const int64_t index = ReadRandomPuzzle(file, record);
        ASSERT_GE(index, 0);
        ASSERT_LT(index, 5);
        EXPECT_EQ(record.givenCount, index + 1);
        drawn.insert(index);
    }
    EXPECT_EQ(drawn.size(), 5u);
    ClosePuzzleFile(file);
}

TEST(PuzzleFile, TruncatedFileLoadsOnlyCompleteRecords)
{
    TempDir dir;
    SeedRandom(7);
    // Five records counted, three whole ones present, the fourth cut short.
    std::string bytes = FileOf(2, 5).substr(0, 16 + 3 * 164 + 100);
    PuzzleFile file = OpenPuzzleFile(dir.Write("cut.vdb", bytes));
    ASSERT_NE(file, noPuzzleFile);
    PuzzleRecord record;
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(ReadPuzzle(file, i, record)) << i;
    EXPECT_FALSE(ReadPuzzle(file, 3, record));
    EXPECT_FALSE(ReadPuzzle(file, 4, record));

    const PuzzleRecord inPlay = NumberedRecord(77);
    int failures = 0, successes = 0;
    for (int i = 0; i < 300; ++i) {
        record = inPlay;
        const int64_t index = ReadRandomPuzzle(file, record);
        if (index < 0) {
            ++failures;
            EXPECT_EQ(std::memcmp(&record, &inPlay, 164), 0) << "a failed draw changed the record";
        } else {
            ++successes;
            EXPECT_LT(index, 3);
            EXPECT_EQ(record.givenCount, index + 1);
        }
    }
    EXPECT_GT(failures, 0);
    EXPECT_GT(successes, 0);
    ClosePuzzleFile(file);
}

}  // namespace
