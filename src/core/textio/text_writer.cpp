#include "core/textio/text_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <climits>
#include <string>
#include <utility>
#include <vector>

#include "core/textio/faults.h"

namespace fetaldose {

namespace {

constexpr std::size_t kFlushThreshold = 64 * 1024;
constexpr std::size_t kWritebackStep = 1024 * 1024;
constexpr int kMaxLinkHops = 40;

std::string DirectoryOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Follows symbolic links so that the file at the end of the chain is the one replaced; a
// dangling link yields the path it points to, which is then created.
std::string ResolveLinks(std::string path) {
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        std::vector<char> target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : PATH_MAX) +
                                 1);
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n < 0) return path;
        std::string next(target.data(), static_cast<std::size_t>(n));
        path = (next.front() == '/') ? next : DirectoryOf(path) + "/" + next;
    }
    throw IoError::FromErrno(ELOOP, path, false);
}

mode_t DefaultCreationMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    // Closes now and reports a failed close, where a delayed write error can surface.
    int Close() {
        const int rc = ::close(std::exchange(fd_, -1));
        return rc;
    }

  private:
    int fd_;
};

void WriteInPlace(const std::string& path, const std::function<void(TextWriter&)>& writeContent) {
    // Opened without waiting, so that a named pipe nobody reads is refused (ENXIO) instead of
    // holding the program up; writes then wait as usual.
    FileDescriptor fd(::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) throw IoError::FromErrno(errno, path, false);
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags >= 0) ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK);
    TextWriter writer(fd.get(), path);
    writeContent(writer);
    writer.Flush();
    if (fd.Close() != 0) throw IoError::FromErrno(errno, path, false);
}

void ReplaceRegularFile(const std::string& target, const struct stat* existing,
                        const std::function<void(TextWriter&)>& writeContent) {
    // The hidden name is the target's own, cut short where needed so that it fits wherever
    // the target's name fits: "." before it and ".XXXXXX" after it take 8 bytes.
    std::string base = BaseNameOf(target);
    if (base.size() > NAME_MAX - 8) base.resize(NAME_MAX - 8);
    std::string tempPath = DirectoryOf(target) + "/." + base + ".XXXXXX";
    FileDescriptor fd(::mkostemp(tempPath.data(), O_CLOEXEC));
    if (fd.get() < 0) {
        // A folder that takes no new file may still hold a file that can be written: that
        // one is then written where it is, as it would be without the hidden copy.
        if (existing && (errno == EACCES || errno == EPERM))
            return WriteInPlace(target, writeContent);
        throw IoError::FromErrno(errno, target, false);
    }
    try {
        const mode_t mode = existing ? (existing->st_mode & 07777) : DefaultCreationMode();
        ::fchmod(fd.get(), mode);
        if (existing && ::geteuid() == 0) [[maybe_unused]]
            int ignored = ::fchown(fd.get(), existing->st_uid, existing->st_gid);
        TextWriter writer(fd.get(), target);
        writeContent(writer);
        writer.Flush();
        // Space on many file systems is only claimed here, so "Disk full" may surface now.
        if (::fsync(fd.get()) != 0 && errno != EINVAL)
            throw IoError::FromErrno(errno, target, false);
        if (fd.Close() != 0) throw IoError::FromErrno(errno, target, false);
        if (::rename(tempPath.c_str(), target.c_str()) != 0)
            throw IoError::FromErrno(errno, target, false);
    } catch (...) {
        ::unlink(tempPath.c_str());
        throw;
    }
}

}  // namespace

TextWriter::TextWriter(int fd, std::string path) : fd_(fd), path_(std::move(path)) {
    buffer_.reserve(kFlushThreshold + 256);
}

void TextWriter::Write(std::string_view text) {
    if (buffer_.empty() && text.size() >= kFlushThreshold) return WriteOut(text);  // no copy
    buffer_.append(text);
    if (buffer_.size() >= kFlushThreshold) Flush();
}

void TextWriter::EndLine() {
    Write("\r\n");
}

void TextWriter::WriteLine(std::string_view text) {
    buffer_.append(text);
    EndLine();
}

void TextWriter::Flush() {
    try {
        WriteOut(buffer_);
    } catch (...) {
        buffer_.clear();
        throw;
    }
    buffer_.clear();
}

void TextWriter::WriteOut(std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw IoError::FromErrno(errno, path_, false);
        }
        done += static_cast<std::size_t>(n);
    }
    // The disk starts on what is written while the rest is still being made, so that the
    // final fsync waits for little more than the last piece. Only a hint: a descriptor that
    // does not take it (a pipe, a device) is written all the same.
    written_ += bytes.size();
    if (written_ - started_ >= kWritebackStep) {
        ::sync_file_range(fd_, static_cast<off_t>(started_),
                          static_cast<off_t>(written_ - started_), SYNC_FILE_RANGE_WRITE);
        started_ = written_;
    }
}

void SaveTextFile(const std::string& path, const std::function<void(TextWriter&)>& writeContent) {
    if (path.empty()) throw IoError(IoError::kInvalidFilename);
    const std::string target = ResolveLinks(path);
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) throw IoError(IoError::kAccessDenied);
        if (!S_ISREG(st.st_mode)) return WriteInPlace(target, writeContent);
        // A read-only file (no write bit for anyone, as the data files are made) is never
        // replaced, even by a user whom the permission bits would not stop.
        if ((st.st_mode & 0222) == 0) throw IoError(IoError::kAccessDenied);
        return ReplaceRegularFile(target, &st, writeContent);
    }
    if (errno != ENOENT) throw IoError::FromErrno(errno, target, false);
    ReplaceRegularFile(target, nullptr, writeContent);
}

void RequireValidTypedFileName(std::string_view typedName) {
    if (typedName.empty() || typedName.find_first_of("*?") != std::string_view::npos)
        throw IoError(IoError::kInvalidFilename);
}

}  // namespace fetaldose
