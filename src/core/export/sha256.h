#pragma once
// SHA-256 digests, for telling later which exact data files a set of exported values came from.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace fetaldose {

class Sha256 {
  public:
    Sha256();
    void update(std::string_view bytes);
    // The digest of everything given so far; the object is spent afterwards.
    std::array<std::uint8_t, 32> finish();

  private:
    void compress(const std::uint8_t* block);

    std::array<std::uint32_t, 8> state_;
    std::array<std::uint8_t, 64> block_{};
    std::size_t blockUsed_ = 0;
    std::uint64_t totalBytes_ = 0;
};

// The digest of some bytes as 64 lower-case hexadecimal digits.
std::string sha256Hex(std::string_view bytes);

// The digest of a whole file as 64 lower-case hexadecimal digits; a file that cannot be read
// throws IoError.
std::string sha256HexOfFile(const std::string& path);

}  // namespace fetaldose
