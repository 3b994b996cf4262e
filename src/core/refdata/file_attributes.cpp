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

// The file `path` names within its own directory, never through a symbolic link: a link, or a
// file that is no regular file, is not opened. Opened for reading where the file can be read,
// else only as a place (which fchmod cannot use, but its /proc entry can).
FileDescriptor OpenRegularFileNoFollow(const std::string& path, bool& placeOnly) {
    const std::filesystem::path whole(path);
    const std::string name = whole.filename().string();
    if (name.empty() || name == "." || name == "..") return {};
    const std::string directoryPath =
        whole.parent_path().empty() ? "." : whole.parent_path().string();
    const FileDescriptor directory(::open(directoryPath.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!directory) return {};
    placeOnly = false;
    FileDescriptor fd(
        ::openat(directory.get(), name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!fd && errno == EACCES) {
        placeOnly = true;
        fd.reset(::openat(directory.get(), name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    }
    struct stat st {};
    if (!fd || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
    return fd;
}

class SystemAttributes final : public FileAttributes {
  public:
    bool IsExactlyReadOnly(const std::string& path) override {
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
               (st.st_mode & 07777) == kExactlyReadOnly;
    }
    // Changes only the regular file the path names in its directory: a symbolic link is left
    // alone and never followed, so no file elsewhere is made read-only through it.
    void MakeExactlyReadOnly(const std::string& path) override {
        bool placeOnly = false;
        const FileDescriptor fd = OpenRegularFileNoFollow(path, placeOnly);
        if (!fd) return;
        if (!placeOnly) {
            ::fchmod(fd.get(), kExactlyReadOnly);
            return;
        }
        const std::string self = "/proc/self/fd/" + std::to_string(fd.get());
        ::chmod(self.c_str(), kExactlyReadOnly);
    }
};

}  // namespace

FileAttributes& SystemFileAttributes() {
    static SystemAttributes attributes;
    return attributes;
}

}  // namespace fetaldose
