// The line and count rules shared by every file the program reads.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <string>

#include "core/textio/faults.h"
#include "core/textio/text_reader.h"
#include "scratch_directory.h"

namespace fetaldose {
namespace {

using namespace std::string_literals;
using namespace std::string_view_literals;
using testing::ScratchDirectory;
using testing::writeBytes;

int countFaultCode(std::string_view bytes) {
    TextReader reader(bytes);
    try {
        reader.readCount();
    } catch (const IoError& error) {
        EXPECT_STREQ(error.what(), "Invalid numeric input");
        return error.code();
    }
    return 0;
}

TEST(TextReader, LinesEndAtCrWithOneLfSkippedAndLfAloneKept) {
    const std::string bytes = "a\r\nb\rc\nd\r\n\r\n\r\r\nlast";
    TextReader reader(bytes);
    EXPECT_EQ(reader.readLine(), "a");
    EXPECT_EQ(reader.readLine(), "b");
    EXPECT_EQ(reader.readLine(), "c\nd");
    EXPECT_EQ(reader.readLine(), "");
    EXPECT_EQ(reader.readLine(), "");
    EXPECT_EQ(reader.readLine(), "");
    EXPECT_EQ(reader.readLine(), "last");
    EXPECT_TRUE(reader.atEnd());
    // Past the end: empty lines and zero counts, without error.
    EXPECT_EQ(reader.readLine(), "");
    EXPECT_EQ(reader.readCount(), 0);
    EXPECT_EQ(reader.readLine(), "");
}

TEST(TextReader, CtrlZEndsTheFileWhereverItStands) {
    const std::string bytes =
        "ab\x1a"
        "cd\r\n5\r\n";
    TextReader reader(bytes);
    EXPECT_EQ(reader.readLine(), "ab");
    EXPECT_TRUE(reader.atEnd());
    EXPECT_EQ(reader.readCount(), 0);
    EXPECT_EQ(reader.readLine(), "");

    const std::string countThenEndBytes =
        "12\x1a"
        "99\r\nx\r\n";
    TextReader countThenEnd(countThenEndBytes);
    EXPECT_EQ(countThenEnd.readCount(), 12);
    EXPECT_EQ(countThenEnd.readLine(), "");

    const std::string atLineStartBytes =
        "one\r\n\x1a"
        "two\r\n";
    TextReader atLineStart(atLineStartBytes);
    EXPECT_EQ(atLineStart.readLine(), "one");
    EXPECT_EQ(atLineStart.readLine(), "");
    EXPECT_TRUE(atLineStart.atEnd());
}

TEST(TextReader, CountSkipsBlanksAndLineEndsAndIgnoresTheRestOfItsLine) {
    const std::string bytes = "  \r\n\r\n\t 42 nuclides follow\r\n-7\tx\r\n+3\rtext line \r\n";
    TextReader reader(bytes);
    EXPECT_EQ(reader.readCount(), 42);
    EXPECT_EQ(reader.readCount(), -7);
    EXPECT_EQ(reader.readCount(), 3);
    EXPECT_EQ(reader.readLine(), "text line ");

    // With LF-only line ends the rest of the count's "line" is the rest of the file.
    const std::string lfOnlyBytes = "3\nPu-239\n24110 y\n";
    TextReader lfOnly(lfOnlyBytes);
    EXPECT_EQ(lfOnly.readCount(), 3);
    EXPECT_EQ(lfOnly.readLine(), "");
    EXPECT_TRUE(lfOnly.atEnd());

    // Extremes of a 32-bit count.
    const std::string extremesBytes = "2147483647\r\n-2147483648\r\n";
    TextReader extremes(extremesBytes);
    EXPECT_EQ(extremes.readCount(), 2147483647);
    EXPECT_EQ(extremes.readCount(), -2147483647 - 1);
}

// Line numbers name lines as an editor counts them: CR and CR LF end a line, LF alone does not,
// and lines read past the end go on counting.
TEST(TextReader, LineNumbersFollowTheLineRules) {
    TextReader reader("\r\n \r\n\r 7 x\r\na\nb\rc\r\n"sv);
    EXPECT_EQ(reader.lineNumber(), 1);
    EXPECT_EQ(reader.readCount(), 7);
    EXPECT_EQ(reader.lineNumber(), 5);  // the count stood on line 4
    EXPECT_EQ(reader.readLine(), "a\nb");
    reader.skipLine();
    EXPECT_EQ(reader.lineNumber(), 7);
    EXPECT_EQ(reader.readLine(), "");
    EXPECT_EQ(reader.lineNumber(), 8);

    TextReader bad("\r\n\r\n  2x\r\n"sv);
    EXPECT_THROW(bad.readCount(), IoError);
    EXPECT_EQ(bad.lineNumber(), 3);
    TextReader empty(""sv);
    EXPECT_EQ(empty.readCount(), 0);
    EXPECT_EQ(empty.lineNumber(), 2);
}

TEST(TextReader, CountThatIsNotAnIntegerIsInvalidNumericInput) {
    for (const char* bad :
         {"abc\r\n", "2.5\r\n", "3x\r\n", "1099511627776\r\n", "2147483648\r\n", "-2147483649\r\n",
          "-\r\n", "+\r\n", "\xb3\r\n", "0x10\r\n", "+-5\r\n", "-+5\r\n", "--5\r\n", "++5\r\n"}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(countFaultCode(bad), IoError::kInvalidNumericInput);
    }
}

TEST(TextReader, CountTokenIsAtMost32Characters) {
    const std::string zeros31(31, '0');
    // 32 characters make one token.
    const std::string exactBytes = zeros31 + "7 rest\r\nnext\r\n";
    TextReader exact(exactBytes);
    EXPECT_EQ(exact.readCount(), 7);
    EXPECT_EQ(exact.readLine(), "next");
    // A longer run is cut after 32 characters and the rest of its line is skipped.
    const std::string longerBytes = zeros31 + "0" + "9999\r\nnext\r\n";
    TextReader longer(longerBytes);
    EXPECT_EQ(longer.readCount(), 0);
    EXPECT_EQ(longer.readLine(), "next");
    // A huge run of digits neither overflows nor runs on.
    EXPECT_EQ(countFaultCode(std::string(40, '9') + "\r\n"), IoError::kInvalidNumericInput);
}

TEST(TextReader, EveryByteIsKept) {
    const std::string binary = "a\0b\x01\x7f\x80\xff\t \n"s;
    const std::string bytes = binary + "\r\n" + "  padded  \r\n";
    TextReader reader(bytes);
    EXPECT_EQ(reader.readLine(), binary);
    EXPECT_EQ(reader.readLine(), "  padded  ");
}

TEST(TextReader, FileReadsAcrossItsBufferBoundaries) {
    ScratchDirectory dir;
    // A CR and its LF split by the 64 KiB buffer boundary, a line of several megabytes, and a
    // Ctrl-Z far into the file.
    const std::string first(64 * 1024 - 1, 'a');
    const std::string huge(3 * 1024 * 1024 + 17, 'b');
    const std::string tail =
        "tail"
        "\x1a"
        "ignored\r\n";
    writeBytes(dir.file("big.txt"), first + "\r\n" + huge + "\r\n" + "  12 \r\n" + tail);

    TextReader reader = TextReader::open(dir.file("big.txt"));
    std::string line;
    reader.readLine(line);
    EXPECT_EQ(line, first);
    reader.readLine(line);
    EXPECT_EQ(line.size(), huge.size());
    EXPECT_EQ(line, huge);
    EXPECT_EQ(reader.readCount(), 12);
    reader.readLine(line);
    EXPECT_EQ(line, "tail");
    EXPECT_TRUE(reader.atEnd());
}

TEST(TextReader, OpenFailuresCarryTheSystemMessages) {
    ScratchDirectory dir;
    auto codeOf = [](const std::string& path) {
        try {
            TextReader::open(path);
        } catch (const IoError& error) {
            return std::pair<int, std::string>(error.code(), error.what());
        }
        return std::pair<int, std::string>(0, "");
    };
    EXPECT_EQ(codeOf(dir.file("missing.txt")), std::pair(2, "File not found"s));
    EXPECT_EQ(codeOf(dir.file("no-such-dir/file.txt")), std::pair(3, "Invalid filename"s));
    EXPECT_EQ(codeOf(dir.file("")), std::pair(5, "File access denied"s));
    writeBytes(dir.file("plain"), "x");
    EXPECT_EQ(codeOf(dir.file("plain/below")), std::pair(3, "Invalid filename"s));
}

// Pipes, devices and the running system's own files are refused by their type before a byte
// is read, never waited on: the program's message, the file and the type in the fault.
TEST(TextReader, SpecialFilesAreRefusedByTypeBeforeAnyRead) {
    ScratchDirectory dir;
    ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0644), 0);
    ASSERT_EQ(::symlink("/proc/self/mem", dir.file("memory").c_str()), 0);
    const struct {
        std::string path;
        const char* type;
    } cases[] = {{dir.file("pipe"), "named pipe"},
                 {"/dev/zero", "device"},
                 {dir.file("memory"), "running system"},
                 {"/proc/self/status", "running system"},
                 {dir.slash(), "folder"}};
    for (const auto& c : cases) {
        for (const bool whole : {false, true}) {
            try {
                if (whole)
                    TextReader::openWhole(c.path);
                else
                    TextReader::open(c.path);
                ADD_FAILURE() << c.path << " opened";
            } catch (const IoError& error) {
                EXPECT_STREQ(error.what(), "File access denied") << c.path;
                EXPECT_EQ(error.file(), c.path);
                EXPECT_NE(error.detail().find(c.type), std::string::npos) << error.detail();
                EXPECT_EQ(faultReport(error).rfind(c.path + ": File access denied (it is", 0), 0u);
            }
        }
    }
    std::string pieces;
    EXPECT_THROW(readFileInPieces(dir.file("pipe"), [&](std::string_view p) { pieces += p; }),
                 IoError);
}

// A file above its kind's ceiling is refused before it is read, naming the file and the
// ceiling; one at the ceiling is read; a count that is no number names its file and line.
TEST(TextReader, CeilingsRefuseLargerFilesAndFaultsNameTheirPlace) {
    ScratchDirectory dir;
    constexpr InputCeiling kSmall{"a small file", 8};
    writeBytes(dir.file("at"), "1\r\n2\r\n34");
    EXPECT_EQ(TextReader::openWhole(dir.file("at"), kSmall).wholeSize(), 8u);
    TextReader streamed = TextReader::open(dir.file("at"), kSmall);
    EXPECT_EQ(streamed.readCount(), 1);

    writeBytes(dir.file("over"), "1\r\n2\r\n345");
    writeBytes(dir.file("sparse"), "");
    ASSERT_EQ(::truncate(dir.file("sparse").c_str(), 8LL << 30), 0) << "no sparse file";
    for (const auto& [name, size] : {std::pair("over", "9 bytes"), std::pair("sparse", "8 GB")}) {
        for (const bool whole : {false, true}) {
            try {
                if (whole)
                    TextReader::openWhole(dir.file(name), kSmall);
                else
                    TextReader::open(dir.file(name), kSmall);
                ADD_FAILURE() << name << " opened";
            } catch (const InputTooLarge& error) {
                EXPECT_EQ(std::string(error.what()), dir.file(name) + ": too large for a small " +
                                                         "file: " + size +
                                                         ", where a small file is at most 8 bytes");
                EXPECT_EQ(faultReport(error), error.what());
            }
        }
    }
    EXPECT_EQ(sizeInWords(64ULL << 20), "64 MB");
    EXPECT_EQ(sizeInWords((64ULL << 20) + 1), "64.0 MB");
    EXPECT_EQ(sizeInWords(3ULL << 29), "1.5 GB");

    writeBytes(dir.file("count"), "\r\n\r\n  x7\r\n");
    TextReader file = TextReader::open(dir.file("count"));
    try {
        file.readCount();
        ADD_FAILURE() << "no error";
    } catch (const IoError& error) {
        EXPECT_STREQ(error.what(), "Invalid numeric input");
        EXPECT_EQ(faultReport(error),
                  dir.file("count") +
                      ":3: Invalid numeric input (this line should hold a whole "
                      "number)");
        EXPECT_EQ(faultReport(error, false).find(":3:"), std::string::npos);
    }
}

}  // namespace
}  // namespace fetaldose
