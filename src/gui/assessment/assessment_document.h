#pragma once
// The report of an assessment on paper: the leading lines of every output (provenance, each
// intake as entered with the scenarios its coefficients come from, the method, the units and
// the limit), the total doses, each intake's doses, and the limit check. Written as a PDF file
// or printed; pages are numbered.

#include <QString>
#include <string>

#include "core/assessment/assessment_report.h"

class QPrinter;

namespace fetaldose::gui {

// The report as a rich-text document (HTML that QTextDocument reads).
QString assessmentDocumentHtml(const assessment::AssessmentReport& report);

// Writes the report as an A4 PDF file by the safe save: complete before it takes the name,
// nothing left on failure. Throws IoError (or Fault when the PDF cannot be started).
void writeAssessmentPdf(const std::string& path, const assessment::AssessmentReport& report);

// Prints the report on `printer`. Throws PrintError when the printer fails.
void printAssessment(QPrinter& printer, const assessment::AssessmentReport& report);

}  // namespace fetaldose::gui
