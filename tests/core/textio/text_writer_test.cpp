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

using testing::PermissionBits;
using testing::ReadBytes;
using testing::ScratchDirectory;
using testing::WriteBytes;

int EntriesIn(const ScratchDirectory& dir) {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.File("")))
        ++count;
    return count;
}

int SaveFailureCode(const std::string& path, const std::function<void(TextWriter&)>& content) {
    try {
        saveTextFile(path, content);
    } catch (const IoError& error) {
        return error.code();
    }
    return 0;
}

void TwoLines(TextWriter& out) {
    out.writeLine("first");
    out.write("sec");
    out.write("ond\x1a\xff");
    out.endLine();
}

TEST(SaveTextFile, WritesCrLfLinesAndReplacesAnExistingFileKeepingItsPermissions) {
    ScratchDirectory dir;
    const std::string path = dir.File("out.dos");
    saveTextFile(path, TwoLines);
    EXPECT_EQ(ReadBytes(path), "first\r\nsecond\x1a\xff\r\n");

    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    saveTextFile(path, [](TextWriter& out) { out.writeLine(""); });
    EXPECT_EQ(ReadBytes(path), "\r\n");
    EXPECT_EQ(PermissionBits(path), 0640u);

    // A read-only file is refused and kept, whoever saves.
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    try {
        saveTextFile(path, TwoLines);
        ADD_FAILURE() << "a read-only file was replaced";
    } catch (const IoError& e) {
        EXPECT_STREQ(e.what(), "File access denied");
    }
    EXPECT_EQ(ReadBytes(path), "\r\n");
    EXPECT_EQ(PermissionBits(path), 0444u);
    EXPECT_EQ(EntriesIn(dir), 1);  // nothing left beside it
}

TEST(SaveTextFile, FailureMidwayLeavesTheOldFileOrItsAbsenceAlone) {
    ScratchDirectory dir;
    const std::string path = dir.File("out.opt");
    auto failsAfterMuchOutput = [](TextWriter& out) {
        for (int i = 0; i < 50000; ++i) out.writeLine("a line long enough to be flushed");
        throw IoError(IoError::kDiskFull);
    };

    EXPECT_EQ(SaveFailureCode(path, failsAfterMuchOutput), IoError::kDiskFull);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(EntriesIn(dir), 0);

    WriteBytes(path, "old content\r\n");
    EXPECT_THROW(saveTextFile(path,
                              [](TextWriter& out) {
                                  out.writeLine("half");
                                  throw std::runtime_error("interrupted");
                              }),
                 std::runtime_error);
    EXPECT_EQ(ReadBytes(path), "old content\r\n");
    EXPECT_EQ(EntriesIn(dir), 1);
}

TEST(SaveTextFile, ASaveCutOffLeavesNoHiddenFileForLong) {
    ScratchDirectory dir;
    const std::string path = dir.File("out.dos");
    WriteBytes(path, "old content\r\n");

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
    EXPECT_EQ(ReadBytes(path), "old content\r\n");
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"out.dos"});

    // Hidden files of this name's pattern that no save holds are removed by the next save of
    // the name; one a running save holds, and every other name, stay.
    for (const char* name : {".out.dos.Ab12Cd", ".out.dos.Held99", ".out.dos.long123",
                             ".other.dos.Zz99Yy", "out.dos.Ab12Cd"})
        WriteBytes(dir.File(name), "partial");
    const int held = ::open(dir.File(".out.dos.Held99").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    saveTextFile(path, TwoLines);
    ::close(held);
    EXPECT_EQ(ReadBytes(path), "first\r\nsecond\x1a\xff\r\n");
    EXPECT_EQ(dir.entries(),
              (std::vector<std::string>{".other.dos.Zz99Yy", ".out.dos.Held99", ".out.dos.long123",
                                        "out.dos", "out.dos.Ab12Cd"}));
}

TEST(SaveTextFile, DeviceIsWrittenInPlaceAndAFullOneReportsDiskFull) {
    EXPECT_EQ(SaveFailureCode("/dev/full", TwoLines), IoError::kDiskFull);
    struct stat st {};
    ASSERT_EQ(::stat("/dev/full", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));  // still the device, not a file put in its place
    EXPECT_NO_THROW(saveTextFile("/dev/null", TwoLines));
}

TEST(SaveTextFile, SymbolicLinkKeepsPointingAtItsTargetWhichIsReplaced) {
    ScratchDirectory dir;
    WriteBytes(dir.File("target.dos"), "old\r\n");
    ASSERT_EQ(::symlink("target.dos", dir.File("link.dos").c_str()), 0);
    saveTextFile(dir.File("link.dos"), TwoLines);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link.dos")));
    EXPECT_EQ(ReadBytes(dir.File("target.dos")), "first\r\nsecond\x1a\xff\r\n");

    // A dangling link creates the file it names.
    ASSERT_EQ(::symlink("made.dos", dir.File("dangling.dos").c_str()), 0);
    saveTextFile(dir.File("dangling.dos"), TwoLines);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("dangling.dos")));
    EXPECT_EQ(ReadBytes(dir.File("made.dos")), "first\r\nsecond\x1a\xff\r\n");
}

TEST(SaveTextFile, UnwritablePlacesAreRefusedWithTheirMessages) {
    ScratchDirectory dir;
    ASSERT_TRUE(std::filesystem::create_directory(dir.File("folder")));
    EXPECT_EQ(SaveFailureCode(dir.File("folder"), TwoLines), IoError::kAccessDenied);
    EXPECT_EQ(SaveFailureCode(dir.File("no-such-dir/out.dos"), TwoLines),
              IoError::kInvalidFilename);
    EXPECT_EQ(SaveFailureCode("", TwoLines), IoError::kInvalidFilename);
    EXPECT_NE(SaveFailureCode("/proc/self/new-file.dos", TwoLines), 0);
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("folder")));

    for (const char* typed : {"", "*.dos", "out?.opt"})
        EXPECT_THROW(requireValidTypedFileName(typed), IoError) << typed;
    EXPECT_NO_THROW(requireValidTypedFileName("results.dos"));
}

}  // namespace
}  // namespace fetaldose
