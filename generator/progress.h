// A progress bar on stderr, drawn only when stderr is a terminal.
#pragma once

#include <chrono>
#include <string>

class ProgressBar {
public:
    ProgressBar(std::string label, int target, bool enabled);
    // Redraws at most ten times a second, and always when done reaches the target.
    void Update(int done);
    // Ends the bar's line.
    void Finish();

private:
    std::string label_;
    int target_;
    bool enabled_;
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point lastDraw_;
};
