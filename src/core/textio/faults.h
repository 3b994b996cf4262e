#pragma once
// The faults the core raises. Each carries the exact text the user sees; the GUI shows it in
// the error box (see errorBoxText), so nothing here is ever reworded on the way out.

#include <stdexcept>
#include <string>
#include <string_view>

namespace fetaldose {

// Base of every fault that ends an event handler and is reported in the error box.
class Fault : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Input/output fault with a program-wide number that fixes its message (the same on every
// system, so that messages and files stay comparable): 2 "File not found", 3 "Invalid filename", 4
// "Too many open files", 5 "File access denied", 100 "Read beyond end of file", 101 "Disk full",
// 106 "Invalid numeric input", and "I/O error N" for any other code.
class IoError : public Fault {
  public:
    static constexpr int kFileNotFound = 2;
    static constexpr int kInvalidFilename = 3;
    static constexpr int kTooManyOpenFiles = 4;
    static constexpr int kAccessDenied = 5;
    static constexpr int kReadBeyondEnd = 100;
    static constexpr int kDiskFull = 101;
    static constexpr int kInvalidNumericInput = 106;

    // A fault with one of the numbered codes above (or any other number).
    explicit IoError(int code);

    // A fault from a failed system call. `forReading` tells an open for reading, where a
    // missing file is "File not found"; elsewhere a missing path is an invalid name.
    static IoError fromErrno(int err, const std::string& path, bool forReading);

    int code() const noexcept { return code_; }

  private:
    IoError(int code, const std::string& message);
    int code_;
};

// A value stored beyond a fixed capacity.
class RangeError : public Fault {
  public:
    RangeError();
};

// A dose field that does not read as a number.
class ConversionError : public Fault {
  public:
    explicit ConversionError(std::string_view fieldText);
};

// The message text for an I/O code.
std::string ioMessage(int code);

// The text of the error box for a fault's message: a full stop is appended when the last
// character sorts after '.' in character-code order (letters and digits do).
std::string errorBoxText(std::string_view message);

}  // namespace fetaldose
