// Fuzzes the catalogue loader on arbitrary nuclides.txt contents.

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/refdata/catalogue.h"
#include "fuzz_support.h"

namespace {

// Records nothing and changes no file: the attribute pass must not touch the scratch files.
class InertAttributes final : public fetaldose::FileAttributes {
public:
    bool IsExactlyReadOnly(const std::string&) override { return false; }
    void MakeExactlyReadOnly(const std::string&) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace fetaldose;
    const std::string directory = fuzz::DataDirectory();
    fuzz::WriteFile(directory + "nuclides.txt", data, size);
    InertAttributes attributes;
    std::size_t messages = 0;
    const CatalogueLoad load =
        LoadCatalogue(directory, attributes, [&](const std::string&) { ++messages; });
    if (load.Entries.size() > static_cast<std::size_t>(kCatalogueCapacity)) __builtin_trap();
    return 0;
}
