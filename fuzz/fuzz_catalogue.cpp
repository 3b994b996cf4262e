// Fuzzes the catalogue loader on arbitrary nuclides.txt contents.

#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/refdata/catalogue.h"
#include "fuzz_support.h"

namespace {

// Changes no file. Fz-1.dat counts as exactly read-only, so a catalogue that starts with
// Fz-1 skips the first-run pass and any other runs it.
class InertAttributes final : public fetaldose::FileAttributes {
  public:
    bool isExactlyReadOnly(const std::string& path) override { return path.ends_with("/Fz-1.dat"); }
    void makeExactlyReadOnly(const std::string&) override {}
};

// Data files found by their exact name (Fz-1) and without regard to case (fz-2); a directory
// named like a data file (Fz-3) does not count. The empty name's data file is there too, so
// the entries read past the end of a short catalogue are found at once, without a search of
// the directory each: that keeps a count near the capacity fast.
const std::string& dataDirectoryWithDataFiles() {
    static const std::string directory = [] {
        const std::string made = fetaldose::fuzz::dataDirectory();
        const std::uint8_t none = 0;
        fetaldose::fuzz::writeFile(made + "Fz-1.dat", &none, 0);
        fetaldose::fuzz::writeFile(made + "Fz-2.DAT", &none, 0);
        fetaldose::fuzz::writeFile(made + ".dat", &none, 0);
        ::mkdir((made + "Fz-3.dat").c_str(), 0755);
        return made;
    }();
    return directory;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace fetaldose;
    const std::string& directory = dataDirectoryWithDataFiles();
    fuzz::writeFile(directory + "nuclides.txt", data, size);
    InertAttributes attributes;
    std::size_t messages = 0;
    const CatalogueLoad load =
        loadCatalogue(directory, attributes, [&](const std::string&) { ++messages; });
    if (load.entries.size() > static_cast<std::size_t>(kCatalogueCapacity)) __builtin_trap();
    // At most the attribute-pass notice: the catalogue itself is always there.
    if (messages > 1) __builtin_trap();
    return 0;
}
