// A temporary directory for one test, removed with everything in it afterwards.
#pragma once

#include <filesystem>
#include <string>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // path() + "/" + name
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }
    // Writes `bytes` to the named file and gives its path.
    std::string Write(const std::string& name, const std::string& bytes) const;

private:
    std::string path_;
};
