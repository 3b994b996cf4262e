#include "core/textio/text_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <charconv>
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

}  // namespace

TextReader TextReader::open(const std::string& path) {
    // Opened without waiting, so that a named pipe cannot hold the program up before it is
    // refused below.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd) throw IoError::fromErrno(errno, path, /*forReading=*/true);
    // Only regular files are read: a directory, and a device or pipe that could stream
    // without end (and so hang the program or fill its memory), are refused.
    struct stat st {};
    const int err = ::fstat(fd.get(), &st) != 0 ? errno : (S_ISREG(st.st_mode) ? 0 : EACCES);
    if (err != 0) throw IoError::fromErrno(err, path, /*forReading=*/true);
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags >= 0) ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK);
    return TextReader(std::move(fd), path);
}

TextReader TextReader::openWhole(const std::string& path) {
    TextReader file = open(path);
    struct stat st {};
    std::size_t capacity = ::fstat(file.fd_.get(), &st) == 0 && st.st_size > 0
                               ? static_cast<std::size_t>(st.st_size) + 1
                               : kBufferSize;
    // Uninitialised: the bytes are about to be read over, and clearing them would cost as
    // much again as reading them.
    std::shared_ptr<char[]> bytes = std::make_shared_for_overwrite<char[]>(capacity);
    std::size_t size = 0;
    for (;;) {
        if (size == capacity) {  // the file grew while it was read
            capacity *= 2;
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
            throw IoError::fromErrno(errno, path, /*forReading=*/true);
        }
    }
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

TextReader::TextReader(FileDescriptor fd, std::string path)
    : fd_(std::move(fd)),
      path_(std::move(path)),
      buffer_(new char[kBufferSize]),
      data_(buffer_.get()) {}

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
            if (copy_) copy_->append(buffer_.get(), end_);
            return true;
        }
        if (n == 0) {
            ended_ = true;
            return false;
        }
        if (errno != EINTR) throw IoError::fromErrno(errno, path_, /*forReading=*/true);
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
    if (!parseInt32(std::string_view(token, length), value))
        throw IoError(IoError::kInvalidNumericInput);
    // The token may have stopped at the CR that ends its line; skipLine consumes it either way.
    skipLine();
    return value;
}

void readFileInPieces(const std::string& path, const std::function<void(std::string_view)>& take) {
    const FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd) throw IoError::fromErrno(errno, path, true);
    const std::unique_ptr<char[]> buffer(new char[kBufferSize]);
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer.get(), kBufferSize);
        if (n == 0) return;
        if (n < 0) {
            if (errno == EINTR) continue;
            throw IoError::fromErrno(errno, path, true);
        }
        take(std::string_view(buffer.get(), static_cast<std::size_t>(n)));
    }
}

}  // namespace fetaldose
