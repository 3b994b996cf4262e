#include "core/export/workbook_file.h"

#include <algorithm>
#include <new>
#include <string_view>
#include <utility>

#include "core/export/export_texts.h"
#include "core/export/table_export.h"
#include "core/textio/text_writer.h"

namespace fetaldose::exporting {

namespace {

// A sheet cell takes at most this many bytes.
constexpr std::size_t kCellTextLimit = 32767;
constexpr double kProvenanceColumnWidth = 120;

[[noreturn]] void fail(lxw_error error) {
    throw ExportError(std::string(kSpreadsheetFailure) + lxw_strerror(error));
}

}  // namespace

Workbook::Workbook(const std::string& path, const std::string& scratchFolder)
    : scratchFolder_(scratchFolder) {
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;  // rows go to disk as they are written
    options.tmpdir = scratchFolder_.data();
    options.use_zip64 = LXW_TRUE;
    workbook_ = workbook_new_opt(path.c_str(), &options);
    if (!workbook_) throw std::bad_alloc();
}

Workbook::~Workbook() {
    lxw_workbook_free(workbook_);
}

lxw_worksheet* Workbook::addSheet(const std::string& name) {
    lxw_worksheet* sheet = workbook_add_worksheet(workbook_, name.c_str());
    if (!sheet) throw std::bad_alloc();
    return sheet;
}

void Workbook::close() {
    const lxw_error error = workbook_close(std::exchange(workbook_, nullptr));
    if (error != LXW_NO_ERROR) fail(error);
}

void check(lxw_error error) {
    if (error != LXW_NO_ERROR) fail(error);
}

void writeLinesSheet(lxw_worksheet* sheet, const std::vector<std::string>& lines) {
    check(worksheet_set_column(sheet, 0, 0, kProvenanceColumnWidth, nullptr));
    lxw_row_t row = 0;
    for (const std::string& text : lines) {
        std::string_view rest = text;
        do {
            std::size_t cut = std::min(rest.size(), kCellTextLimit);
            while (cut < rest.size() && cut > 0 &&
                   (static_cast<unsigned char>(rest[cut]) & 0xC0) == 0x80)
                --cut;
            check(worksheet_write_string(sheet, row++, 0, std::string(rest.substr(0, cut)).c_str(),
                                         nullptr));
            rest.remove_prefix(cut);
        } while (!rest.empty());
    }
}

void saveFinishedWorkbook(const std::string& scratchPath, const std::string& path) {
    saveTextFile(path, [&](TextWriter& out) { copyFileTo(scratchPath, out); });
}

}  // namespace fetaldose::exporting
