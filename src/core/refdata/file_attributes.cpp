#include <sys/stat.h>

#include "core/refdata/catalogue.h"

namespace fetaldose {

namespace {

// Read-only on this platform means no write bit for anyone: mode 0444.
constexpr mode_t kExactlyReadOnly = 0444;

class SystemAttributes final : public FileAttributes {
  public:
    bool IsExactlyReadOnly(const std::string& path) override {
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
               (st.st_mode & 07777) == kExactlyReadOnly;
    }
    void MakeExactlyReadOnly(const std::string& path) override {
        struct stat st {};
        if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode))
            ::chmod(path.c_str(), kExactlyReadOnly);
    }
};

}  // namespace

FileAttributes& SystemFileAttributes() {
    static SystemAttributes attributes;
    return attributes;
}

}  // namespace fetaldose
