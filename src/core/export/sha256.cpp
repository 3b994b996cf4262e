#include "core/export/sha256.h"

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <vector>

#include "core/textio/faults.h"
#include "core/textio/file_descriptor.h"

namespace fetaldose {

namespace {

constexpr std::array<std::uint32_t, 64> kRoundConstants = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

constexpr std::uint32_t rotateRight(std::uint32_t x, int n) {
    return (x >> n) | (x << (32 - n));
}

}  // namespace

Sha256::Sha256()
    : state_{0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
             0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19} {}

void Sha256::compress(const std::uint8_t* block) {
    // The message schedule is kept as a ring of 16 words, worked out as the rounds need them;
    // the rounds rotate the roles of the eight working variables instead of moving them.
    std::uint32_t w[16];
    for (std::size_t i = 0; i < 16; ++i)
        w[i] = (std::uint32_t{block[4 * i]} << 24) | (std::uint32_t{block[4 * i + 1]} << 16) |
               (std::uint32_t{block[4 * i + 2]} << 8) | std::uint32_t{block[4 * i + 3]};
    std::uint32_t v[8];
    for (std::size_t i = 0; i < 8; ++i) v[i] = state_[i];
    const auto round = [&w, &kRoundConstants = kRoundConstants](
                           std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t& d,
                           std::uint32_t e, std::uint32_t f, std::uint32_t g, std::uint32_t& h,
                           std::size_t i) {
        std::uint32_t word;
        if (i < 16) {
            word = w[i];
        } else {
            const std::uint32_t w15 = w[(i - 15) & 15];
            const std::uint32_t w2 = w[(i - 2) & 15];
            const std::uint32_t s0 = rotateRight(w15, 7) ^ rotateRight(w15, 18) ^ (w15 >> 3);
            const std::uint32_t s1 = rotateRight(w2, 17) ^ rotateRight(w2, 19) ^ (w2 >> 10);
            word = w[i & 15] += s0 + w[(i - 7) & 15] + s1;
        }
        const std::uint32_t t1 = h + (rotateRight(e, 6) ^ rotateRight(e, 11) ^ rotateRight(e, 25)) +
                                 ((e & f) ^ (~e & g)) + kRoundConstants[i] + word;
        const std::uint32_t t2 = (rotateRight(a, 2) ^ rotateRight(a, 13) ^ rotateRight(a, 22)) +
                                 ((a & b) ^ (a & c) ^ (b & c));
        d += t1;
        h = t1 + t2;
    };
    for (std::size_t i = 0; i < 64; i += 8) {
        round(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], i);
        round(v[7], v[0], v[1], v[2], v[3], v[4], v[5], v[6], i + 1);
        round(v[6], v[7], v[0], v[1], v[2], v[3], v[4], v[5], i + 2);
        round(v[5], v[6], v[7], v[0], v[1], v[2], v[3], v[4], i + 3);
        round(v[4], v[5], v[6], v[7], v[0], v[1], v[2], v[3], i + 4);
        round(v[3], v[4], v[5], v[6], v[7], v[0], v[1], v[2], i + 5);
        round(v[2], v[3], v[4], v[5], v[6], v[7], v[0], v[1], i + 6);
        round(v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[0], i + 7);
    }
    for (std::size_t i = 0; i < 8; ++i) state_[i] += v[i];
}

void Sha256::update(std::string_view bytes) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data());
    std::size_t left = bytes.size();
    totalBytes_ += left;
    if (blockUsed_ > 0) {
        const std::size_t take = std::min(left, block_.size() - blockUsed_);
        std::copy(p, p + take, block_.begin() + static_cast<std::ptrdiff_t>(blockUsed_));
        blockUsed_ += take;
        p += take;
        left -= take;
        if (blockUsed_ < block_.size()) return;
        compress(block_.data());
        blockUsed_ = 0;
    }
    for (; left >= block_.size(); p += block_.size(), left -= block_.size()) compress(p);
    std::copy(p, p + left, block_.begin());
    blockUsed_ = left;
}

std::array<std::uint8_t, 32> Sha256::finish() {
    const std::uint64_t bits = totalBytes_ * 8;
    const std::uint8_t one = 0x80;
    update(std::string_view(reinterpret_cast<const char*>(&one), 1));
    const std::array<char, 64> zeros{};
    const std::size_t padding = (blockUsed_ <= 56 ? 56 : 120) - blockUsed_;
    update(std::string_view(zeros.data(), padding));
    std::array<char, 8> length{};
    for (std::size_t i = 0; i < 8; ++i) length[i] = static_cast<char>(bits >> (56 - 8 * i));
    update(std::string_view(length.data(), length.size()));
    std::array<std::uint8_t, 32> digest{};
    for (std::size_t i = 0; i < 8; ++i)
        for (std::size_t j = 0; j < 4; ++j)
            digest[4 * i + j] = static_cast<std::uint8_t>(state_[i] >> (24 - 8 * j));
    return digest;
}

namespace {

std::string hex(const std::array<std::uint8_t, 32>& digest) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(64);
    for (const std::uint8_t byte : digest) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0f];
    }
    return text;
}

}  // namespace

std::string sha256Hex(std::string_view bytes) {
    Sha256 hash;
    hash.update(bytes);
    return hex(hash.finish());
}

std::string sha256HexOfFile(const std::string& path) {
    const FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd) throw IoError::fromErrno(errno, path, true);
    Sha256 hash;
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer.data(), buffer.size());
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            throw IoError::fromErrno(errno, path, true);
        }
        hash.update(std::string_view(buffer.data(), static_cast<std::size_t>(n)));
    }
    return hex(hash.finish());
}

}  // namespace fetaldose
