#include "core/export/sha256.h"

#include <fcntl.h>
#include <openssl/evp.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <new>
#include <vector>

#include "core/textio/faults.h"
#include "core/textio/file_descriptor.h"

namespace fetaldose {

namespace {

// One digest being worked out. The library fails only when it cannot get memory.
class Digest {
  public:
    Digest() : context_(EVP_MD_CTX_new()) {
        if (!context_ || EVP_DigestInit_ex(context_.get(), EVP_sha256(), nullptr) != 1)
            throw std::bad_alloc();
    }
    void update(const void* bytes, std::size_t size) {
        if (EVP_DigestUpdate(context_.get(), bytes, size) != 1) throw std::bad_alloc();
    }
    std::string hex() {
        unsigned char digest[EVP_MAX_MD_SIZE];
        unsigned int size = 0;
        if (EVP_DigestFinal_ex(context_.get(), digest, &size) != 1) throw std::bad_alloc();
        static constexpr char kDigits[] = "0123456789abcdef";
        std::string text;
        text.reserve(2 * size);
        for (unsigned int i = 0; i < size; ++i) {
            text += kDigits[digest[i] >> 4];
            text += kDigits[digest[i] & 0x0f];
        }
        return text;
    }

  private:
    struct Free {
        void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
    };
    std::unique_ptr<EVP_MD_CTX, Free> context_;
};

}  // namespace

std::string sha256Hex(std::string_view bytes) {
    Digest digest;
    digest.update(bytes.data(), bytes.size());
    return digest.hex();
}

std::string sha256HexOfFile(const std::string& path) {
    const FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd) throw IoError::fromErrno(errno, path, true);
    Digest digest;
    std::vector<char> buffer(1 << 18);
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer.data(), buffer.size());
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            throw IoError::fromErrno(errno, path, true);
        }
        digest.update(buffer.data(), static_cast<std::size_t>(n));
    }
    return digest.hex();
}

}  // namespace fetaldose
