#include "batch/progress_line.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "batch/batch_texts.h"

namespace fetaldose::batch {

namespace {

// Digits in groups of three, as the program writes counts: "97 680".
std::string grouped(long long value) {
    std::string digits = std::to_string(value < 0 ? -value : value);
    for (auto at = static_cast<long long>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), 1, ' ');
    return value < 0 ? "-" + digits : digits;
}

std::string megabytes(unsigned long long bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / 1e6);
    return text;
}

std::string duration(double seconds) {
    const auto whole = static_cast<long long>(std::ceil(seconds));
    if (whole < 60) return std::to_string(whole) + " s";
    if (whole < 3600)
        return std::to_string(whole / 60) + " min " + std::to_string(whole % 60) + " s";
    return std::to_string(whole / 3600) + " h " + std::to_string(whole % 3600 / 60) + " min";
}

constexpr auto kTerminalInterval = std::chrono::milliseconds(200);
constexpr auto kLinesInterval = std::chrono::seconds(1);

}  // namespace

std::string progressText(std::string_view stage, int nuclidesDone, int nuclideCount,
                         long long tablesDone, unsigned long long bytesWritten,
                         double secondsElapsed) {
    std::string text(stage);
    text += ": " + grouped(nuclidesDone) + " of " + grouped(nuclideCount) +
            (nuclideCount == 1 ? " nuclide, " : " nuclides, ") + grouped(tablesDone) +
            (tablesDone == 1 ? " table" : " tables");
    if (bytesWritten > 0) text += ", " + megabytes(bytesWritten) + " written";
    if (nuclidesDone > 0 && nuclidesDone < nuclideCount)
        text += ", about " +
                duration(secondsElapsed * (nuclideCount - nuclidesDone) / nuclidesDone) + " left";
    return text;
}

void ProgressLine::stage(std::string_view name, int nuclideCount) {
    stage_ = name;
    nuclideCount_ = nuclideCount;
    started_ = std::chrono::steady_clock::now();
    shown_ = started_;
}

void ProgressLine::update(int nuclidesDone, long long tablesDone, unsigned long long bytesWritten) {
    if (show_ == Show::Off) return;
    const auto now = std::chrono::steady_clock::now();
    const bool last = nuclidesDone == nuclideCount_;
    if (!last && now - shown_ < (show_ == Show::Terminal ? kTerminalInterval : kLinesInterval))
        return;
    shown_ = now;
    show(progressText(stage_, nuclidesDone, nuclideCount_, tablesDone, bytesWritten,
                      std::chrono::duration<double>(now - started_).count()));
}

void ProgressLine::say(std::string_view text) {
    if (show_ != Show::Off) show(text);
}

void ProgressLine::show(std::string_view line) {
    const std::string text = std::string(kToolName) + ": " + std::string(line);
    if (show_ == Show::Terminal) {
        // Back to the start of the line, the text, and the rest of the old line cleared.
        err_ << '\r' << text << "\x1b[K" << std::flush;
        onTerminal_ = true;
    } else {
        err_ << text << '\n' << std::flush;
    }
}

void ProgressLine::finish() {
    if (!onTerminal_) return;
    err_ << "\r\x1b[K" << std::flush;
    onTerminal_ = false;
}

}  // namespace fetaldose::batch
