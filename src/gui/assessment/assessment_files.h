#pragma once
// Where the assessment window's files go: the desktop's standard file dialogs for opening and
// saving an intakes file and for exporting the result, behind one function tests replace.

#include <QString>
#include <functional>
#include <optional>

#include "core/run/output_format.h"

class QWidget;

namespace fetaldose::gui {

enum class AssessmentFileKind { OpenIntakes, SaveIntakes, Export };

struct AssessmentFileChoice {
    QString path;
    OutputFormat format = OutputFormat::Csv;  // of an export: CSV, XLSX or the PDF report
};

// Asks for a file of the kind over `parent`; nothing when the user cancels.
using AssessmentFileChooser =
    std::function<std::optional<AssessmentFileChoice>(QWidget* parent, AssessmentFileKind kind)>;

// The desktop's dialogs. An export's kind is its name's extension (.csv, .xlsx, .pdf in any
// letter case), or else the file type picked, whose extension a name without one gets.
std::optional<AssessmentFileChoice> askAssessmentFile(QWidget* parent, AssessmentFileKind kind);

}  // namespace fetaldose::gui
