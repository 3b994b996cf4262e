#pragma once
// Records message and error boxes instead of showing them, so window tests never block.

#include <QStringList>

#include "core/textio/faults.h"
#include "gui/app/messages.h"

namespace fetaldose::gui {

class RecordingMessages final : public Messages {
  public:
    void inform(const QString& text) override {
        informed << text;
        all << text;
    }
    // Records the text as the error box would show it (full stop rule applied).
    void error(const QString& faultMessage) override {
        const QString shown =
            QString::fromLocal8Bit(errorBoxText(faultMessage.toLocal8Bit().toStdString()));
        errors << shown;
        all << shown;
    }
    // Records the question and gives `answer`.
    bool confirm(const QString& question, const QString&) override {
        asked << question;
        all << question;
        return answer;
    }
    void clear() {
        informed.clear();
        errors.clear();
        asked.clear();
        all.clear();
    }

    bool answer = true;  // to every question
    QStringList asked;
    QStringList informed;
    QStringList errors;
    QStringList all;  // every kind, in the order they were shown
};

}  // namespace fetaldose::gui
