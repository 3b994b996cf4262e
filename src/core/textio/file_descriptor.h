#pragma once
// The one owner of an open file descriptor: it closes the descriptor when it goes, so that
// no path out of a function, a thrown fault included, leaves a descriptor open.

#include <unistd.h>

#include <utility>

namespace fetaldose {

class FileDescriptor {
  public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) noexcept : fd_(fd) {}
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        if (this != &other) reset(std::exchange(other.fd_, -1));
        return *this;
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() { reset(); }

    int get() const noexcept { return fd_; }
    bool isOpen() const noexcept { return fd_ >= 0; }
    explicit operator bool() const noexcept { return isOpen(); }

    // Closes the descriptor held (if any) and takes `fd` instead.
    void reset(int fd = -1) noexcept {
        if (fd_ >= 0) ::close(fd_);
        fd_ = fd;
    }

    // Closes now and returns what close returned (0, or -1 with errno set), so that a write
    // error the system reports only at close is not lost.
    int close() noexcept {
        if (fd_ < 0) return 0;
        return ::close(std::exchange(fd_, -1));
    }

  private:
    int fd_ = -1;
};

}  // namespace fetaldose
