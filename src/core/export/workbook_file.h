#pragma once
// The pieces every workbook the program writes shares: the library's workbook, built in a
// scratch folder with rows going to disk as they are written; its failures as ExportError; the
// sheet of provenance lines; and the copy of the finished, checked workbook under the user's
// name by the safe save.

#include <xlsxwriter.h>

#include <string>
#include <vector>

namespace fetaldose::exporting {

class Workbook {
  public:
    // A workbook at `path`, its library's temporary files in `scratchFolder`.
    Workbook(const std::string& path, const std::string& scratchFolder);
    // A workbook given up on is freed without being written.
    ~Workbook();
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;
    lxw_workbook* get() const { return workbook_; }
    // A sheet of that name; never null.
    lxw_worksheet* addSheet(const std::string& name);
    // Writes the file; throws ExportError with the library's reason.
    void close();

  private:
    std::string scratchFolder_;
    lxw_workbook* workbook_ = nullptr;
};

// Throws ExportError with the library's reason for anything but success.
void check(lxw_error error);

// Writes the lines one to a row in column A of `sheet`, a line longer than a cell holds going
// on over the rows below it (never cut inside a UTF-8 sequence).
void writeLinesSheet(lxw_worksheet* sheet, const std::vector<std::string>& lines);

// Copies the finished workbook under the user's name by the safe save.
void saveFinishedWorkbook(const std::string& scratchPath, const std::string& path);

}  // namespace fetaldose::exporting
