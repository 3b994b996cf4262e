#pragma once
// While it lives, no file this process writes can grow past a given size: a write beyond it
// fails (EFBIG) part-way, on any file system, instead of ending the process (SIGXFSZ is
// ignored meanwhile). Both are put back as they were when it ends.

#include <sys/resource.h>

#include <csignal>

namespace fetaldose::testing {

class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) : previousHandler_(::signal(SIGXFSZ, SIG_IGN)) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limited = saved_;
        limited.rlim_cur = bytes;
        active_ = ::setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        ::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    bool active() const { return active_; }

  private:
    rlimit saved_{};
    void (*previousHandler_)(int);
    bool active_ = false;
};

}  // namespace fetaldose::testing
