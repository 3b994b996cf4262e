#include "core/textio/sha256.h"

#include <openssl/evp.h>

#include <memory>
#include <new>
#include <string_view>

#include "core/textio/text_reader.h"

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
    Digest digest;
    readFileInPieces(
        path, [&digest](std::string_view piece) { digest.update(piece.data(), piece.size()); });
    return digest.hex();
}

}  // namespace fetaldose
