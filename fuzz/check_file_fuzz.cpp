// Fuzz target over `check`: any bytes, offered as a puzzle file, are either accepted with
// an OK line or refused with a FAILED line that says why, and status 1. Nothing crashes,
// and a file that claims far more records than it holds is answered at once.
#include <cstdint>
#include <sstream>
#include <string>

#include "fuzz/fuzz_support.h"
#include "generator/commands.h"
#include "grading/grid_geometry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool geometry = (BuildGridGeometry(), true);
    (void)geometry;
    const MemoryFile file(data, size);
    if (!file.ok()) return 0;
    const std::string path = file.path();
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
    return 0;
}
