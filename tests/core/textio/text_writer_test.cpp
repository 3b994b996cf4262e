// Saving a file the user named: CR LF lines, and the old file kept whole whatever fails.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/textio/faults.h"
#include "core/textio/text_writer.h"
#include "scratch_directory.h"

namespace fetaldose {
namespace {

using testing::permissionBits;
using testing::readBytes;
using testing::ScratchDirectory;
using testing::writeBytes;

int entriesIn(const ScratchDirectory& dir) {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.file("")))
        ++count;
    return count;
}

int saveFailureCode(const std::string& path, const std::function<void(TextWriter&)>& content) {
    try {
        saveTextFile(path, content);
    } catch (const IoError& error) {
        return error.code();
    }
    return 0;
}

void twoLines(TextWriter& out) {
    out.writeLine("first");
    out.write("sec");
    out.write("ond\x1a\xff");
    out.endLine();
}

TEST(SaveTextFile, WritesCrLfLinesAndReplacesAnExistingFileKeepingItsPermissions) {
    ScratchDirectory dir;
    const std::string path = dir.file("out.dos");
    saveTextFile(path, twoLines);
    EXPECT_EQ(readBytes(path), "first\r\nsecond\x1a\xff\r\n");

    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    saveTextFile(path, [](TextWriter& out) { out.writeLine(""); });
    EXPECT_EQ(readBytes(path), "\r\n");
    EXPECT_EQ(permissionBits(path), 0640u);

    // A read-only file is refused and kept, whoever saves.
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    try {
        saveTextFile(path, twoLines);
        ADD_FAILURE() << "a read-only file was replaced";
    } catch (const IoError& e) {
        EXPECT_STREQ(e.what(), "File access denied");
    }
    EXPECT_EQ(readBytes(path), "\r\n");
    EXPECT_EQ(permissionBits(path), 0444u);
    EXPECT_EQ(entriesIn(dir), 1);  // nothing left beside it
}

TEST(SaveTextFile, FailureMidwayLeavesTheOldFileOrItsAbsenceAlone) {
    ScratchDirectory dir;
    const std::string path = dir.file("out.opt");
    auto failsAfterMuchOutput = [](TextWriter& out) {
        for (int i = 0; i < 50000; ++i) out.writeLine("a line long enough to be flushed");
        throw IoError(IoError::kDiskFull);
    };

    EXPECT_EQ(saveFailureCode(path, failsAfterMuchOutput), IoError::kDiskFull);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(entriesIn(dir), 0);

    writeBytes(path, "old content\r\n");
    EXPECT_THROW(saveTextFile(path,
                              [](TextWriter& out) {
                                  out.writeLine("half");
                                  throw std::runtime_error("interrupted");
                              }),
                 std::runtime_error);
    EXPECT_EQ(readBytes(path), "old content\r\n");
    EXPECT_EQ(entriesIn(dir), 1);
}

TEST(SaveTextFile, ASaveCutOffLeavesNoHiddenFileForLong) {
    ScratchDirectory dir;
    const std::string path = dir.file("out.dos");
    writeBytes(path, "old content\r\n");

    // A save killed part-way leaves the old file and nothing beside it.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        try {
            saveTextFile(path, [](TextWriter& out) {
                for (int i = 0; i < 50000; ++i) out.writeLine("a line long enough to be flushed");
                out.flush();
                ::raise(SIGKILL);
            });
        } catch (...) {
        }
        ::_exit(1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(readBytes(path), "old content\r\n");
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"out.dos"});

    // Hidden files of this name's pattern that no save holds are removed by the next save of
    // the name; one a running save holds, and every other name, stay.
    for (const char* name : {".out.dos.Ab12Cd", ".out.dos.Held99", ".out.dos.long123",
                             ".other.dos.Zz99Yy", "out.dos.Ab12Cd"})
        writeBytes(dir.file(name), "partial");
    const int held = ::open(dir.file(".out.dos.Held99").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    saveTextFile(path, twoLines);
    ::close(held);
    EXPECT_EQ(readBytes(path), "first\r\nsecond\x1a\xff\r\n");
    EXPECT_EQ(dir.entries(),
              (std::vector<std::string>{".other.dos.Zz99Yy", ".out.dos.Held99", ".out.dos.long123",
                                        "out.dos", "out.dos.Ab12Cd"}));
}

TEST(SaveTextFile, DeviceIsWrittenInPlaceAndAFullOneReportsDiskFull) {
    EXPECT_EQ(saveFailureCode("/dev/full", twoLines), IoError::kDiskFull);
    struct stat st {};
    ASSERT_EQ(::stat("/dev/full", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));  // still the device, not a file put in its place
    EXPECT_NO_THROW(saveTextFile("/dev/null", twoLines));
}

TEST(SaveTextFile, SymbolicLinkKeepsPointingAtItsTargetWhichIsReplaced) {
    ScratchDirectory dir;
    writeBytes(dir.file("target.dos"), "old\r\n");
    ASSERT_EQ(::symlink("target.dos", dir.file("link.dos").c_str()), 0);
    saveTextFile(dir.file("link.dos"), twoLines);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.dos")));
    EXPECT_EQ(readBytes(dir.file("target.dos")), "first\r\nsecond\x1a\xff\r\n");

    // A dangling link creates the file it names.
    ASSERT_EQ(::symlink("made.dos", dir.file("dangling.dos").c_str()), 0);
    saveTextFile(dir.file("dangling.dos"), twoLines);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("dangling.dos")));
    EXPECT_EQ(readBytes(dir.file("made.dos")), "first\r\nsecond\x1a\xff\r\n");
}

TEST(SaveTextFile, UnwritablePlacesAreRefusedWithTheirMessages) {
    ScratchDirectory dir;
    ASSERT_TRUE(std::filesystem::create_directory(dir.file("folder")));
    EXPECT_EQ(saveFailureCode(dir.file("folder"), twoLines), IoError::kAccessDenied);
    EXPECT_EQ(saveFailureCode(dir.file("no-such-dir/out.dos"), twoLines),
              IoError::kInvalidFilename);
    EXPECT_EQ(saveFailureCode("", twoLines), IoError::kInvalidFilename);
    EXPECT_NE(saveFailureCode("/proc/self/new-file.dos", twoLines), 0);
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("folder")));

    for (const char* typed : {"", "*.dos", "out?.opt"})
        EXPECT_THROW(requireValidTypedFileName(typed), IoError) << typed;
    EXPECT_NO_THROW(requireValidTypedFileName("results.dos"));
}

}  // namespace
}  // namespace fetaldose
