#pragma once
// Helpers for the run, options and results tests: a scratch directory and file bytes; the
// data-file builder is shared with the benchmarks.

#include <gtest/gtest.h>

#include "data_file_builder.h"
#include "scratch_directory.h"

#include <initializer_list>
#include <string>
#include <string_view>

namespace fetaldose::testing {

using TempDir = ScratchDirectory;

// Joins lines with CR LF after each.
inline std::string crLfLines(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (auto line : lines) text.append(line).append("\r\n");
    return text;
}

}  // namespace fetaldose::testing
