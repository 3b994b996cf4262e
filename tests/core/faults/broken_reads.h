#pragma once
// Breaks the reading of one file part-way through, as a failing medium would: from the second
// read of a descriptor open on that file, the descriptor stands for a directory instead, so the
// read fails with EISDIR. The reads of every other descriptor go straight to the system.
// Only one file is broken at a time; the tests using it are single-threaded.

#include <string>

namespace fetaldose::testing {

class BrokenReads {
  public:
    // `path` names the file; it must exist, as the reader will open it under its full name.
    explicit BrokenReads(const std::string& path);
    ~BrokenReads();
    BrokenReads(const BrokenReads&) = delete;
    BrokenReads& operator=(const BrokenReads&) = delete;

    // Whether a read was broken: false when the reader took the whole file in one read.
    bool broke() const;
};

}  // namespace fetaldose::testing
