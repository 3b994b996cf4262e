#pragma once
// A file whose bytes a result was made from, as it was read: its bytes (kept alive for as long
// as anything refers to them), how it looked on disk at the time, and the SHA-256 digest of
// exactly those bytes. Later one can tell whether the file on disk is still the one read.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/textio/text_reader.h"

namespace fetaldose {

// What tells one state of a file on disk from another without reading it: a write changes the
// change time, which no user can set back.
struct FileIdentity {
    unsigned long long device = 0;
    unsigned long long inode = 0;
    long long size = 0;
    long long modifiedNs = 0;
    long long changedNs = 0;
    bool operator==(const FileIdentity&) const = default;
};

// The identity of the file at `path` now (links followed); nothing when it cannot be examined.
std::optional<FileIdentity> fileIdentityOf(const std::string& path);

// How a file on disk compares with the bytes read from it.
enum class DiskState { Unchanged, Differs, Gone };

class SourceFile {
  public:
    // `bytes` are the whole file's `size` bytes as read from `path`; `identity` is the file's
    // identity taken before it was read (nothing when it could not be taken).
    SourceFile(std::string path, std::shared_ptr<const char[]> bytes, std::size_t size,
               std::optional<FileIdentity> identity);

    // Reads the whole file at `path`, refusing one beyond the ceiling of its kind. Throws as
    // the readers do.
    static SourceFile read(const std::string& path, const InputCeiling& ceiling);

    const std::string& path() const { return path_; }
    // The last part of the path, as the folder lists it.
    std::string fileName() const;
    std::string_view bytes() const { return {bytes_.get(), size_}; }
    const std::shared_ptr<const char[]>& sharedBytes() const { return bytes_; }

    // The digest of the bytes read, as 64 lower-case hexadecimal digits; worked out the first
    // time it is asked for (by any copy), from the bytes kept, never from the disk.
    const std::string& sha256() const;

    // The file as read without its bytes: its path, identity and digest (worked out now), for
    // what must name a file long after its bytes are let go. Its bytes() are empty.
    SourceFile digestOnly() const;

    // Whether the file on disk now holds other bytes than those read, or is gone. A file
    // whose identity is unchanged is taken as unchanged; otherwise its bytes are compared by
    // digest. A file that cannot be read any more counts as gone.
    DiskState diskStateNow() const;

  private:
    struct Digest;
    std::string path_;
    std::shared_ptr<const char[]> bytes_;
    std::size_t size_ = 0;
    std::optional<FileIdentity> identity_;
    std::shared_ptr<Digest> digest_;
};

}  // namespace fetaldose
