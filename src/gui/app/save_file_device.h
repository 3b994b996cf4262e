#pragma once
// A device that hands what a Qt writer (the PDF writer, an image writer) produces to the safe
// save's writer. A fault of the save is kept, the writer is told the write failed, and the
// caller throws the fault once the writer has let go of the device.

#include <QIODevice>
#include <exception>
#include <string_view>

#include "core/textio/text_writer.h"

namespace fetaldose::gui {

class SaveFileDevice final : public QIODevice {
  public:
    explicit SaveFileDevice(TextWriter& out) : out_(out) { open(QIODevice::WriteOnly); }
    // The first fault of the save, if any.
    std::exception_ptr fault;

  protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        if (fault) return -1;
        try {
            out_.write(std::string_view(data, static_cast<std::size_t>(size)));
            return size;
        } catch (...) {
            fault = std::current_exception();
            return -1;
        }
    }

  private:
    TextWriter& out_;
};

}  // namespace fetaldose::gui
