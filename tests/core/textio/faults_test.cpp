// Fault messages as the user reads them in the error box.

#include <gtest/gtest.h>

#include <cerrno>

#include "core/textio/faults.h"

namespace fetaldose {
namespace {

TEST(Faults, SystemErrorsMapToTheNumberedMessages) {
    auto message = [](int err, bool forReading) {
        const IoError error = IoError::fromErrno(err, "/tmp/x", forReading);
        return std::to_string(error.code()) + " " + error.what();
    };
    EXPECT_EQ(message(ENOENT, true), "2 File not found");
    EXPECT_EQ(message(ENOENT, false), "3 Invalid filename");
    EXPECT_EQ(message(EMFILE, true), "4 Too many open files");
    EXPECT_EQ(message(EISDIR, false), "5 File access denied");
    EXPECT_EQ(message(ENOSPC, false), "101 Disk full");
    EXPECT_EQ(message(EIO, true), "5 I/O error 5");

    EXPECT_STREQ(IoError(100).what(), "Read beyond end of file");
    EXPECT_STREQ(IoError(106).what(), "Invalid numeric input");
    EXPECT_STREQ(IoError(217).what(), "I/O error 217");
    EXPECT_STREQ(RangeError().what(), "Range check error");
}

TEST(Faults, ErrorBoxAddsAFullStopAfterCharactersSortingAfterThePoint) {
    EXPECT_EQ(errorBoxText("Range check error"), "Range check error.");
    EXPECT_EQ(errorBoxText("I/O error 5"), "I/O error 5.");
    EXPECT_EQ(errorBoxText("ends in a slash/"), "ends in a slash/.");
    EXPECT_EQ(errorBoxText("caf\xe9"), "caf\xe9.");  // high bytes sort after '.'
    EXPECT_EQ(errorBoxText("already."), "already.");
    EXPECT_EQ(errorBoxText("a comma,"), "a comma,");
    EXPECT_EQ(errorBoxText("'1.0E-0' is not a valid floating point value'"),
              "'1.0E-0' is not a valid floating point value'");
    EXPECT_EQ(errorBoxText("bang!"), "bang!");
    EXPECT_EQ(errorBoxText(""), "");
}

}  // namespace
}  // namespace fetaldose
