// Files, as the puzzle reader needs them. POSIX underneath; no Qt.
#pragma once

#include <cstdint>
#include <string>

// An open file; noFile when there is none.
using FileHandle = int;
constexpr FileHandle noFile = -1;

// Opens an existing regular file read-only and without sharing: an exclusive, non-blocking
// lock is taken on it, so a file another process holds locked is refused, and while it is
// open here other lockers are refused. Directories and other non-regular files are refused.
// On a file system that cannot lock (NFS with a read-only descriptor takes a shared lock
// instead) the file opens without the lock.
FileHandle OpenFileExclusive(const std::string& path);

// The lock call OpenFileExclusive makes, flock(2) unless replaced; nullptr restores it.
// A seam for tests, which stand in for file systems that lock differently.
using FileLockCall = int (*)(int fd, int operation);
void SetFileLockCall(FileLockCall call);

// Closes the file and releases its lock. noFile is ignored.
void CloseFile(FileHandle file);

// Positions the file at an absolute offset from its start. False when that fails.
bool SeekFile(FileHandle file, int64_t offset);

// Reads up to `size` bytes at the current position; returns how many arrived (0 at the end
// of the file or on an error).
int64_t ReadBlock(FileHandle file, void* buffer, int64_t size);

// Reads an unsigned little-endian integer of 1, 2 or 4 bytes. Bytes missing at the end of
// the file count as zero high-order bytes; nothing read at all gives 0.
uint32_t ReadLittleEndian(FileHandle file, int width);

// The size of the regular file at the path, or -1 when there is none (missing, a directory,
// not accessible).
int64_t FileSizeAt(const std::string& path);

// The full path of the program's own executable file; empty when it cannot be told.
std::string ExecutablePath();
