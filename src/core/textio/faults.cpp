#include "core/textio/faults.h"

#include <sys/stat.h>
#include <cerrno>
#include <cstring>
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
        default: {
            // Unmapped system errors keep their own number, even where it collides with one
            // of the numbered codes (EIO is 5, and must not read "File access denied"); the
            // detail says in words what the number means.
            IoError fault(err, "I/O error " + std::to_string(err));
            fault.explain(err == ENXIO ? std::string("no program is reading from this pipe or "
                                                     "device")
                                       : "the system reports: " + std::string(std::strerror(err)));
            return fault;
        }
    }
}

Fault::Fault(const std::string& file, const std::string& message)
    : std::runtime_error(file + ": " + message), file_(file), messageNamesFile_(true) {}

void Fault::locate(const std::string& file, int line) {
    if (!file_.empty()) return;
    file_ = file;
    line_ = line;
}

void Fault::explain(std::string detail) {
    if (detail_.empty()) detail_ = std::move(detail);
}

std::string faultReport(const Fault& fault, bool withLine) {
    if (fault.messageNamesFile()) return fault.what();
    std::string report;
    if (!fault.file().empty()) {
        report = fault.file();
        if (withLine && fault.line() > 0) report += ':' + std::to_string(fault.line());
        report += ": ";
    }
    report += fault.what();
    if (!fault.detail().empty()) report += " (" + fault.detail() + ")";
    return report;
}

std::string sizeInWords(unsigned long long bytes) {
    constexpr unsigned long long kMiB = 1024ULL * 1024;
    constexpr unsigned long long kGiB = 1024 * kMiB;
    const auto inUnits = [](unsigned long long value, unsigned long long unit, const char* name) {
        if (value % unit == 0) return std::to_string(value / unit) + ' ' + name;
        // One decimal, rounded down, so that a size just over a ceiling never reads as it.
        const unsigned long long tenths = value / (unit / 10);
        return std::to_string(tenths / 10) + '.' + std::to_string(tenths % 10) + ' ' + name;
    };
    if (bytes >= kGiB) return inUnits(bytes, kGiB, "GB");
    if (bytes >= kMiB) return inUnits(bytes, kMiB, "MB");
    return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
}

InputTooLarge::InputTooLarge(const std::string& file, std::string_view kind,
                             unsigned long long size, unsigned long long ceiling)
    : Fault(file, "too large for " + std::string(kind) + ": " + sizeInWords(size) + ", where " +
                      std::string(kind) + " is at most " + sizeInWords(ceiling)) {}

OutputIsInput::OutputIsInput(const std::string& output, const std::string& input)
    : Fault(output,
            "not written, as it is the same file as " + input + ", which is read as input") {}

RangeError::RangeError() : Fault("Range check error") {}

ConversionError::ConversionError(std::string_view fieldText)
    : Fault("'" + std::string(fieldText) + "' is not a valid floating point value"),
      fieldText_(fieldText) {}

std::string errorBoxText(std::string_view message) {
    std::string text(message);
    if (!text.empty() && static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.'))
        text += '.';
    return text;
}

}  // namespace fetaldose
