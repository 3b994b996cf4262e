#include "core/assessment/intakes_file.h"

#include "core/assessment/assessment_texts.h"
#include "core/export/csv_field.h"
#include "core/textio/source_file.h"
#include "core/textio/text_encoding.h"
#include "core/textio/text_writer.h"

namespace fetaldose::assessment {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// Reads the records of a CSV text one at a time, counting lines.
class RecordReader {
  public:
    RecordReader(std::string_view text, const std::string& fileName)
        : text_(text), fileName_(fileName) {}

    bool atEnd() const { return at_ >= text_.size(); }
    // The line the next record starts on.
    int line() const { return line_; }
    // Whether the next line is a comment or blank, which is then skipped.
    bool skipCommentOrBlank() {
        const std::size_t end = lineEnd(at_);
        const std::string_view content = text_.substr(at_, end - at_);
        if (!content.empty() && content.front() != kCommentMark) return false;
        step(end);
        return true;
    }
    std::vector<std::string> record() {
        const int start = line_;
        std::vector<std::string> fields(1);
        while (true) {
            std::string& field = fields.back();
            if (at_ < text_.size() && text_[at_] == '"') {
                ++at_;
                while (true) {
                    if (at_ >= text_.size()) fail(start, kUnclosedQuote);
                    const char c = text_[at_++];
                    if (c == '"') {
                        if (at_ < text_.size() && text_[at_] == '"') {
                            field += '"';
                            ++at_;
                            continue;
                        }
                        break;
                    }
                    if (c == '\n') ++line_;
                    field += c;
                }
                if (at_ < text_.size() && text_[at_] != ',' && text_[at_] != '\r' &&
                    text_[at_] != '\n')
                    fail(start, kAfterQuote);
            } else {
                while (at_ < text_.size() && text_[at_] != ',' && text_[at_] != '\r' &&
                       text_[at_] != '\n') {
                    if (text_[at_] == '"') fail(start, kStrayQuote);
                    field += text_[at_++];
                }
            }
            if (at_ < text_.size() && text_[at_] == ',') {
                ++at_;
                fields.emplace_back();
                continue;
            }
            step(lineEnd(at_));
            return fields;
        }
    }
    [[noreturn]] void fail(int line, std::string_view problem) const {
        throw IntakesFileError(fileName_, line, std::string(problem));
    }

  private:
    std::size_t lineEnd(std::size_t from) const {
        const std::size_t end = text_.find_first_of("\r\n", from);
        return end == std::string_view::npos ? text_.size() : end;
    }
    // Moves past the line end at `end` (CR LF, CR or LF).
    void step(std::size_t end) {
        at_ = end;
        if (at_ < text_.size() && text_[at_] == '\r') ++at_;
        if (at_ < text_.size() && text_[at_] == '\n') ++at_;
        ++line_;
    }

    std::string_view text_;
    const std::string& fileName_;
    std::size_t at_ = 0;
    int line_ = 1;
};

std::string trimmedField(std::string_view field) {
    return toUtf8(trimBlanks(field));
}

}  // namespace

IntakesFileError::IntakesFileError(const std::string& file, int line, const std::string& problem)
    : Fault(file, std::string(kLineWord) + std::to_string(line) + ": " + problem) {}

IntakeList parseIntakes(std::string_view bytes, const std::string& fileName) {
    if (bytes.substr(0, kUtf8Mark.size()) == kUtf8Mark) bytes.remove_prefix(kUtf8Mark.size());
    RecordReader reader(bytes, fileName);
    while (!reader.atEnd() && reader.skipCommentOrBlank()) {
    }
    if (reader.atEnd()) reader.fail(reader.line(), kNoHeader);
    const int headerLine = reader.line();
    const std::vector<std::string> header = reader.record();
    if (header.size() < kIntakeColumns.size()) reader.fail(headerLine, kWrongHeader);
    for (std::size_t c = 0; c < kIntakeColumns.size(); ++c)
        if (trimBlanks(header[c]) != kIntakeColumns[c]) reader.fail(headerLine, kWrongHeader);

    IntakeList list;
    for (std::size_t c = kIntakeColumns.size(); c < header.size(); ++c)
        list.extraColumns.push_back(trimmedField(header[c]));
    while (!reader.atEnd()) {
        if (reader.skipCommentOrBlank()) continue;
        IntakeEntry entry;
        entry.line = reader.line();
        std::vector<std::string> fields = reader.record();
        if (fields.size() < kIntakeColumns.size()) reader.fail(entry.line, kTooFewFields);
        if (fields.size() > header.size()) reader.fail(entry.line, kTooManyFields);
        entry.nuclide = trimmedField(fields[0]);
        entry.group = trimmedField(fields[1]);
        entry.route = trimmedField(fields[2]);
        entry.time = trimmedField(fields[3]);
        entry.activity = trimmedField(fields[4]);
        entry.unit = trimmedField(fields[5]);
        for (std::size_t c = kIntakeColumns.size(); c < fields.size(); ++c)
            entry.extra.push_back(toUtf8(fields[c]));
        // A line shorter than the header keeps its place in every further column.
        entry.extra.resize(list.extraColumns.size());
        list.intakes.push_back(std::move(entry));
    }
    return list;
}

IntakeList readIntakesFile(const std::string& path) {
    const SourceFile file = SourceFile::read(path, kIntakesFileCeiling);
    return parseIntakes(file.bytes(), path);
}

std::string intakesFileText(const IntakeList& intakes) {
    std::string text;
    const auto endRecord = [&] { text += "\r\n"; };
    for (std::size_t c = 0; c < kIntakeColumns.size(); ++c) {
        if (c > 0) text += ',';
        text += kIntakeColumns[c];
    }
    for (const std::string& name : intakes.extraColumns) {
        text += ',';
        exporting::appendCsvField(text, name);
    }
    endRecord();
    for (const IntakeEntry& entry : intakes.intakes) {
        // A record whose first field begins with the comment mark has it quoted, or it would
        // read back as a comment.
        if (!entry.nuclide.empty() && entry.nuclide.front() == kCommentMark) {
            text += '"';
            for (const char c : entry.nuclide)
                text += c == '"' ? std::string("\"\"") : std::string(1, c);
            text += '"';
        } else {
            exporting::appendCsvField(text, entry.nuclide);
        }
        for (const std::string* field :
             {&entry.group, &entry.route, &entry.time, &entry.activity, &entry.unit}) {
            text += ',';
            exporting::appendCsvField(text, *field);
        }
        for (std::size_t c = 0; c < intakes.extraColumns.size(); ++c) {
            text += ',';
            if (c < entry.extra.size()) exporting::appendCsvField(text, entry.extra[c]);
        }
        endRecord();
    }
    return text;
}

void writeIntakesFile(const std::string& path, const IntakeList& intakes) {
    const std::string text = intakesFileText(intakes);
    saveTextFile(path, [&](TextWriter& out) { out.write(text); });
}

}  // namespace fetaldose::assessment
