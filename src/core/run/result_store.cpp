#include "core/run/result_store.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/run/table_values.h"
#include "core/textio/faults.h"

// Representation. A table a run fills is a reference to its record in the data file's bytes,
// which the store keeps alive: the record's two summary lines and six value lines as views,
// 128 bytes a slot. Its dose texts are cut out of the value lines, and its offspring doses and
// summary line worked out, only when somebody asks for them; the run has checked beforehand
// that every dose it will be asked for reads as a number. So a run costs little more than
// reading its files, and the store little more than their bytes.
//
// Tables whose texts are set one by one (SetInUtero and the like) keep them in cells: a table
// at 18 rows by 5 periods holds 198 dose texts, and to keep that within 2 KB every dose text
// sits in a fixed 8-byte cell:
//  - up to 7 bytes are held in the cell itself, byte 7 giving the length (0 to 7);
//  - a longer text (a negative sum such as "-1.2E-10", or an odd field text) goes to a side
//    pool of chunks that never move, and the cell holds where: byte 7 is kPooledFlag, bytes
//    0-3 the chunk number and bytes 4-5 the offset of a 4-byte length followed by the bytes.
// Headings repeat from table to table (same nuclide, group, route, scenario and summary), so
// each distinct heading text is kept once and a slot holds five 4-byte numbers; number 0 is
// the empty text. Cells, record references and heading numbers are allocated zeroed (empty) in
// one piece each: the zeroed pages of a large, mostly unused store cost nothing until a table
// is written, and the cells not even that until the first text is set one by one.

namespace fetaldose {

namespace {

constexpr int kHeadingsPerSlot = 5;
constexpr std::size_t kCellBytes = 8;
constexpr std::size_t kInlineMax = 7;
constexpr unsigned char kPooledFlag = 0x80;
constexpr std::size_t kChunkBytes = 64 * 1024;
constexpr std::size_t kLengthBytes = sizeof(std::uint32_t);

struct Cell {
    unsigned char bytes[kCellBytes];
};
static_assert(sizeof(Cell) == kCellBytes);

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};

template <typename T>
std::unique_ptr<T[], FreeDeleter> AllocateZeroed(std::size_t count) {
    if (count == 0) return nullptr;
    void* p = std::calloc(count, sizeof(T));
    if (!p) throw std::bad_alloc();
    return std::unique_ptr<T[], FreeDeleter>(static_cast<T*>(p));
}

// Where a table filled from a record finds its texts.
struct RecordRef {
    std::string_view SummaryTissue;
    std::string_view SummaryDetail;
    std::array<std::string_view, 1 + kPeriodCount> ValueLines;  // in utero, periods 1 to 5
};

struct TransparentHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const noexcept {
        return std::hash<std::string_view>{}(text);
    }
};

}  // namespace

struct ResultStore::Impl {
    int slots = 0;
    int rows = 0;
    int periods = 0;
    int tableCount = 0;
    std::size_t cellsPerSlot = 0;
    std::unique_ptr<Cell[], FreeDeleter> cells;  // allocated at the first text set one by one
    std::unique_ptr<std::uint32_t[], FreeDeleter> headings;
    std::unique_ptr<RecordRef[], FreeDeleter> records;
    std::unique_ptr<bool[], FreeDeleter> fromRecord;

    // How slots filled from records read them: the chosen tissue rows (1 to 18) and periods
    // (1 to 5) in order, and the decimal separator; and the bytes their views point into.
    std::vector<int> fixedRows;
    std::vector<int> fixedPeriods;
    char separator = '.';
    std::vector<std::pair<std::shared_ptr<const char[]>, std::size_t>> keptBytes;

    // Interned heading texts; texts[0] is the empty text.
    std::unordered_map<std::string, std::uint32_t, TransparentHash, std::equal_to<>> ids;
    std::vector<const std::string*> texts;
    std::size_t internedBytes = 0;
    std::uint32_t lastIds[kHeadingsPerSlot] = {};

    // Side pool for long dose texts.
    std::vector<std::unique_ptr<char[]>> chunks;
    std::vector<std::size_t> chunkSizes;
    std::size_t chunkUsed = 0;

    Impl() { texts.push_back(&Empty()); }

    static const std::string& Empty() {
        static const std::string empty;
        return empty;
    }

    std::uint32_t Intern(int position, std::string_view text) {
        if (text.empty()) return 0;
        std::uint32_t& last = lastIds[position];
        if (last != 0 && *texts[last] == text) return last;
        auto found = ids.find(text);
        if (found == ids.end()) {
            if (texts.size() > std::numeric_limits<std::uint32_t>::max() - 1) throw RangeError();
            found = ids.emplace(std::string(text), static_cast<std::uint32_t>(texts.size())).first;
            texts.push_back(&found->first);
            internedBytes += found->first.capacity() + sizeof(*found) + 2 * sizeof(void*);
        }
        last = found->second;
        return last;
    }

    Cell& CellAt(int slot, std::size_t index) {
        if (!cells) cells = AllocateZeroed<Cell>(static_cast<std::size_t>(slots) * cellsPerSlot);
        return cells[static_cast<std::size_t>(slot) * cellsPerSlot + index];
    }

    std::string_view LoadCell(int slot, std::size_t index) const {
        if (!cells) return {};
        return Load(cells[static_cast<std::size_t>(slot) * cellsPerSlot + index]);
    }

    bool FromRecord(int slot) const { return fromRecord[static_cast<std::size_t>(slot)]; }
    const RecordRef& Record(int slot) const { return records[static_cast<std::size_t>(slot)]; }

    // The field of the r-th chosen row in value line `line` (0 in utero, 1 to 5 the periods),
    // as written in the file (not yet localised).
    std::string_view Field(int slot, int line, int row) const {
        return DoseRecord::Field(Record(slot).ValueLines[static_cast<std::size_t>(line)],
                                 fixedRows[static_cast<std::size_t>(row - 1)]);
    }
    int PeriodLine(int period) const { return fixedPeriods[static_cast<std::size_t>(period - 1)]; }

    void Store(Cell& cell, std::string_view text) {
        std::memset(cell.bytes, 0, kCellBytes);
        if (text.size() <= kInlineMax) {
            if (!text.empty()) std::memcpy(cell.bytes, text.data(), text.size());  // may be null
            cell.bytes[kCellBytes - 1] = static_cast<unsigned char>(text.size());
            return;
        }
        if (text.size() > std::numeric_limits<std::uint32_t>::max() - kLengthBytes)
            throw RangeError();
        const std::size_t need = kLengthBytes + text.size();
        if (need > kChunkBytes) {
            // A text too long for a chunk gets a chunk of its own; short texts then go on in
            // a fresh chunk after it.
            chunks.emplace_back(new char[need]);
            chunkSizes.push_back(need);
            WriteEntry(cell, chunks.size() - 1, 0, text);
            chunkUsed = kChunkBytes;
            return;
        }
        if (chunks.empty() || chunkUsed + need > kChunkBytes) {
            chunks.emplace_back(new char[kChunkBytes]);
            chunkSizes.push_back(kChunkBytes);
            chunkUsed = 0;
        }
        WriteEntry(cell, chunks.size() - 1, chunkUsed, text);
        chunkUsed += need;
    }

    void WriteEntry(Cell& cell, std::size_t chunk, std::size_t offset, std::string_view text) {
        if (chunk > std::numeric_limits<std::uint32_t>::max()) throw RangeError();
        char* at = chunks[chunk].get() + offset;
        const auto length = static_cast<std::uint32_t>(text.size());
        std::memcpy(at, &length, kLengthBytes);
        std::memcpy(at + kLengthBytes, text.data(), text.size());
        const auto chunkNumber = static_cast<std::uint32_t>(chunk);
        const auto offset16 = static_cast<std::uint16_t>(offset);
        std::memcpy(cell.bytes, &chunkNumber, 4);
        std::memcpy(cell.bytes + 4, &offset16, 2);
        cell.bytes[kCellBytes - 1] = kPooledFlag;
    }

    std::string_view Load(const Cell& cell) const {
        const unsigned char tag = cell.bytes[kCellBytes - 1];
        if (tag != kPooledFlag)
            return std::string_view(reinterpret_cast<const char*>(cell.bytes), tag);
        std::uint32_t chunk = 0;
        std::uint16_t offset = 0;
        std::uint32_t length = 0;
        std::memcpy(&chunk, cell.bytes, 4);
        std::memcpy(&offset, cell.bytes + 4, 2);
        const char* at = chunks[chunk].get() + offset;
        std::memcpy(&length, at, kLengthBytes);
        return std::string_view(at + kLengthBytes, length);
    }
};

void ResultStore::ImplDeleter::operator()(Impl* impl) const {
    delete impl;
}

void ResultStore::Resize(int nuclideCount, int rowCount, int periodCount) {
    if (nuclideCount < 0 || rowCount < 0 || periodCount < 0) throw RangeError();
    if (nuclideCount > (std::numeric_limits<int>::max() - 1) / kSlotsPerNuclide) throw RangeError();
    const int slots = nuclideCount * kSlotsPerNuclide + 1;
    const std::size_t rows = static_cast<std::size_t>(rowCount);
    const std::size_t cellsPerSlot = rows + 2 * rows * static_cast<std::size_t>(periodCount);
    if (cellsPerSlot != 0 &&
        static_cast<std::size_t>(slots) >
            std::numeric_limits<std::size_t>::max() / kCellBytes / cellsPerSlot)
        throw RangeError();

    // The old tables go first, so that two stores never coexist.
    impl_.reset();
    auto impl = std::unique_ptr<Impl, ImplDeleter>(new Impl);
    impl->slots = slots;
    impl->rows = rowCount;
    impl->periods = periodCount;
    impl->cellsPerSlot = cellsPerSlot;
    impl->records = AllocateZeroed<RecordRef>(static_cast<std::size_t>(slots));
    impl->fromRecord = AllocateZeroed<bool>(static_cast<std::size_t>(slots));
    impl->headings =
        AllocateZeroed<std::uint32_t>(static_cast<std::size_t>(slots) * kHeadingsPerSlot);
    impl_ = std::move(impl);
}

int ResultStore::SlotCount() const {
    return impl_ ? impl_->slots : 0;
}
int ResultStore::RowCount() const {
    return impl_ ? impl_->rows : 0;
}
int ResultStore::PeriodCount() const {
    return impl_ ? impl_->periods : 0;
}
int ResultStore::TableCount() const {
    return impl_ ? impl_->tableCount : 0;
}

void ResultStore::SetTableCount(int tableCount) {
    if (tableCount < 0 || tableCount >= std::max(SlotCount(), 1)) throw RangeError();
    if (impl_) impl_->tableCount = tableCount;
}

namespace {

void CheckSlot(const void* impl, int slot, int slots) {
    if (!impl || slot < 0 || slot >= slots) throw RangeError();
}

}  // namespace

std::string_view ResultStore::Nuclide(int slot) const {
    CheckSlot(impl_.get(), slot, SlotCount());
    return *impl_->texts[impl_->headings[static_cast<std::size_t>(slot) * kHeadingsPerSlot + 0]];
}
std::string_view ResultStore::Group(int slot) const {
    CheckSlot(impl_.get(), slot, SlotCount());
    return *impl_->texts[impl_->headings[static_cast<std::size_t>(slot) * kHeadingsPerSlot + 1]];
}
std::string_view ResultStore::Route(int slot) const {
    CheckSlot(impl_.get(), slot, SlotCount());
    return *impl_->texts[impl_->headings[static_cast<std::size_t>(slot) * kHeadingsPerSlot + 2]];
}
std::string_view ResultStore::Scenario(int slot) const {
    CheckSlot(impl_.get(), slot, SlotCount());
    return *impl_->texts[impl_->headings[static_cast<std::size_t>(slot) * kHeadingsPerSlot + 3]];
}
std::string ResultStore::Summary(int slot) const {
    CheckSlot(impl_.get(), slot, SlotCount());
    if (impl_->FromRecord(slot)) {
        const RecordRef& record = impl_->Record(slot);
        return SummaryLine(record.SummaryTissue, record.SummaryDetail);
    }
    return *impl_->texts[impl_->headings[static_cast<std::size_t>(slot) * kHeadingsPerSlot + 4]];
}

namespace {

// Index of a dose cell within its slot: the in-utero column first, then the post-natal
// grid, then the offspring grid, each row by row.
enum class DoseKind { InUtero, PostNatal, Offspring };

std::size_t CellIndex(DoseKind kind, int slot, int row, int period, int slots, int rows,
                      int periods) {
    if (slot < 0 || slot >= slots || row < 1 || row > rows) throw RangeError();
    const auto r = static_cast<std::size_t>(row - 1);
    if (kind == DoseKind::InUtero) return r;
    if (period < 1 || period > periods) throw RangeError();
    const auto p = static_cast<std::size_t>(periods);
    const std::size_t grid = static_cast<std::size_t>(rows) * p;
    const std::size_t base =
        static_cast<std::size_t>(rows) + (kind == DoseKind::Offspring ? grid : 0);
    return base + r * p + static_cast<std::size_t>(period - 1);
}

}  // namespace

std::string ResultStore::InUtero(int slot, int row) const {
    if (!impl_) throw RangeError();
    const auto& d = *impl_;
    const std::size_t cell = CellIndex(DoseKind::InUtero, slot, row, 0, d.slots, d.rows, d.periods);
    if (!d.FromRecord(slot)) return std::string(d.LoadCell(slot, cell));
    return LocaliseField(d.Field(slot, 0, row), d.separator);
}
std::string ResultStore::PostNatal(int slot, int row, int period) const {
    if (!impl_) throw RangeError();
    const auto& d = *impl_;
    const std::size_t cell =
        CellIndex(DoseKind::PostNatal, slot, row, period, d.slots, d.rows, d.periods);
    if (!d.FromRecord(slot)) return std::string(d.LoadCell(slot, cell));
    return LocaliseField(d.Field(slot, d.PeriodLine(period), row), d.separator);
}
std::string ResultStore::Offspring(int slot, int row, int period) const {
    if (!impl_) throw RangeError();
    const auto& d = *impl_;
    const std::size_t cell =
        CellIndex(DoseKind::Offspring, slot, row, period, d.slots, d.rows, d.periods);
    if (!d.FromRecord(slot)) return std::string(d.LoadCell(slot, cell));
    return OffspringDoseText(d.Field(slot, 0, row), d.Field(slot, d.PeriodLine(period), row),
                             d.separator);
}

void ResultStore::SetLayout(const std::vector<int>& rows, const std::vector<int>& periods,
                            char decimalSeparator) {
    if (!impl_ || rows.size() != static_cast<std::size_t>(impl_->rows) ||
        periods.size() != static_cast<std::size_t>(impl_->periods))
        throw RangeError();
    for (const int row : rows)
        if (row < 1 || row > kTissueRowCount) throw RangeError();
    for (const int period : periods)
        if (period < 1 || period > kPeriodCount) throw RangeError();
    impl_->fixedRows = rows;
    impl_->fixedPeriods = periods;
    impl_->separator = decimalSeparator;
}

void ResultStore::KeepBytes(std::shared_ptr<const char[]> bytes, std::size_t size) {
    if (!impl_) throw RangeError();
    if (bytes) impl_->keptBytes.emplace_back(std::move(bytes), size);
}

ResultStore::HeadingNumbers ResultStore::KeepHeadings(std::string_view nuclide,
                                                      std::string_view group,
                                                      std::string_view route,
                                                      std::string_view scenario) {
    if (!impl_) throw RangeError();
    return {impl_->Intern(0, nuclide), impl_->Intern(1, group), impl_->Intern(2, route),
            impl_->Intern(3, scenario)};
}

void ResultStore::SetRecord(int slot, const HeadingNumbers& headings, const DoseRecord& record) {
    CheckSlot(impl_.get(), slot, SlotCount());
    auto& d = *impl_;
    if (d.fixedRows.size() != static_cast<std::size_t>(d.rows)) throw RangeError();
    for (const std::uint32_t id :
         {headings.Nuclide, headings.Group, headings.Route, headings.Scenario})
        if (id >= d.texts.size()) throw RangeError();
    std::uint32_t* ids = d.headings.get() + static_cast<std::size_t>(slot) * kHeadingsPerSlot;
    ids[0] = headings.Nuclide;
    ids[1] = headings.Group;
    ids[2] = headings.Route;
    ids[3] = headings.Scenario;
    ids[4] = 0;
    RecordRef& ref = d.records[static_cast<std::size_t>(slot)];
    ref.SummaryTissue = record.SummaryTissue;
    ref.SummaryDetail = record.SummaryDetail;
    ref.ValueLines[0] = record.InUteroLine;
    for (std::size_t j = 0; j < kPeriodCount; ++j) ref.ValueLines[j + 1] = record.PostNatalLines[j];
    d.fromRecord[static_cast<std::size_t>(slot)] = true;
}

void ResultStore::SetHeadings(int slot, std::string_view nuclide, std::string_view group,
                              std::string_view route, std::string_view scenario,
                              std::string_view summary) {
    CheckSlot(impl_.get(), slot, SlotCount());
    DetachFromRecord(slot);
    std::uint32_t* ids = impl_->headings.get() + static_cast<std::size_t>(slot) * kHeadingsPerSlot;
    ids[0] = impl_->Intern(0, nuclide);
    ids[1] = impl_->Intern(1, group);
    ids[2] = impl_->Intern(2, route);
    ids[3] = impl_->Intern(3, scenario);
    ids[4] = impl_->Intern(4, summary);
}

void ResultStore::SetInUtero(int slot, int row, std::string_view text) {
    if (!impl_) throw RangeError();
    auto& d = *impl_;
    CheckSlot(impl_.get(), slot, d.slots);
    DetachFromRecord(slot);
    d.Store(d.CellAt(slot, CellIndex(DoseKind::InUtero, slot, row, 0, d.slots, d.rows, d.periods)),
            text);
}
void ResultStore::SetPostNatal(int slot, int row, int period, std::string_view text) {
    if (!impl_) throw RangeError();
    auto& d = *impl_;
    CheckSlot(impl_.get(), slot, d.slots);
    DetachFromRecord(slot);
    d.Store(d.CellAt(slot,
                     CellIndex(DoseKind::PostNatal, slot, row, period, d.slots, d.rows, d.periods)),
            text);
}
void ResultStore::SetOffspring(int slot, int row, int period, std::string_view text) {
    if (!impl_) throw RangeError();
    auto& d = *impl_;
    CheckSlot(impl_.get(), slot, d.slots);
    DetachFromRecord(slot);
    d.Store(d.CellAt(slot,
                     CellIndex(DoseKind::Offspring, slot, row, period, d.slots, d.rows, d.periods)),
            text);
}

void ResultStore::DetachFromRecord(int slot) {
    auto& d = *impl_;
    if (!d.FromRecord(slot)) return;
    // Worked out while the slot still reads its record, then stored as texts set one by one.
    const std::string summary = Summary(slot);
    for (int r = 1; r <= d.rows; ++r) {
        const std::string inUtero = InUtero(slot, r);
        d.Store(
            d.CellAt(slot, CellIndex(DoseKind::InUtero, slot, r, 0, d.slots, d.rows, d.periods)),
            inUtero);
        for (int n = 1; n <= d.periods; ++n) {
            const std::string postNatal = PostNatal(slot, r, n);
            const std::string offspring = Offspring(slot, r, n);
            d.Store(d.CellAt(slot, CellIndex(DoseKind::PostNatal, slot, r, n, d.slots, d.rows,
                                             d.periods)),
                    postNatal);
            d.Store(d.CellAt(slot, CellIndex(DoseKind::Offspring, slot, r, n, d.slots, d.rows,
                                             d.periods)),
                    offspring);
        }
    }
    d.headings[static_cast<std::size_t>(slot) * kHeadingsPerSlot + 4] = d.Intern(4, summary);
    d.fromRecord[static_cast<std::size_t>(slot)] = false;
}

std::size_t ResultStore::MemoryBytes() const {
    if (!impl_) return 0;
    const auto& d = *impl_;
    std::size_t bytes = sizeof(Impl);
    if (d.cells) bytes += static_cast<std::size_t>(d.slots) * d.cellsPerSlot * kCellBytes;
    bytes += static_cast<std::size_t>(d.slots) * (sizeof(RecordRef) + sizeof(bool));
    for (const auto& kept : d.keptBytes) bytes += kept.second;
    bytes += d.fixedRows.capacity() * sizeof(int) + d.fixedPeriods.capacity() * sizeof(int);
    bytes += static_cast<std::size_t>(d.slots) * kHeadingsPerSlot * sizeof(std::uint32_t);
    bytes += d.internedBytes + d.ids.bucket_count() * sizeof(void*);
    bytes += d.texts.capacity() * sizeof(const std::string*);
    for (const std::size_t size : d.chunkSizes) bytes += size;
    bytes += d.chunks.capacity() * sizeof(void*) + d.chunkSizes.capacity() * sizeof(std::size_t);
    return bytes;
}

}  // namespace fetaldose
