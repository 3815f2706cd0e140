#include "puzzles/puzzle_file_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

static void AppendLittleEndian(std::string& out, uint32_t value, int width)
{
    for (int i = 0; i < width; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::string EncodePuzzleFile(int level, const std::vector<PuzzleRecord>& records)
{
    std::string bytes;
    bytes.reserve(puzzleHeaderSize + records.size() * puzzleRecordSize);
    AppendLittleEndian(bytes, puzzleFileMagic, 4);
    AppendLittleEndian(bytes, puzzleFileVersion, 1);
    AppendLittleEndian(bytes, static_cast<uint32_t>(level), 1);
    AppendLittleEndian(bytes, puzzleRecordSize, 2);
    AppendLittleEndian(bytes, static_cast<uint32_t>(records.size()), 4);
    AppendLittleEndian(bytes, 0, 4);
    for (const PuzzleRecord& record : records)
        bytes.append(reinterpret_cast<const char*>(&record), puzzleRecordSize);
    return bytes;
}

std::string WriteFileAtomically(const std::string& path, const std::string& bytes)
{
    std::string pattern = path + ".tmp-XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) return "cannot create a temporary file beside " + path + ": " + std::strerror(errno);
    auto fail = [&](const char* what) {
        std::string message = std::string(what) + " " + pattern + ": " + std::strerror(errno);
        ::close(fd);
        ::unlink(pattern.c_str());
        return message;
    };
    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return fail("cannot write");
        written += static_cast<size_t>(n);
    }
    if (::fchmod(fd, 0644) != 0) return fail("cannot set the permissions of");
    if (::fsync(fd) != 0) return fail("cannot flush");
    if (::close(fd) != 0) {
        ::unlink(pattern.c_str());
        return "cannot close " + pattern + ": " + std::strerror(errno);
    }
    if (::rename(pattern.c_str(), path.c_str()) != 0) {
        std::string message = "cannot rename " + pattern + " to " + path + ": " + std::strerror(errno);
        ::unlink(pattern.c_str());
        return message;
    }
    // Make the rename itself durable.
    const std::string directory = path.find('/') == std::string::npos ? "." : path.substr(0, path.rfind('/') + 1);
    const int dirFd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return {};
}
