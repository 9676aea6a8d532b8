#include "qrProgressBar.h"

#include <algorithm>
#include <cmath>

namespace Quarn::Cli {

namespace {

std::string clock(double seconds)
{
    const long s = std::lround(std::max(0.0, seconds));
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", s / 3600, s / 60 % 60, s % 60);
    return text;
}

}  // namespace

ProgressBar::ProgressBar(std::FILE* out, long total, bool enabled)
    : out_(out), total_(total), enabled_(enabled), start_(std::chrono::steady_clock::now())
{
    update(0);
}

ProgressBar::~ProgressBar()
{
    finish();
}

std::string ProgressBar::line(long done, long total, double elapsed, int width)
{
    const double fraction = total > 0 ? std::clamp(double(done) / total, 0.0, 1.0) : 1.0;
    const int filled = static_cast<int>(fraction * width);
    // Appended piece by piece: GCC 12 warns (-Wrestrict, wrongly) on
    // "[" + std::string once this is inlined.
    std::string bar(1, '[');
    bar.append(std::size_t(filled), '#');
    bar.append(std::size_t(width - filled), '.');
    bar += ']';
    char text[96];
    std::snprintf(text, sizeof text, " %ld/%ld frames", done, total);
    bar += text;
    // The estimate assumes the remaining frames take as long as the done ones.
    if (done > 0 && done < total)
        bar += "  ETA " + clock(elapsed / done * (total - done));
    else if (done >= total)
        bar += "  in " + clock(elapsed);
    return bar;
}

void ProgressBar::update(long done)
{
    if (!enabled_)
        return;
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    std::fprintf(out_, "\r%s\033[K", line(done, total_, elapsed, 30).c_str());
    std::fflush(out_);
    drawn_ = true;
}

void ProgressBar::finish()
{
    if (drawn_)
        std::fputc('\n', out_);
    drawn_ = false;
}

}  // namespace Quarn::Cli
