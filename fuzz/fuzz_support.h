// What the fuzz targets share: a failed expectation stops the run, and bytes become a file.
#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <string>

inline void Require(bool condition)
{
    if (!condition) __builtin_trap();
}

// The bytes as a file in memory, with a path the file layer can open; closes on destruction.
class MemoryFile {
public:
    MemoryFile(const uint8_t* data, size_t size) : fd_(memfd_create("fuzz-input", MFD_CLOEXEC))
    {
        if (fd_ >= 0 && size > 0 && write(fd_, data, size) != static_cast<ssize_t>(size)) {
            close(fd_);
            fd_ = -1;
        }
    }
    ~MemoryFile()
    {
        if (fd_ >= 0) close(fd_);
    }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    bool ok() const { return fd_ >= 0; }
    std::string path() const { return "/proc/self/fd/" + std::to_string(fd_); }

private:
    int fd_;
};
