#pragma once
// The kinds of file a run's tables are written to, with their names and file extensions: one
// table for the program's dialogs, the exporters and the batch tool. Names and extensions are
// matched without regard to letter case.

#include <array>
#include <optional>
#include <string_view>

namespace fetaldose {

enum class OutputFormat {
    ResultsFile,  // the ASCII results file of "Save to file"
    Csv,
    Xlsx,
    Pdf,  // the report, drawn by the GUI
};

struct OutputFormatInfo {
    OutputFormat format;
    std::string_view name;       // as a command line gives it
    std::string_view extension;  // with its dot
    bool writtenByCore;          // the core writes it alone (no GUI library needed)
};

inline constexpr std::array<OutputFormatInfo, 4> kOutputFormats = {{
    {OutputFormat::ResultsFile, "dos", ".dos", true},
    {OutputFormat::Csv, "csv", ".csv", true},
    {OutputFormat::Xlsx, "xlsx", ".xlsx", true},
    {OutputFormat::Pdf, "pdf", ".pdf", false},
}};

const OutputFormatInfo& outputFormatInfo(OutputFormat format);

// The format of a name ("csv", "XLSX", ...); nothing for a name that is none.
std::optional<OutputFormat> outputFormatNamed(std::string_view name);

// The format a file name's extension stands for; nothing when it ends in none of them.
std::optional<OutputFormat> outputFormatOfFileName(std::string_view fileName);

}  // namespace fetaldose
