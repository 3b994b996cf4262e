#pragma once
// The faults the core raises. Each carries the exact text the user sees; the GUI shows it in
// the error box (see errorBoxText), so nothing here is ever reworded on the way out.

#include <stdexcept>
#include <string>
#include <string_view>

namespace fetaldose {

// Base of every fault that ends an event handler and is reported in the error box.
// Beside its message (the program's own text, never reworded) a fault may say which file
// and line it concerns and, where the message alone says too little, what went wrong in
// plain words; the command-line tool reports them all (faultReport).
class Fault : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;

    const std::string& file() const noexcept { return file_; }
    int line() const noexcept { return line_; }
    const std::string& detail() const noexcept { return detail_; }

    // Notes the file (and line, 0 for none) the fault concerns. The first place noted
    // stays: the reader that failed knows it best.
    void locate(const std::string& file, int line = 0);
    // Notes what went wrong in plain words, unless that is said already.
    void explain(std::string detail);
    // Whether the message begins with the file's name already.
    bool messageNamesFile() const noexcept { return messageNamesFile_; }

  protected:
    // For faults whose message begins with the file's name already.
    Fault(const std::string& file, const std::string& message);

  private:
    std::string file_;
    std::string detail_;
    int line_ = 0;
    bool messageNamesFile_ = false;
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

// A file larger than any valid file of its kind can be, refused before it is read whole:
// "<file>: too large for <kind>: <size>, where <kind> is at most <ceiling>".
class InputTooLarge : public Fault {
  public:
    InputTooLarge(const std::string& file, std::string_view kind, unsigned long long size,
                  unsigned long long ceiling);
};

// An output that would replace a file the same run reads (the same file after links are
// followed): "<output>: not written, as it is the same file as <input>, which is read ...".
class OutputIsInput : public Fault {
  public:
    OutputIsInput(const std::string& output, const std::string& input);
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
    // The field as it stood in the file.
    const std::string& fieldText() const noexcept { return fieldText_; }

  private:
    std::string fieldText_;
};

// A fault as a command-line tool reports it: "<file>:<line>: <message> (<detail>)", each
// part only where known, and the message alone where it names its file itself.
// `withLine` false leaves the line out, for a report that names the line otherwise.
std::string faultReport(const Fault& fault, bool withLine = true);

// A byte count in the words of a message: "812 bytes", "64 MB", "8.0 GB" (binary units).
std::string sizeInWords(unsigned long long bytes);

// The message text for an I/O code.
std::string ioMessage(int code);

// The text of the error box for a fault's message: a full stop is appended when the last
// character sorts after '.' in character-code order (letters and digits do).
std::string errorBoxText(std::string_view message);

}  // namespace fetaldose
