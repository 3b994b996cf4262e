#include "core/textio/output_guard.h"

#include <sys/stat.h>

#include "core/textio/faults.h"

namespace fetaldose {

void refuseOutputOverInputs(const std::string& output, const std::vector<std::string>& inputs) {
    struct stat out {};
    if (output.empty() || ::stat(output.c_str(), &out) != 0) return;
    for (const std::string& input : inputs) {
        struct stat in {};
        if (::stat(input.c_str(), &in) == 0 && in.st_dev == out.st_dev && in.st_ino == out.st_ino)
            throw OutputIsInput(output, input);
    }
}

}  // namespace fetaldose
