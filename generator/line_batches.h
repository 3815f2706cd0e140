// Runs a command over the lines of its input on several threads, and prints what each line
// gave in input order, as if one thread had done it all.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>

// What one input line gives: text for standard output and for standard error (each may be
// empty), and whether the line failed (the command then ends with status 1).
struct LineResult {
    std::string out;
    std::string err;
    bool failed = false;
};

// Called with each line (its newline removed) and its number, from 1, on any thread.
using LineWork = std::function<LineResult(const std::string& line, long number)>;

// Reads `in` to its end in batches: the lines already there, up to a few thousand, go to
// `jobs` threads at once; their results are written in order and `out` is flushed before
// the next read waits, so that a line typed at a terminal is answered at once. Returns 1
// when a line failed, else 0.
int RunOverLines(std::istream& in, std::ostream& out, std::ostream& err, int jobs, const LineWork& work);

// One thread per processor.
int DefaultJobs();
