#include "puzzles/puzzle_file_writer.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
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

namespace {

// The directory part of a path, with its trailing '/', or "./".
std::string DirectoryOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

// The writer's process id in a temporary file's name, or 0 when the name is not one of ours.
pid_t WriterOf(const std::string& name)
{
    if (name.rfind(temporaryFilePrefix, 0) != 0) return 0;
    const std::string rest = name.substr(std::strlen(temporaryFilePrefix));
    const size_t dash = rest.find('-');
    if (dash == 0 || dash == std::string::npos || rest.find_first_not_of("0123456789") != dash) return 0;
    return static_cast<pid_t>(std::strtol(rest.substr(0, dash).c_str(), nullptr, 10));
}

}  // namespace

int RemoveStaleTemporaryFiles(const std::string& directory)
{
    std::string folder = directory.empty() ? std::string(".") : directory;
    DIR* listing = ::opendir(folder.c_str());
    if (!listing) return 0;
    if (folder.back() != '/') folder += '/';
    int removed = 0;
    while (const dirent* entry = ::readdir(listing)) {
        const pid_t writer = WriterOf(entry->d_name);
        // Its writer is gone (killed, or the machine went down): nobody will finish it.
        if (writer > 0 && ::kill(writer, 0) != 0 && errno == ESRCH)
            removed += ::unlink((folder + entry->d_name).c_str()) == 0;
    }
    ::closedir(listing);
    return removed;
}

std::string WriteFileAtomically(const std::string& path, const std::string& bytes)
{
    // Named so that nothing mistakes it for a puzzle file, and with our process id, so that
    // a later run can tell a file left by a killed writer from one still being written.
    std::string pattern = DirectoryOf(path) + temporaryFilePrefix + std::to_string(::getpid()) + "-XXXXXX";
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
    const int dirFd = ::open(DirectoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return {};
}
