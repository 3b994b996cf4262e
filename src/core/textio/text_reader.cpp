#include "core/textio/text_reader.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "core/textio/faults.h"

namespace fetaldose {

namespace {

constexpr std::size_t kBufferSize = 64 * 1024;
constexpr char kCr = '\r';
constexpr char kLf = '\n';
constexpr char kEndOfFile = 26;  // Ctrl-Z
constexpr std::size_t kMaxCountToken = 32;

bool isBlank(int byte) {
    return byte >= 0 && byte <= ' ' && byte != kEndOfFile;
}

// Parses a signed decimal integer that must fill the whole token and fit 32 bits; a leading
// '+' is allowed as well as a '-'.
bool parseInt32(std::string_view token, std::int32_t& value) {
    if (!token.empty() && token.front() == '+') {
        token.remove_prefix(1);
        if (!token.empty() && token.front() == '-') return false;
    }
    const char* end = token.data() + token.size();
    const auto [stop, error] = std::from_chars(token.data(), end, value);
    return error == std::errc() && stop == end;
}

// What a file that is no regular file is, in the words of a message; empty for a regular
// file. The system's own files under /proc and /sys claim to be regular but are not files
// on a disk: they may never end, or fail part-way.
std::string specialFileKind(const struct stat& st, int fd) {
    if (S_ISDIR(st.st_mode)) return "it is a folder, not a file";
    if (S_ISFIFO(st.st_mode)) return "it is a named pipe, not a regular file";
    if (S_ISSOCK(st.st_mode)) return "it is a socket, not a regular file";
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode)) return "it is a device, not a regular file";
    if (!S_ISREG(st.st_mode)) return "it is not a regular file";
    struct statfs fs {};
    if (fd >= 0 && ::fstatfs(fd, &fs) == 0) {
        switch (static_cast<unsigned long>(fs.f_type)) {
            case PROC_SUPER_MAGIC:
            case SYSFS_MAGIC:
            case DEBUGFS_MAGIC:
            case TRACEFS_MAGIC:
            case SECURITYFS_MAGIC:
            case CGROUP_SUPER_MAGIC:
            case CGROUP2_SUPER_MAGIC:
                return "it is a file of the running system (/proc, /sys), not a file on a disk";
            default:
                break;
        }
    }
    return {};
}

IoError refusedAs(const std::string& path, std::string kind) {
    IoError fault(IoError::kAccessDenied);
    fault.locate(path);
    fault.explain(std::move(kind));
    return fault;
}

// Opens `path` for reading once its type is known to be a regular file's: a pipe, a device
// or a system file is refused before it is opened for reading, so that nothing waits on it
// and no device acts on being opened.
FileDescriptor openRegularFile(const std::string& path, const InputCeiling& ceiling,
                               std::uint64_t* size) {
    FileDescriptor place(::open(path.c_str(), O_PATH | O_CLOEXEC));
    struct stat st {};
    if (place && ::fstat(place.get(), &st) == 0 && !S_ISREG(st.st_mode))
        throw refusedAs(path, specialFileKind(st, -1));
    // Opened without waiting, so that a pipe put in the file's place meanwhile cannot hold
    // the program up before it is refused below.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd) {
        IoError fault = IoError::fromErrno(errno, path, /*forReading=*/true);
        fault.locate(path);
        throw fault;
    }
    if (::fstat(fd.get(), &st) != 0) {
        IoError fault = IoError::fromErrno(errno, path, /*forReading=*/true);
        fault.locate(path);
        throw fault;
    }
    if (std::string kind = specialFileKind(st, fd.get()); !kind.empty())
        throw refusedAs(path, std::move(kind));
    const auto bytes = static_cast<std::uint64_t>(st.st_size > 0 ? st.st_size : 0);
    if (bytes > ceiling.bytes) throw InputTooLarge(path, ceiling.kind, bytes, ceiling.bytes);
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags >= 0) ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK);
    if (size) *size = bytes;
    return fd;
}

IoError readFault(int err, const std::string& path) {
    IoError fault = IoError::fromErrno(err, path, /*forReading=*/true);
    fault.locate(path);
    return fault;
}

}  // namespace

TextReader TextReader::open(const std::string& path, const InputCeiling& ceiling) {
    return TextReader(openRegularFile(path, ceiling, nullptr), path, ceiling);
}

TextReader TextReader::openWhole(const std::string& path, const InputCeiling& ceiling) {
    std::uint64_t fileSize = 0;
    TextReader file(openRegularFile(path, ceiling, &fileSize), path, ceiling);
    // The ceiling bounds what a file that grows while it is read can take, too.
    const std::size_t most =
        ceiling.bytes < SIZE_MAX - 1 ? static_cast<std::size_t>(ceiling.bytes) : SIZE_MAX - 1;
    std::size_t capacity =
        fileSize > 0 ? static_cast<std::size_t>(fileSize) + 1 : std::min(kBufferSize, most + 1);
    // Uninitialised: the bytes are about to be read over, and clearing them would cost as
    // much again as reading them.
    std::shared_ptr<char[]> bytes = std::make_shared_for_overwrite<char[]>(capacity);
    std::size_t size = 0;
    for (;;) {
        if (size == capacity) {  // the file grew while it was read
            if (size > most) throw InputTooLarge(path, ceiling.kind, size, ceiling.bytes);
            capacity = std::min(capacity * 2, most + 1);
            std::shared_ptr<char[]> larger = std::make_shared_for_overwrite<char[]>(capacity);
            std::memcpy(larger.get(), bytes.get(), size);
            bytes = std::move(larger);
        }
        const ssize_t n = ::read(file.fd_.get(), bytes.get() + size, capacity - size);
        if (n > 0) {
            size += static_cast<std::size_t>(n);
        } else if (n == 0) {
            break;
        } else if (errno != EINTR) {
            throw readFault(errno, path);
        }
    }
    if (size > most) throw InputTooLarge(path, ceiling.kind, size, ceiling.bytes);
    // Ctrl-Z ends the file wherever it stands: the bytes end there once and for all, and no
    // line needs to look for it again.
    if (const void* eof = std::memchr(bytes.get(), kEndOfFile, size))
        size = static_cast<std::size_t>(static_cast<const char*>(eof) - bytes.get());
    TextReader whole(std::string_view(bytes.get(), size));
    whole.whole_ = std::move(bytes);
    whole.wholeSize_ = size;
    whole.path_ = path;
    return whole;
}

TextReader::TextReader(std::string_view bytes) : data_(bytes.data()), end_(bytes.size()) {}

TextReader::TextReader(FileDescriptor fd, std::string path, const InputCeiling& ceiling)
    : fd_(std::move(fd)),
      path_(std::move(path)),
      buffer_(new char[kBufferSize]),
      data_(buffer_.get()),
      ceiling_(ceiling) {}

bool TextReader::refill() {
    if (ended_) return false;
    if (!fd_) {
        ended_ = true;
        return false;
    }
    for (;;) {
        const ssize_t n = ::read(fd_.get(), buffer_.get(), kBufferSize);
        if (n > 0) {
            pos_ = 0;
            end_ = static_cast<std::size_t>(n);
            readSoFar_ += static_cast<std::uint64_t>(n);
            if (readSoFar_ > ceiling_.bytes)
                throw InputTooLarge(path_, ceiling_.kind, readSoFar_, ceiling_.bytes);
            if (copy_) copy_->append(buffer_.get(), end_);
            return true;
        }
        if (n == 0) {
            ended_ = true;
            return false;
        }
        if (errno != EINTR) throw readFault(errno, path_);
    }
}

void TextReader::keepCopy() {
    copy_ = std::make_unique<std::string>();
}

std::string TextReader::takeCopyOfWholeFile() {
    if (!copy_) return {};
    std::string bytes = std::move(*copy_);
    copy_.reset();
    if (!fd_) return bytes;
    // Nothing more is read through the buffer: it takes the rest of the file on its way.
    pos_ = end_ = 0;
    ended_ = true;
    for (;;) {
        const ssize_t n = ::read(fd_.get(), buffer_.get(), kBufferSize);
        if (n > 0) {
            readSoFar_ += static_cast<std::uint64_t>(n);
            if (readSoFar_ > ceiling_.bytes)
                throw InputTooLarge(path_, ceiling_.kind, readSoFar_, ceiling_.bytes);
            bytes.append(buffer_.get(), static_cast<std::size_t>(n));
        } else if (n == 0) {
            return bytes;
        } else if (errno != EINTR) {
            throw IoError::fromErrno(errno, path_, /*forReading=*/true);
        }
    }
}

int TextReader::peek() {
    if (pos_ >= end_ && !refill()) return -1;
    const char c = data_[pos_];
    if (c == kEndOfFile) {
        ended_ = true;
        pos_ = end_ = 0;
        return -1;
    }
    return static_cast<unsigned char>(c);
}

bool TextReader::atEnd() {
    return peek() < 0;
}

template <class Piece>
void TextReader::consumeLine(Piece&& piece) {
    ++lineNumber_;
    for (;;) {
        if (pos_ >= end_ && !refill()) return;
        const char* start = data_ + pos_;
        const std::size_t available = end_ - pos_;
        const char* cr = static_cast<const char*>(std::memchr(start, kCr, available));
        const std::size_t span = cr ? static_cast<std::size_t>(cr - start) : available;
        const void* eof = whole_ ? nullptr : std::memchr(start, kEndOfFile, span);
        if (eof) {
            piece(std::string_view(
                start, static_cast<std::size_t>(static_cast<const char*>(eof) - start)));
            ended_ = true;
            pos_ = end_ = 0;
            return;
        }
        piece(std::string_view(start, span));
        pos_ += span;
        if (cr) {
            advance();  // the CR
            if (peek() == kLf) advance();
            return;
        }
    }
}

void TextReader::readLine(std::string& line) {
    line.clear();
    consumeLine([&line](std::string_view piece) { line.append(piece); });
}

std::string TextReader::readLine() {
    std::string line;
    readLine(line);
    return line;
}

std::string_view TextReader::readLineView() {
    if (fd_) throw std::logic_error("ReadLineView needs a reader over memory");
    // Over memory the rest of the file is one piece, so the line comes in one piece too.
    std::string_view line;
    consumeLine([&line](std::string_view piece) { line = piece; });
    return line;
}

std::string_view TextReader::restView() const {
    if (!whole_ || ended_ || pos_ >= end_) return {};
    return std::string_view(data_ + pos_, end_ - pos_);
}

std::string_view TextReader::takeLine(std::size_t length) {
    const std::string_view rest = restView();
    if (length > rest.size() || (length < rest.size() && rest[length] != kCr))
        throw std::logic_error("TakeLine needs a whole line");
    pos_ += length;
    ++lineNumber_;
    if (pos_ < end_) {
        advance();  // the CR
        if (pos_ < end_ && data_[pos_] == kLf) advance();
    }
    return rest.substr(0, length);
}

void TextReader::skipLine() {
    consumeLine([](std::string_view) {});
}

std::int32_t TextReader::readCount() {
    int c = peek();
    while (isBlank(c)) {
        if (c == kCr) {
            advance();
            if (peek() == kLf) advance();
            ++lineNumber_;
            c = peek();
            continue;
        }
        advance();
        c = peek();
    }
    if (c < 0) {
        ++lineNumber_;
        return 0;
    }

    char token[kMaxCountToken];
    std::size_t length = 0;
    while (length < kMaxCountToken && c >= 0 && !isBlank(c)) {
        token[length++] = static_cast<char>(c);
        advance();
        c = peek();
    }
    std::int32_t value = 0;
    if (!parseInt32(std::string_view(token, length), value)) {
        IoError fault(IoError::kInvalidNumericInput);
        if (!path_.empty()) fault.locate(path_, lineNumber_);
        fault.explain("this line should hold a whole number");
        throw fault;
    }
    // The token may have stopped at the CR that ends its line; skipLine consumes it either way.
    skipLine();
    return value;
}

void readFileInPieces(const std::string& path, const std::function<void(std::string_view)>& take) {
    const FileDescriptor fd = openRegularFile(path, kAnySize, nullptr);
    const std::unique_ptr<char[]> buffer(new char[kBufferSize]);
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer.get(), kBufferSize);
        if (n == 0) return;
        if (n < 0) {
            if (errno == EINTR) continue;
            throw readFault(errno, path);
        }
        take(std::string_view(buffer.get(), static_cast<std::size_t>(n)));
    }
}

}  // namespace fetaldose
