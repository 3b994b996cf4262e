#pragma once
// The check that keeps every save from replacing a file the same run reads.

#include <string>
#include <vector>

namespace fetaldose {

// Throws OutputIsInput, naming both, when `output` is, after symbolic links are followed, the
// same file (device and inode) as one of `inputs`; nothing is written then. An output that
// does not exist yet, and inputs that do not exist, match nothing.
void refuseOutputOverInputs(const std::string& output, const std::vector<std::string>& inputs);

}  // namespace fetaldose
