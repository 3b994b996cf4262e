// No save may replace a file the same run reads, whatever name leads to it.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <string>
#include <vector>

#include "core/textio/faults.h"
#include "core/textio/output_guard.h"
#include "scratch_directory.h"

namespace fetaldose {
namespace {

using testing::ScratchDirectory;
using testing::writeBytes;

std::string refusal(const std::string& output, const std::vector<std::string>& inputs) {
    try {
        refuseOutputOverInputs(output, inputs);
    } catch (const OutputIsInput& fault) {
        return fault.what();
    }
    return "";
}

TEST(OutputGuard, AnOutputThatIsAnInputByAnyNameIsRefusedNamingBoth) {
    ScratchDirectory dir;
    writeBytes(dir.file("nuclides.txt"), "1\r\n");
    writeBytes(dir.file("Pu-239.dat"), "0\r\n");
    writeBytes(dir.file("other.dos"), "x\r\n");
    ASSERT_EQ(::symlink("nuclides.txt", dir.file("link").c_str()), 0);
    ASSERT_EQ(::symlink("link", dir.file("link to link").c_str()), 0);
    ASSERT_EQ(::link(dir.file("Pu-239.dat").c_str(), dir.file("hard").c_str()), 0);
    const std::vector<std::string> inputs = {dir.file("nuclides.txt"), dir.file("Pu-239.dat"),
                                             dir.file("missing.dat")};
    const std::string tail = ", which is read as input";

    EXPECT_EQ(refusal(dir.file("nuclides.txt"), inputs),
              dir.file("nuclides.txt") + ": not written, as it is the same file as " +
                  dir.file("nuclides.txt") + tail);
    EXPECT_EQ(refusal(dir.file("link to link"), inputs),
              dir.file("link to link") + ": not written, as it is the same file as " +
                  dir.file("nuclides.txt") + tail);
    EXPECT_EQ(refusal(dir.file("hard"), inputs), dir.file("hard") +
                                                     ": not written, as it is the same file as " +
                                                     dir.file("Pu-239.dat") + tail);
    ASSERT_EQ(::mkdir(dir.file("sub").c_str(), 0755), 0);
    EXPECT_NE(refusal(dir.slash() + "./sub/../Pu-239.dat", inputs), "");

    // Other files, files not there yet and a link to nowhere are no inputs.
    EXPECT_EQ(refusal(dir.file("other.dos"), inputs), "");
    EXPECT_EQ(refusal(dir.file("new.dos"), inputs), "");
    EXPECT_EQ(refusal(dir.file("missing.dat"), inputs), "");
    ASSERT_EQ(::symlink("missing.dat", dir.file("dangling").c_str()), 0);
    EXPECT_EQ(refusal(dir.file("dangling"), inputs), "");
    EXPECT_EQ(refusal(dir.file("nuclides.txt"), {}), "");
}

}  // namespace
}  // namespace fetaldose
