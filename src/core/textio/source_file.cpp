#include "core/textio/source_file.h"

#include <sys/stat.h>

#include <filesystem>
#include <mutex>

#include "core/textio/faults.h"
#include "core/textio/sha256.h"
#include "core/textio/text_reader.h"

namespace fetaldose {

struct SourceFile::Digest {
    std::once_flag once;
    std::string hex;
};

std::optional<FileIdentity> fileIdentityOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    FileIdentity identity;
    identity.device = static_cast<unsigned long long>(st.st_dev);
    identity.inode = static_cast<unsigned long long>(st.st_ino);
    identity.size = static_cast<long long>(st.st_size);
    identity.modifiedNs = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL +
                          static_cast<long long>(st.st_mtim.tv_nsec);
    identity.changedNs = static_cast<long long>(st.st_ctim.tv_sec) * 1000000000LL +
                         static_cast<long long>(st.st_ctim.tv_nsec);
    return identity;
}

SourceFile::SourceFile(std::string path, std::shared_ptr<const char[]> bytes, std::size_t size,
                       std::optional<FileIdentity> identity)
    : path_(std::move(path)),
      bytes_(std::move(bytes)),
      size_(size),
      identity_(identity),
      digest_(std::make_shared<Digest>()) {}

SourceFile SourceFile::read(const std::string& path, const InputCeiling& ceiling) {
    const std::optional<FileIdentity> identity = fileIdentityOf(path);
    TextReader file = TextReader::openWhole(path, ceiling);
    return SourceFile(path, file.wholeBytes(), file.wholeSize(), identity);
}

std::string SourceFile::fileName() const {
    return std::filesystem::path(path_).filename().string();
}

const std::string& SourceFile::sha256() const {
    std::call_once(digest_->once, [this] { digest_->hex = sha256Hex(bytes()); });
    return digest_->hex;
}

SourceFile SourceFile::digestOnly() const {
    sha256();
    SourceFile kept = *this;
    kept.bytes_.reset();
    kept.size_ = 0;
    return kept;
}

DiskState SourceFile::diskStateNow() const {
    const std::optional<FileIdentity> now = fileIdentityOf(path_);
    if (!now) return DiskState::Gone;
    if (identity_ && *now == *identity_) return DiskState::Unchanged;
    try {
        return sha256HexOfFile(path_) == sha256() ? DiskState::Unchanged : DiskState::Differs;
    } catch (const Fault&) {
        return DiskState::Gone;
    }
}

}  // namespace fetaldose
