#pragma once
// "Export all tables...": the desktop's standard file dialog, offering the three kinds of file,
// and the kind of file a chosen name stands for.

#include <QString>
#include <QStringList>
#include <optional>

#include "core/run/output_format.h"

class QWidget;

namespace fetaldose::gui {

struct ExportTarget {
    QString path;
    OutputFormat format = OutputFormat::Csv;  // CSV, XLSX or the PDF report
};

// The dialog's file types, in this order: CSV, spreadsheet (XLSX), PDF report.
QStringList exportFileTypes();

// The kind of file for a name and the file type picked in the dialog: a name ending in .csv,
// .xlsx or .pdf (in any letter case) is that kind whatever type is picked; any other name is
// of the picked type.
OutputFormat exportFormatFor(const QString& fileName, const QString& pickedFileType);

// Shows the save dialog over `parent`. A name typed without an extension gets the picked
// type's. Returns nothing when the user cancels.
std::optional<ExportTarget> askExportTarget(QWidget* parent);

}  // namespace fetaldose::gui
