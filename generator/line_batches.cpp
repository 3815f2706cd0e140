#include "generator/line_batches.h"

#include <algorithm>
#include <atomic>
#include <istream>
#include <ostream>
#include <thread>
#include <vector>

int DefaultJobs() { return static_cast<int>(std::max(1u, std::thread::hardware_concurrency())); }

int RunOverLines(std::istream& in, std::ostream& out, std::ostream& err, int jobs, const LineWork& work)
{
    constexpr size_t batchSize = 4096;
    // Below this many lines a batch runs on the calling thread: starting threads would cost more.
    constexpr size_t linesPerThread = 64;
    int status = 0;
    long number = 0;
    std::vector<std::string> lines;
    std::vector<LineResult> results;
    for (std::string line; std::getline(in, line);) {
        // The first line of a batch may wait for input; the others are taken only while
        // they are already read in.
        lines.clear();
        lines.push_back(std::move(line));
        while (lines.size() < batchSize && in.rdbuf()->in_avail() > 0 && std::getline(in, line))
            lines.push_back(std::move(line));

        results.assign(lines.size(), {});
        const long first = number + 1;
        std::atomic<size_t> next{0};
        auto run = [&] {
            for (size_t i; (i = next.fetch_add(1)) < lines.size();) results[i] = work(lines[i], first + static_cast<long>(i));
        };
        const size_t threads = std::clamp<size_t>(lines.size() / linesPerThread, 1, static_cast<size_t>(std::max(1, jobs)));
        std::vector<std::thread> helpers;
        for (size_t t = 1; t < threads; ++t) helpers.emplace_back(run);
        run();
        for (std::thread& helper : helpers) helper.join();
        number += static_cast<long>(lines.size());

        for (const LineResult& result : results) {
            if (!result.err.empty()) {
                out.flush();  // on a terminal both streams show: keep them in order
                err << result.err << std::flush;
            }
            out << result.out;
            status |= result.failed;
        }
        out.flush();
    }
    return status;
}
