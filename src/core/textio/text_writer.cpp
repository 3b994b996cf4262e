#include "core/textio/text_writer.h"

#include "core/textio/text_reader.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <climits>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "core/textio/faults.h"
#include "core/textio/file_descriptor.h"

namespace fetaldose {

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kFlushThreshold = 64 * 1024;
constexpr std::size_t kWritebackStep = 1024 * 1024;
constexpr int kMaxLinkHops = 40;
// A hidden temporary is "." + the target's name + "." + six characters mkostemp picks.
constexpr std::size_t kTempSuffixLength = 6;
constexpr std::size_t kTempExtraLength = 2 + kTempSuffixLength;

std::string directoryOf(const std::string& path) {
    const fs::path parent = fs::path(path).parent_path();
    if (parent.empty()) return ".";
    // "/x" has the parent "/", and "//x" keeps its two separators, as the system reads them.
    return parent.string();
}

std::string baseNameOf(const std::string& path) {
    return fs::path(path).filename().string();
}

// Follows symbolic links so that the file at the end of the chain is the one replaced; a
// dangling link yields the path it points to, which is then created.
std::string resolveLinks(std::string path) {
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        std::vector<char> target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : PATH_MAX) +
                                 1);
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n < 0) return path;
        std::string next(target.data(), static_cast<std::size_t>(n));
        path = (next.front() == '/') ? next : directoryOf(path) + "/" + next;
    }
    throw IoError::fromErrno(ELOOP, path, false);
}

IoError refused(const std::string& path, const char* why) {
    IoError fault(IoError::kAccessDenied);
    fault.locate(path);
    fault.explain(why);
    return fault;
}

mode_t defaultCreationMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

void writeInPlace(const std::string& path, const std::function<void(TextWriter&)>& writeContent) {
    // Opened without waiting, so that a named pipe nobody reads is refused (ENXIO) instead of
    // holding the program up; writes then wait as usual.
    FileDescriptor fd(::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NONBLOCK));
    if (!fd) throw IoError::fromErrno(errno, path, false);
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags >= 0) ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK);
    TextWriter writer(fd.get(), path);
    writeContent(writer);
    writer.flush();
    if (fd.close() != 0) throw IoError::fromErrno(errno, path, false);
}

// The hidden name's stem: the target's own name, cut short where needed so that the hidden
// name fits wherever the target's name fits.
std::string hiddenStem(const std::string& target) {
    std::string base = baseNameOf(target);
    if (base.size() > NAME_MAX - kTempExtraLength) base.resize(NAME_MAX - kTempExtraLength);
    return "." + base + ".";
}

bool isTempSuffix(std::string_view suffix) {
    if (suffix.size() != kTempSuffixLength) return false;
    for (const char c : suffix)
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')))
            return false;
    return true;
}

// Removes the hidden temporaries an earlier save of this target left behind when it was cut
// off (a crash, a kill). A save holds an exclusive lock on its temporary for as long as it
// writes, so a temporary that can be locked belongs to no running save.
void removeStaleTemporaries(const std::string& directory, const std::string& stem) {
    std::error_code error;
    for (fs::directory_iterator it(directory, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.size() != stem.size() + kTempSuffixLength || name.compare(0, stem.size(), stem))
            continue;
        if (!isTempSuffix(std::string_view(name).substr(stem.size()))) continue;
        const std::string path = directory + "/" + name;
        FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat held {};
        if (!fd || ::fstat(fd.get(), &held) != 0 || !S_ISREG(held.st_mode)) continue;
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) continue;  // a save is writing it
        // Only the very file locked is removed, not one that took its name meanwhile.
        struct stat named {};
        if (::lstat(path.c_str(), &named) == 0 && named.st_dev == held.st_dev &&
            named.st_ino == held.st_ino)
            ::unlink(path.c_str());
    }
}

// An unnamed file in `directory`, which vanishes by itself when the program ends before it is
// given a name; not open (and errno set) where the file system has no unnamed files, or the
// directory takes no new file.
FileDescriptor openUnnamed(const std::string& directory, mode_t mode) {
    return FileDescriptor(::open(directory.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode));
}

bool unnamedFilesUnsupported(int err) {
    return err == EOPNOTSUPP || err == EISDIR || err == EINVAL || err == ENOENT;
}

// Gives the unnamed file `fd` the name `path`; false (errno set) when that fails.
bool linkUnnamed(int fd, const std::string& path) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return true;
    // Without /proc the descriptor itself is linked, which needs a privilege.
    return ::linkat(fd, "", AT_FDCWD, path.c_str(), AT_EMPTY_PATH) == 0;
}

// Gives the unnamed file `fd` a fresh hidden name beside the target, in `tempPath`, from where
// it replaces the target in one step. False where the file cannot be linked at all.
bool nameUnnamedTemporary(int fd, const std::string& directory, const std::string& stem,
                          std::string& tempPath) {
    for (;;) {
        // mkstemp picks a free name; the link takes it over once the probe is gone.
        tempPath = directory + "/" + stem + std::string(kTempSuffixLength, 'X');
        FileDescriptor probe(::mkostemp(tempPath.data(), O_CLOEXEC));
        if (!probe) return false;
        probe.reset();
        ::unlink(tempPath.c_str());
        if (linkUnnamed(fd, tempPath)) return true;
        if (errno != EEXIST) return false;
    }
}

// A named hidden temporary beside the target, locked for as long as the save writes it (see
// removeStaleTemporaries). `tempPath` receives its name.
FileDescriptor createNamedTemporary(const std::string& directory, const std::string& stem,
                                    std::string& tempPath) {
    for (;;) {
        tempPath = directory + "/" + stem + std::string(kTempSuffixLength, 'X');
        FileDescriptor fd(::mkostemp(tempPath.data(), O_CLOEXEC));
        if (!fd) return fd;
        while (::flock(fd.get(), LOCK_EX) != 0 && errno == EINTR) {
        }
        // Another save may have taken the file for stale between its creation and the lock;
        // then it is gone, and a new one is made.
        struct stat held {};
        struct stat named {};
        if (::fstat(fd.get(), &held) == 0 && ::lstat(tempPath.c_str(), &named) == 0 &&
            held.st_dev == named.st_dev && held.st_ino == named.st_ino)
            return fd;
    }
}

void replaceRegularFile(const std::string& target, const struct stat* existing,
                        const std::function<void(TextWriter&)>& writeContent) {
    const std::string directory = directoryOf(target);
    const std::string stem = hiddenStem(target);
    const mode_t mode = existing ? (existing->st_mode & 07777) : defaultCreationMode();
    removeStaleTemporaries(directory, stem);

    // Writes the whole content to `fd` and makes sure it reached the disk.
    auto writeAll = [&](int fd) {
        ::fchmod(fd, mode);
        if (existing && ::geteuid() == 0) [[maybe_unused]]
            int ignored = ::fchown(fd, existing->st_uid, existing->st_gid);
        TextWriter writer(fd, target);
        writeContent(writer);
        writer.flush();
        // Space on many file systems is only claimed here, so "Disk full" may surface now.
        if (::fsync(fd) != 0 && errno != EINVAL) throw IoError::fromErrno(errno, target, false);
    };

    // Written unnamed first where the file system allows it, so that nothing is left behind
    // whenever the save is cut off; named and locked otherwise. A folder that takes no new
    // file refuses the save: the old file is never written over in place, where a failure
    // part-way would destroy it.
    std::string tempPath;
    FileDescriptor fd = openUnnamed(directory, mode);
    if (fd) {
        writeAll(fd.get());
        while (::flock(fd.get(), LOCK_EX) != 0 && errno == EINTR) {
        }
        if (!nameUnnamedTemporary(fd.get(), directory, stem, tempPath)) {
            // The unnamed file cannot be named here: the content is written again, named.
            fd.reset();
            tempPath.clear();
        }
    } else if (!unnamedFilesUnsupported(errno)) {
        throw IoError::fromErrno(errno, target, false);
    }
    try {
        if (!fd) {
            fd = createNamedTemporary(directory, stem, tempPath);
            if (!fd) throw IoError::fromErrno(errno, target, false);
            writeAll(fd.get());
        }
        if (::rename(tempPath.c_str(), target.c_str()) != 0)
            throw IoError::fromErrno(errno, target, false);
    } catch (...) {
        if (!tempPath.empty()) ::unlink(tempPath.c_str());
        throw;
    }
    // Closed only after the rename, so that the lock keeps the temporary from being taken for
    // stale up to the end; the content reached the disk before the rename.
    fd.reset();
}

}  // namespace

TextWriter::TextWriter(int fd, std::string path) : fd_(fd), path_(std::move(path)) {
    buffer_.reserve(kFlushThreshold + 256);
}

void TextWriter::write(std::string_view text) {
    if (buffer_.empty() && text.size() >= kFlushThreshold) return writeOut(text);  // no copy
    buffer_.append(text);
    if (buffer_.size() >= kFlushThreshold) flush();
}

void TextWriter::endLine() {
    write("\r\n");
}

void TextWriter::writeLine(std::string_view text) {
    buffer_.append(text);
    endLine();
}

void TextWriter::flush() {
    try {
        writeOut(buffer_);
    } catch (...) {
        buffer_.clear();
        throw;
    }
    buffer_.clear();
}

void TextWriter::writeOut(std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw IoError::fromErrno(errno, path_, false);
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

void saveTextFile(const std::string& path, const std::function<void(TextWriter&)>& writeContent) {
    if (path.empty()) throw IoError(IoError::kInvalidFilename);
    const std::string target = resolveLinks(path);
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) throw refused(path, "it is a folder, not a file");
        if (!S_ISREG(st.st_mode)) return writeInPlace(target, writeContent);
        // A read-only file (no write bit for anyone, as the data files are made) is never
        // replaced, even by a user whom the permission bits would not stop.
        if ((st.st_mode & 0222) == 0) throw refused(path, "the file is read-only");
        return replaceRegularFile(target, &st, writeContent);
    }
    if (errno != ENOENT) throw IoError::fromErrno(errno, target, false);
    replaceRegularFile(target, nullptr, writeContent);
}

void requireValidTypedFileName(std::string_view typedName) {
    if (typedName.empty() || typedName.find_first_of("*?") != std::string_view::npos)
        throw IoError(IoError::kInvalidFilename);
}

void copyFileTo(const std::string& path, TextWriter& out) {
    readFileInPieces(path, [&out](std::string_view piece) { out.write(piece); });
}

}  // namespace fetaldose
