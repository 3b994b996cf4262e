#include <fcntl.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "core/refdata/catalogue.h"
#include "core/textio/file_descriptor.h"

namespace fetaldose {

namespace {

// Read-only on this platform means no write bit for anyone: mode 0444.
constexpr mode_t kExactlyReadOnly = 0444;

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Makes the regular file `path` names in its own directory exactly read-only, never through a
// symbolic link: a link, and anything that is no regular file, is left alone.
void changeRegularFileNoFollow(const std::string& path) {
    const std::filesystem::path whole(path);
    const std::string name = whole.filename().string();
    if (name.empty() || name == "." || name == "..") return;
    const std::filesystem::path parent = whole.parent_path();
    const FileDescriptor directory(
        ::open(parent.empty() ? "." : parent.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!directory) return;
    // First only the place, which neither follows a link nor opens a device or a pipe.
    const FileDescriptor place(
        ::openat(directory.get(), name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    struct stat placed {};
    if (!place || ::fstat(place.get(), &placed) != 0 || !S_ISREG(placed.st_mode)) return;
    const FileDescriptor file(
        ::openat(directory.get(), name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat opened {};
    if (file && ::fstat(file.get(), &opened) == 0 && sameFile(placed, opened)) {
        ::fchmod(file.get(), kExactlyReadOnly);
        return;
    }
    // A file its owner may not read is changed through its place, whose /proc entry names
    // that very file.
    if (!file) ::chmod(("/proc/self/fd/" + std::to_string(place.get())).c_str(), kExactlyReadOnly);
}

class SystemAttributes final : public FileAttributes {
  public:
    bool isExactlyReadOnly(const std::string& path) override {
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
               (st.st_mode & 07777) == kExactlyReadOnly;
    }
    // Changes only the regular file the path names in its directory: a symbolic link is left
    // alone and never followed, so no file elsewhere is made read-only through it.
    void makeExactlyReadOnly(const std::string& path) override { changeRegularFileNoFollow(path); }
};

}  // namespace

FileAttributes& systemFileAttributes() {
    static SystemAttributes attributes;
    return attributes;
}

}  // namespace fetaldose
