#include "core/results/results_file.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string_view>

#include "core/results/results_texts.h"
#include "core/textio/faults.h"
#include "core/textio/text_writer.h"

namespace fetaldose {

namespace {

static_assert(kResultsFieldSeparator.size() == 1);
constexpr char kFieldSeparator = kResultsFieldSeparator.front();
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kBlockBytes =
    256 * 1024;  // well above the writer's own buffer: goes out uncopied

// The file's bytes are put together in a block of memory and handed to the writer a block at
// a time: a table is a few hundred short pieces, and a call for each would cost more than
// working out its texts.
class Block {
  public:
    explicit Block(TextWriter& out) : out_(out), bytes_(new char[kBlockBytes]) {}

    // Room for `size` more bytes, at the returned place; Used(end) then says where they end.
    char* Room(std::size_t size) {
        if (size > capacity_ - used_) {
            Flush();
            if (size > capacity_) {
                capacity_ = size;
                bytes_.reset(new char[capacity_]);
            }
        }
        return bytes_.get() + used_;
    }
    void Used(const char* end) { used_ = static_cast<std::size_t>(end - bytes_.get()); }

    void Append(std::string_view text) { Used(Copy(Room(text.size()), text)); }
    void Line(std::string_view text) {
        Used(Copy(Copy(Room(text.size() + kLineEnd.size()), text), kLineEnd));
    }
    static char* Copy(char* at, std::string_view text) {
        if (!text.empty()) std::memcpy(at, text.data(), text.size());  // may be a null view
        return at + text.size();
    }

    void Flush() {
        out_.Write(std::string_view(bytes_.get(), used_));
        used_ = 0;
    }

  private:
    TextWriter& out_;
    std::unique_ptr<char[]> bytes_;
    std::size_t capacity_ = kBlockBytes;
    std::size_t used_ = 0;
};

// One row: its label, the row's texts (each after the field separator), the line end.
template <typename WriteRow>
void Row(Block& block, std::string_view label, std::size_t rowBytes, WriteRow writeRow) {
    char* at = Block::Copy(block.Room(label.size() + rowBytes + kLineEnd.size()), label);
    block.Used(Block::Copy(writeRow(at), kLineEnd));
}

// Checked before anything is written: a missing label must not leave a short file.
void requireLabels(const ResultStore& store, const std::vector<std::string>& rowLabels,
                   const std::vector<std::string>& periodHeadings) {
    if (store.TableCount() > 0 &&
        (rowLabels.size() < static_cast<std::size_t>(store.RowCount()) ||
         periodHeadings.size() < static_cast<std::size_t>(store.PeriodCount())))
        throw RangeError();
}

void writeTables(TextWriter& out, const ResultStore& store,
                 const std::vector<std::string>& rowLabels,
                 const std::vector<std::string>& periodHeadings) {
    const int rows = store.RowCount();
    const int periods = store.PeriodCount();
    const int tables = store.TableCount();
    Block block(out);
    const std::size_t rowBytes = store.maxRowBytes();
    auto label = [&rowLabels](int r) {
        return std::string_view(rowLabels[static_cast<std::size_t>(r - 1)]);
    };
    for (int t = 1; t <= tables; ++t) {
        block.Line(store.Nuclide(t));
        block.Line(store.Group(t));
        block.Line(store.Route(t));
        block.Line(store.Scenario(t));
        block.Line(store.Summary(t));

        block.Line(kInUteroDosesLine);
        for (int r = 1; r <= rows; ++r)
            Row(block, label(r), rowBytes,
                [&](char* at) { return store.writeInUteroRow(t, r, kFieldSeparator, at); });

        block.Append(kTimePeriodsPrefix);
        for (int n = 1; n <= periods; ++n) {
            block.Append(kResultsFieldSeparator);
            block.Append(periodHeadings[static_cast<std::size_t>(n - 1)]);
        }
        block.Line({});

        block.Line(kPostNatalDosesLine);
        for (int r = 1; r <= rows; ++r)
            Row(block, label(r), rowBytes,
                [&](char* at) { return store.writePostNatalRow(t, r, kFieldSeparator, at); });
        block.Line(kOffspringDosesLine);
        for (int r = 1; r <= rows; ++r)
            Row(block, label(r), rowBytes,
                [&](char* at) { return store.writeOffspringRow(t, r, kFieldSeparator, at); });
    }
    block.Flush();
}

}  // namespace

void WriteResultsFile(const std::string& path, const ResultStore& store,
                      const std::vector<std::string>& rowLabels,
                      const std::vector<std::string>& periodHeadings) {
    requireLabels(store, rowLabels, periodHeadings);
    SaveTextFile(path,
                 [&](TextWriter& out) { writeTables(out, store, rowLabels, periodHeadings); });
}

void writeResults(TextWriter& out, const ResultStore& store,
                  const std::vector<std::string>& rowLabels,
                  const std::vector<std::string>& periodHeadings) {
    requireLabels(store, rowLabels, periodHeadings);
    writeTables(out, store, rowLabels, periodHeadings);
    out.Flush();
}

}  // namespace fetaldose
