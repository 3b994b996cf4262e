// The test executable's own read(): the core library's reads resolve to it at link time.
// Fortified wrappers would define read() inline, so they are kept out of this file.
#undef _FORTIFY_SOURCE

#include "broken_reads.h"

#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <climits>
#include <filesystem>
#include <string>
#include <string_view>

namespace fetaldose::testing {
namespace {

struct Armed {
    std::string path;
    int reads = 0;
    bool broke = false;
};

Armed* armed = nullptr;

void beforeRead(int fd) {
    if (armed == nullptr || armed->broke) return;
    char target[PATH_MAX];
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    const ssize_t length = ::readlink(link.c_str(), target, sizeof target);
    if (length <= 0 || std::string_view(target, static_cast<std::size_t>(length)) != armed->path)
        return;
    if (++armed->reads < 2) return;
    const int directory = ::open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory < 0) return;
    armed->broke = ::dup2(directory, fd) == fd;
    ::close(directory);
}

}  // namespace

BrokenReads::BrokenReads(const std::string& path) {
    armed = new Armed{std::filesystem::canonical(path).string()};
}

BrokenReads::~BrokenReads() {
    delete armed;
    armed = nullptr;
}

bool BrokenReads::broke() const {
    return armed != nullptr && armed->broke;
}

}  // namespace fetaldose::testing

extern "C" ssize_t read(int fd, void* buffer, size_t count) {
    fetaldose::testing::beforeRead(fd);
    return ::syscall(SYS_read, fd, buffer, count);
}

// The fortified entry point, for a core built with _FORTIFY_SOURCE.
extern "C" ssize_t __read_chk(int fd, void* buffer, size_t count, size_t /*bufferSize*/) {
    fetaldose::testing::beforeRead(fd);
    return ::syscall(SYS_read, fd, buffer, count);
}
