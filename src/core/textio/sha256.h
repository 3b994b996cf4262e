#pragma once
// SHA-256 digests, for telling later which exact data files a set of exported values came from.
// The rounds are the system's cryptographic library's (OpenSSL), which uses the processor's
// SHA instructions where it has them.

#include <string>
#include <string_view>

namespace fetaldose {

// The digest of some bytes as 64 lower-case hexadecimal digits.
std::string sha256Hex(std::string_view bytes);

// The digest of a whole file as 64 lower-case hexadecimal digits; a file that cannot be read
// throws IoError.
std::string sha256HexOfFile(const std::string& path);

}  // namespace fetaldose
