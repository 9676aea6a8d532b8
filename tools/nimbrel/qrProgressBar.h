// A one-line progress bar with the frames done and an estimate of the time
// left, redrawn in place on a terminal. Silent when disabled.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>

namespace Quarn::Cli {

class ProgressBar {
public:
    ProgressBar(std::FILE* out, long total, bool enabled);
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    // Records that `done` of the frames are finished and redraws.
    void update(long done);
    // Ends the line so that later messages start on their own.
    void finish();

    // The line drawn for `done` of `total` frames after `elapsed` seconds.
    static std::string line(long done, long total, double elapsed, int width);

private:
    std::FILE* out_;
    long total_;
    bool enabled_;
    bool drawn_ = false;
    std::chrono::steady_clock::time_point start_;
};

}  // namespace Quarn::Cli
