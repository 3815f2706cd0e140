// Fuzz target over `check`: any bytes, offered as a puzzle file, are either accepted with
// an OK line or refused with a FAILED line that says why, and status 1. Nothing crashes,
// and a file that claims far more records than it holds is answered at once.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <sstream>
#include <string>

#include "generator/commands.h"
#include "grading/grid_geometry.h"

static void Require(bool condition)
{
    if (!condition) __builtin_trap();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool geometry = (BuildGridGeometry(), true);
    (void)geometry;
    const int fd = memfd_create("puzzles", MFD_CLOEXEC);
    if (fd < 0) return 0;
    if (size > 0 && write(fd, data, size) != static_cast<ssize_t>(size)) {
        close(fd);
        return 0;
    }
    const std::string path = "/proc/self/fd/" + std::to_string(fd);
    std::ostringstream out, err;
    const int status = RunCheck({path}, out, err);
    const std::string report = out.str() + err.str();
    Require(status == 0 || status == 1);
    if (status == 0) {
        Require(out.str().rfind(path + ": OK: level ", 0) == 0);
    } else {
        const size_t failed = report.find(path + ": FAILED: ");
        Require(failed != std::string::npos);
        Require(report.size() > failed + path.size() + 12);  // a reason follows
    }
    close(fd);
    return 0;
}
