#include "platform/files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

namespace {
FileLockCall lockCall = ::flock;

// Takes the lock that keeps other openers out. False only when another process holds the
// file: a file system that cannot lock (no locking at all, or NFS, where an exclusive lock
// needs write access) still lets the file be read, unlocked.
bool LockAgainstOthers(int fd)
{
    if (lockCall(fd, LOCK_EX | LOCK_NB) == 0) return true;
    if (errno == EWOULDBLOCK) return false;
    if (errno == EBADF) {
        // A read-only descriptor on NFS: a shared lock still tells whether someone holds it.
        if (lockCall(fd, LOCK_SH | LOCK_NB) == 0) return true;
        if (errno == EWOULDBLOCK) return false;
    }
    return true;
}
}  // namespace

void SetFileLockCall(FileLockCall call) { lockCall = call ? call : ::flock; }

FileHandle OpenFileExclusive(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return noFile;
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || !LockAgainstOthers(fd)) {
        ::close(fd);
        return noFile;
    }
    return fd;
}

void CloseFile(FileHandle file)
{
    if (file != noFile) ::close(file);  // closing the last descriptor drops the lock
}

bool SeekFile(FileHandle file, int64_t offset)
{
    return offset >= 0 && ::lseek(file, static_cast<off_t>(offset), SEEK_SET) == offset;
}

int64_t ReadBlock(FileHandle file, void* buffer, int64_t size)
{
    int64_t total = 0;
    auto* bytes = static_cast<unsigned char*>(buffer);
    while (total < size) {
        const ssize_t n = ::read(file, bytes + total, static_cast<size_t>(size - total));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        total += n;
    }
    return total;
}

uint32_t ReadLittleEndian(FileHandle file, int width)
{
    unsigned char bytes[4] = {};
    if (width < 1 || width > 4) return 0;
    ReadBlock(file, bytes, width);
    uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i) value = (value << 8) | bytes[i];
    return value;
}

int64_t FileSizeAt(const std::string& path)
{
    struct stat info;
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return -1;
    return static_cast<int64_t>(info.st_size);
}

std::string ExecutablePath()
{
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer);
    if (n <= 0 || n >= static_cast<ssize_t>(sizeof buffer)) return {};
    return std::string(buffer, static_cast<size_t>(n));
}
