#pragma once
// Shared by the fuzz targets: a private scratch directory with a data/ folder, into which
// each input is written as a file, so the loaders run exactly as they do on real files.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

namespace fetaldose::fuzz {

inline const std::string& ScratchDirectory() {
    static const std::string directory = [] {
        char pattern[] = "/tmp/fetaldose-fuzz-XXXXXX";
        const char* made = ::mkdtemp(pattern);
        if (!made) std::abort();
        const std::string root = made;
        if (std::system(("mkdir -p '" + root + "/data'").c_str()) != 0) std::abort();
        return root;
    }();
    return directory;
}

inline std::string DataDirectory() { return ScratchDirectory() + "/data/"; }

inline void WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out) std::abort();
}

}  // namespace fetaldose::fuzz
