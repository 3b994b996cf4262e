#pragma once
// Reads a finished workbook back as a spreadsheet program would, before it is given the user's
// name. The spreadsheet library builds each part of the workbook in a temporary file and does
// not notice when writing one fails (a full temporary folder): the part then goes into the zip
// cut short, with a checksum that matches the cut part. So every entry is unpacked and checked
// against its size and CRC-32, every XML part must parse to its end, and the sheet of doses
// must hold every row and every cell that was written.

#include <string>
#include <vector>

namespace fetaldose::exporting {

struct ExpectedSheet {
    std::string entryName;  // e.g. "xl/worksheets/sheet1.xml"
    long rows = 0;          // rows 1..rows, each present once, in order
    int cellsPerRow = 0;    // 0: rows may hold any number of cells
};

// Throws ExportError saying what is wrong when the workbook at `path` is not complete.
void checkWorkbook(const std::string& path, const ExpectedSheet& sheet);
// The same with several sheets, each checked as it is expected.
void checkWorkbook(const std::string& path, const std::vector<ExpectedSheet>& sheets);

}  // namespace fetaldose::exporting
