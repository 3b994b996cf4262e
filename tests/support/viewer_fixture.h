#pragma once
// Data files for viewer tests, written in the nuclide data-file format into a temporary
// data directory, and a driver that works the modal viewer step by step.

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <deque>
#include <fstream>
#include <functional>
#include <string>

#include "gui/results/results_viewer.h"

namespace fetaldose::gui::test {

// Counts of one exposure group's section.
struct SectionCounts {
    int vapours = 0;
    int types = 0;
    int ingestion = 0;
};

// Which table a record belongs to. line 0 is the in-utero line, 1 to 5 the post-natal lines.
struct FieldKey {
    int group = 1;     // 1 public, 2 worker
    char route = 'I';  // 'V' vapours, 'P' particulates, 'I' ingestion
    int entry = 1;     // vapour entry, absorption type or ingestion entry
    int size = 0;      // aerosol size 1..10 (particulates only)
    int scenario = 1;  // 1..11
    int line = 0;
    int row = 1;  // tissue row 1..18
};

using FieldText = std::function<std::string(const FieldKey&)>;

// In utero "e.sE-1g" and post-natal "p.0E-12": different on every table of one group.
inline std::string defaultField(const FieldKey& key) {
    char text[40];
    if (key.line == 0)
        std::snprintf(text, sizeof text, "%d.%dE-1%d", key.entry % 10, key.scenario % 10,
                      key.group);
    else
        std::snprintf(text, sizeof text, "%d.0E-12", key.line);
    return text;
}

// The text of a data file with the given section counts, CR LF line ends.
inline std::string dataFileText(SectionCounts publicCounts, SectionCounts workerCounts,
                                const FieldText& field = defaultField) {
    std::string out;
    auto line = [&out](const std::string& text) { out += text + "\r\n"; };
    auto record = [&](FieldKey key) {
        line("Bladder");
        line("(detail)");
        line("");
        for (key.line = 0; key.line <= 5; ++key.line) {
            std::string values;
            for (key.row = 1; key.row <= 18; ++key.row) {
                std::string text = field(key);
                text.resize(7, ' ');
                values += text + ' ';
            }
            line(values);
        }
    };
    for (int group = 1; group <= 2; ++group) {
        const SectionCounts& counts = group == 1 ? publicCounts : workerCounts;
        line(std::to_string(counts.vapours));
        line(std::to_string(counts.types));
        line(std::to_string(counts.ingestion));
        for (int k = 1; k <= counts.vapours; ++k) line("Vapour form " + std::to_string(k));
        for (int k = 1; k <= counts.types; ++k) {
            line(k == 1 ? "F" : k == 2 ? "M" : "S");
            line("0.0005");
        }
        for (int k = 1; k <= counts.ingestion; ++k) line("0.0" + std::to_string(k));
        for (int s = 1; s <= 11; ++s) {
            line("Scenario heading " + std::to_string(s));
            for (int k = 1; k <= counts.vapours; ++k) record({group, 'V', k, 0, s});
            for (int k = 1; k <= counts.types; ++k)
                for (int a = 1; a <= 10; ++a) record({group, 'P', k, a, s});
            for (int k = 1; k <= counts.ingestion; ++k) record({group, 'I', k, 0, s});
        }
    }
    return out;
}

inline void writeFile(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
}

// Works the viewer while its viewing loop runs: each time the viewer is the active modal
// window, the next step runs on it. When the steps run out, "Return to input" ends the loop,
// so a test always finishes. Counts the showings it saw.
class ViewerDriver {
  public:
    using Step = std::function<void(ResultsViewer&)>;

    explicit ViewerDriver(ResultsViewer& viewer) : viewer_(viewer) {
        timer_.setInterval(1);
        QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
    }

    ViewerDriver& then(Step step) {
        steps_.push_back(std::move(step));
        return *this;
    }

    // Runs `body` (which enters the viewing loop, or not) while the steps are worked.
    void run(const std::function<void()>& body) {
        timer_.start();
        body();
        timer_.stop();
    }

    bool opened() const { return opened_; }
    int stepsLeft() const { return static_cast<int>(steps_.size()); }

  private:
    void tick() {
        if (QApplication::activeModalWidget() != &viewer_ || !viewer_.isVisible()) return;
        opened_ = true;
        if (++ticks_ > 5000) steps_.clear();  // a loop that never ends is a failure, not a hang
        if (steps_.empty()) {
            viewer_.returnToInput();
            return;
        }
        Step step = std::move(steps_.front());
        steps_.pop_front();
        step(viewer_);
    }

    ResultsViewer& viewer_;
    QTimer timer_;
    std::deque<Step> steps_;
    bool opened_ = false;
    int ticks_ = 0;
};

}  // namespace fetaldose::gui::test
