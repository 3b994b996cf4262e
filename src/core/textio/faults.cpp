#include "core/textio/faults.h"

#include <sys/stat.h>
#include <cerrno>
#include <filesystem>
#include <string>

namespace fetaldose {

std::string ioMessage(int code) {
    switch (code) {
        case IoError::kFileNotFound:
            return "File not found";
        case IoError::kInvalidFilename:
            return "Invalid filename";
        case IoError::kTooManyOpenFiles:
            return "Too many open files";
        case IoError::kAccessDenied:
            return "File access denied";
        case IoError::kReadBeyondEnd:
            return "Read beyond end of file";
        case IoError::kDiskFull:
            return "Disk full";
        case IoError::kInvalidNumericInput:
            return "Invalid numeric input";
        default:
            return "I/O error " + std::to_string(code);
    }
}

IoError::IoError(int code) : IoError(code, ioMessage(code)) {}

IoError::IoError(int code, const std::string& message) : Fault(message), code_(code) {}

namespace {

bool parentDirectoryExists(const std::string& path) {
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (parent.empty()) return true;  // relative to the working directory
    struct stat st {};
    return ::stat(parent.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

IoError IoError::fromErrno(int err, const std::string& path, bool forReading) {
    switch (err) {
        case ENOENT:
            return IoError(forReading && parentDirectoryExists(path) ? kFileNotFound
                                                                     : kInvalidFilename);
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
            return IoError(kInvalidFilename);
        case EMFILE:
        case ENFILE:
            return IoError(kTooManyOpenFiles);
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
        case ETXTBSY:
            return IoError(kAccessDenied);
        case ENOSPC:
        case EDQUOT:
            return IoError(kDiskFull);
        default:
            // Unmapped system errors keep their own number, even where it collides with one
            // of the numbered codes (EIO is 5, and must not read "File access denied").
            return IoError(err, "I/O error " + std::to_string(err));
    }
}

RangeError::RangeError() : Fault("Range check error") {}

ConversionError::ConversionError(std::string_view fieldText)
    : Fault("'" + std::string(fieldText) + "' is not a valid floating point value") {}

std::string errorBoxText(std::string_view message) {
    std::string text(message);
    if (!text.empty() && static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.'))
        text += '.';
    return text;
}

}  // namespace fetaldose
