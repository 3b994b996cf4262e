#pragma once
// The progress of a long run on standard error: nuclides and tables done, bytes written and
// the time left. On a terminal one line is rewritten in place; elsewhere (a log, asked for with
// --progress) a line is added at most once a second. Nothing is shown when it is off.

#include <chrono>
#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>

namespace fetaldose::batch {

class ProgressLine {
  public:
    enum class Show { Off, Terminal, Lines };
    ProgressLine(std::ostream& err, Show show) : err_(err), show_(show) {}
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;
    ~ProgressLine() { finish(); }

    // A new stage of the run ("Reading", "Writing"), of `nuclideCount` nuclides.
    void stage(std::string_view name, int nuclideCount);
    // How far the stage is; shown when the last showing is old enough.
    void update(int nuclidesDone, long long tablesDone, unsigned long long bytesWritten);
    // A step without counts ("Packing and checking the workbook"), shown at once.
    void say(std::string_view text);
    // Takes the line off a terminal, so that what follows starts on a clean line.
    void finish();

  private:
    void show(std::string_view text);

    std::ostream& err_;
    Show show_;
    std::string_view stage_;
    int nuclideCount_ = 0;
    std::chrono::steady_clock::time_point started_{};
    std::chrono::steady_clock::time_point shown_{};
    bool onTerminal_ = false;  // a line stands on the terminal
};

// What the line of a stage says: "Writing: 120 of 900 nuclides, 97 680 tables, 234.5 MB
// written, about 1 min 10 s left". Bytes are left out when none are counted, the time left
// until one nuclide is done.
std::string progressText(std::string_view stage, int nuclidesDone, int nuclideCount,
                         long long tablesDone, unsigned long long bytesWritten,
                         double secondsElapsed);

}  // namespace fetaldose::batch
