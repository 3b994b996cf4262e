#pragma once
// Every one-line message box and every error box goes through this interface, so that tests
// can record them instead of blocking on a real box.

#include <QString>

namespace fetaldose::gui {

class Messages {
  public:
    virtual ~Messages() = default;
    // A message box with one line of text and a single OK button, no icon.
    virtual void inform(const QString& text) = 0;
    // The error box for a fault's message: error icon, single OK button, and the message
    // with a full stop after it where its last character sorts after '.' (errorBoxText).
    virtual void error(const QString& faultMessage) = 0;
    // A question with two answers, the one that keeps things as they are the default: true
    // when the user chose `proceed` (the button's text, e.g. "Discard").
    virtual bool confirm(const QString& question, const QString& proceed) = 0;
};

// Real message boxes captioned with the program file's name.
class BoxMessages final : public Messages {
  public:
    void inform(const QString& text) override;
    void error(const QString& faultMessage) override;
    bool confirm(const QString& question, const QString& proceed) override;
};

}  // namespace fetaldose::gui
