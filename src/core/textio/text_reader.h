#pragma once
// Sequential reader of 8-bit text files with the line rules all the program's files share:
//  - a line ends at CR, and one LF right after that CR is skipped; a LF alone is an ordinary
//    byte of the line;
//  - a byte 26 (Ctrl-Z) or the physical end ends the file;
//  - reading past the end yields empty lines and zero counts, without error.
// Bytes are kept as they are; nothing is decoded or trimmed. Lines may be of any length
// within the ceiling of the file's kind (InputCeiling), which bounds what one file can take.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/textio/file_descriptor.h"

namespace fetaldose {

// The most a reader takes from one file of a kind, far above any valid file of that kind: a
// larger file is refused (InputTooLarge) before it is read whole, and one that grows past it
// while it is read is refused then. `kind` names the kind in the message ("a data file").
struct InputCeiling {
    std::string_view kind;
    std::uint64_t bytes;
};

inline constexpr InputCeiling kAnySize{"a file", UINT64_MAX};

class TextReader {
  public:
    // Opens a file for reading; throws IoError ("File not found", "File access denied", ...).
    // Only regular files are read: directories, devices, pipes and the system's own files
    // (/proc, /sys) are refused by their type before any byte is read, as "File access
    // denied" with the type in the fault's detail. A file above `ceiling` throws
    // InputTooLarge.
    static TextReader open(const std::string& path, const InputCeiling& ceiling = kAnySize);

    // Reads a whole regular file into memory at once (one read of its size) and reads from
    // there, so that readLineView can hand out views into the file's bytes. Throws as Open.
    static TextReader openWhole(const std::string& path, const InputCeiling& ceiling = kAnySize);

    // Reads from bytes held in memory (the caller keeps them alive).
    explicit TextReader(std::string_view bytes);

    TextReader(TextReader&& other) noexcept = default;
    TextReader& operator=(TextReader&& other) noexcept = default;
    TextReader(const TextReader&) = delete;
    TextReader& operator=(const TextReader&) = delete;
    ~TextReader() = default;

    // Reads one whole line into `line` (its capacity is reused), without its line end.
    void readLine(std::string& line);
    std::string readLine();
    // Reads one whole line and returns a view of it in the reader's memory: valid as long as
    // those bytes live (see wholeBytes). Only for readers over memory (openWhole, or bytes
    // given); a streaming reader throws std::logic_error.
    std::string_view readLineView();

    // The file's bytes of a reader made by openWhole, shared so that views into them can
    // outlive the reader; empty for other readers. They may be edited in place.
    const std::shared_ptr<char[]>& wholeBytes() const { return whole_; }
    std::size_t wholeSize() const { return wholeSize_; }

    // For a reader made by openWhole: the bytes from the current place to the end of the file
    // (empty for other readers, and at the end); and the line of the first `length` of them,
    // read as readLineView reads it where they are followed by a CR or are all of them.
    std::string_view restView() const;
    std::string_view takeLine(std::size_t length);

    // Skips the rest of the current line, its line end included.
    void skipLine();

    // Reads a count line: skips blanks, tabs and line ends, takes the next run of up to 32
    // non-blank characters as a signed decimal 32-bit integer, then skips the rest of the line.
    // At the end of the file the count is 0. A token that is not such an integer throws
    // IoError 106 "Invalid numeric input".
    std::int32_t readCount();

    // True when no byte is left before the end of the file.
    bool atEnd();

    // The number, from 1, of the line the next read starts in. Every readLine, readLineView,
    // takeLine and skipLine moves on one line, past the end of the file too; readCount moves past
    // the blank lines it skips and past its own line.
    int lineNumber() const { return lineNumber_; }

    // For a reader made by open: keeps a copy of every byte read from the file from now on, so
    // that the bytes can be named later without reading the file a second time.
    void keepCopy();
    // Reads what is left of the file (past a Ctrl-Z too) into the copy and hands the copy
    // over: the whole file's bytes when keepCopy came before the first read. Throws IoError as
    // the reads do. The reader reads nothing more after it.
    std::string takeCopyOfWholeFile();

  private:
    TextReader(FileDescriptor fd, std::string path, const InputCeiling& ceiling);
    bool refill();
    int peek();  // next byte, or -1 at the end of the file
    void advance() { ++pos_; }
    // Consumes one line and its line end, handing each piece of the line (several where it
    // spans buffer refills) to `piece`.
    template <class Piece>
    void consumeLine(Piece&& piece);

    FileDescriptor fd_;
    std::string path_;
    std::unique_ptr<char[]> buffer_;
    std::shared_ptr<char[]> whole_;
    std::size_t wholeSize_ = 0;
    const char* data_ = nullptr;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    bool ended_ = false;  // Ctrl-Z or the physical end has been reached
    InputCeiling ceiling_ = kAnySize;
    std::uint64_t readSoFar_ = 0;  // bytes a streaming reader has taken from its file
    int lineNumber_ = 1;
    std::unique_ptr<std::string> copy_;  // see keepCopy
};

// Reads a whole file as it stands (no line rules), handing each piece read to `take` in order;
// a file that cannot be opened or read throws IoError, and one that is no regular file is
// refused as TextReader::open refuses it.
void readFileInPieces(const std::string& path, const std::function<void(std::string_view)>& take);

}  // namespace fetaldose
