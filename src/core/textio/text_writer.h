#pragma once
// Writing of the files the user saves. Every line ends with CR LF; bytes go out as they are.

#include <functional>
#include <string>
#include <string_view>

namespace fetaldose {

// Buffered writer of CR LF lines to an open file descriptor. A failed write throws IoError
// ("Disk full", "File access denied", ...); the descriptor stays owned by the caller.
class TextWriter {
  public:
    TextWriter(int fd, std::string path);
    TextWriter(const TextWriter&) = delete;
    TextWriter& operator=(const TextWriter&) = delete;

    void writeLine(std::string_view text);
    // Appends bytes to the current line; writeLine or endLine finishes it. A large piece
    // with nothing buffered before it goes to the system at once, uncopied.
    void write(std::string_view text);
    void endLine();
    // Hands everything buffered to the system; throws on failure.
    void flush();

  private:
    void writeOut(std::string_view bytes);  // all of them, to the descriptor

    int fd_;
    std::string path_;
    std::string buffer_;
    std::size_t written_ = 0;  // bytes handed to the system so far
    std::size_t started_ = 0;  // of which the disk was asked to start on
};

// Saves a file the user named so that a failure can never destroy data: the new content is
// written completely to a file beside the target (unnamed where the file system allows it,
// else hidden and locked) and only then takes the target's place, keeping the old file's
// permission bits. If anything fails, the error is thrown, the old file (or its absence) is
// exactly as it was and no partial file is left behind; a folder that takes no new file
// refuses the save ("File access denied"), even where the old file itself could be written.
// A hidden file an earlier save of the same name left when it was cut off is removed.
// An existing device, pipe or other special file is written in place instead; a symbolic
// link keeps pointing where it pointed, and the file it points to is the one replaced.
void saveTextFile(const std::string& path, const std::function<void(TextWriter&)>& writeContent);

// Refuses a file name as the user typed it when it cannot name one file: an empty
// name, or one holding a wildcard '*' or '?', throws IoError 3 "Invalid filename".
void requireValidTypedFileName(std::string_view typedName);

// Hands every byte of the file at `path` to `out`, as it is. A failure to open or read it
// throws IoError naming `path`.
void copyFileTo(const std::string& path, TextWriter& out);

}  // namespace fetaldose
