#pragma once
// Shared by the fuzz targets: a private scratch directory with a data/ folder, into which
// each input is written as a file, so the loaders run exactly as they do on real files.

#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fetaldose::fuzz {

inline std::string& scratchRoot() {
    static std::string root;
    return root;
}

// Made on first use in a memory file system where there is one (an input is written per
// execution), removed when the fuzzer exits normally.
inline const std::string& fuzzScratchDirectory() {
    static const std::string directory = [] {
        const char* tmpdir = std::getenv("TMPDIR");
        std::string pattern = tmpdir && *tmpdir                 ? tmpdir
                              : ::access("/dev/shm", W_OK) == 0 ? "/dev/shm"
                                                                : "/tmp";
        pattern += "/fetaldose-fuzz-XXXXXX";
        const char* made = ::mkdtemp(pattern.data());
        if (!made || ::mkdir((std::string(made) + "/data").c_str(), 0755) != 0) std::abort();
        scratchRoot() = made;
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(scratchRoot(), ignored);
        });
        return std::string(made);
    }();
    return directory;
}

inline std::string dataDirectory() {
    return fuzzScratchDirectory() + "/data/";
}

inline void writeFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out) std::abort();
}

}  // namespace fetaldose::fuzz
