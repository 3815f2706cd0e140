#include "generator/progress.h"

#include <cstdio>

ProgressBar::ProgressBar(std::string label, int target, bool enabled)
    : label_(std::move(label)), target_(target), enabled_(enabled), start_(std::chrono::steady_clock::now()),
      lastDraw_(start_ - std::chrono::seconds(1))
{
    Update(0);
}

void ProgressBar::Update(int done)
{
    if (!enabled_) return;
    const auto now = std::chrono::steady_clock::now();
    if (done < target_ && now - lastDraw_ < std::chrono::milliseconds(100)) return;
    lastDraw_ = now;
    const double seconds = std::chrono::duration<double>(now - start_).count();
    const double rate = seconds > 0 ? done / seconds : 0;
    constexpr int width = 30;
    const int filled = target_ > 0 ? width * done / target_ : width;
    std::string bar(static_cast<size_t>(filled), '#');
    bar.resize(width, '-');
    char eta[32] = "--";
    if (rate > 0 && done < target_) std::snprintf(eta, sizeof eta, "%.0fs", (target_ - done) / rate);
    else if (done >= target_) std::snprintf(eta, sizeof eta, "done in %.1fs", seconds);
    std::fprintf(stderr, "\r%-8s [%s] %d/%d  %.0f/s  %s   ", label_.c_str(), bar.c_str(), done, target_, rate, eta);
    std::fflush(stderr);
}

void ProgressBar::Finish()
{
    if (!enabled_) return;
    std::fputc('\n', stderr);
}
