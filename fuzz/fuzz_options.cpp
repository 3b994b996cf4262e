// Fuzzes the options loader on arbitrary file contents, with and without a trace of its
// lines: both loads must make the same calls, in the same order.

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/options/options_file.h"
#include "core/textio/faults.h"
#include "fuzz_support.h"

namespace {

class CountingSink final : public fetaldose::ControlsSink {
  public:
    void clearChosen() override {
        chosen = 0;
        calls += 'c';
    }
    void appendChosen(const std::string& name, const std::string& halfLife) override {
        ++chosen;
        calls += 'a' + name + '\0' + halfLife + '\0';
    }
    void setBox(fetaldose::SelectionBox box, bool checked) override {
        calls += {'b', static_cast<char>(box), static_cast<char>(checked)};
    }
    void setItem(fetaldose::SelectionList list, int index, bool checked) override {
        static constexpr int kItems[] = {10, 8, 3, 17, 5};
        if (index < 0 || index >= kItems[static_cast<int>(list)]) __builtin_trap();
        calls +=
            {'i', static_cast<char>(list), static_cast<char>(index), static_cast<char>(checked)};
    }
    // Short names have a data file, so both outcomes of the nuclide check are reached.
    bool dataFileExists(std::string_view name) override { return !name.empty() && name.size() < 8; }
    long chosen = 0;
    std::string calls;
};

// The outcome of a load, as calls and how it ended.
std::string load(const std::string& path, fetaldose::OptionsLoadTrace* trace) {
    CountingSink sink;
    try {
        sink.calls += static_cast<char>(fetaldose::loadOptionsFile(path, sink, trace));
    } catch (const fetaldose::Fault& fault) {
        // "Invalid numeric input" on a count line that is not a number.
        sink.calls += fault.what();
    }
    return sink.calls;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace fetaldose;
    const std::string path = fuzz::fuzzScratchDirectory() + "/fuzz.opt";
    fuzz::writeFile(path, data, size);
    OptionsLoadTrace trace;
    if (load(path, nullptr) != load(path, &trace)) __builtin_trap();
    if (trace.last.number < 1) __builtin_trap();
    return 0;
}
