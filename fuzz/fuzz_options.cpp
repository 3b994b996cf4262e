// Fuzzes the options loader on arbitrary file contents.

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/options/options_file.h"
#include "core/textio/faults.h"
#include "fuzz_support.h"

namespace {

class CountingSink final : public fetaldose::ControlsSink {
public:
    void ClearChosen() override { chosen = 0; }
    void AppendChosen(const std::string&, const std::string&) override { ++chosen; }
    void SetBox(fetaldose::SelectionBox, bool) override {}
    void SetItem(fetaldose::SelectionList list, int index, bool) override {
        static constexpr int kItems[] = {10, 8, 3, 17, 5};
        if (index < 0 || index >= kItems[static_cast<int>(list)]) __builtin_trap();
    }
    // Short names have a data file, so both outcomes of the nuclide check are reached.
    bool DataFileExists(std::string_view name) override { return !name.empty() && name.size() < 8; }
    long chosen = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace fetaldose;
    const std::string path = fuzz::ScratchDirectory() + "/fuzz.opt";
    fuzz::WriteFile(path, data, size);
    CountingSink sink;
    try {
        LoadOptionsFile(path, sink);
    } catch (const Fault&) {
        // "Invalid numeric input" on a count line that is not a number.
    }
    return 0;
}
