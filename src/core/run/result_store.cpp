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

// Representation. A table is a reference to its record in the data file's bytes, which the
// store keeps alive: the record's two summary lines and six value lines as views, 128 bytes a
// slot. Its dose texts are cut out of the value lines, and its offspring doses and summary
// line worked out, only when somebody asks for them; the run has checked beforehand that
// every dose it will be asked for reads as a number. So a run costs little more than reading
// its files, and the store little more than their bytes.
// Headings repeat from table to table (same nuclide, group, route and scenario), so each
// distinct heading text is kept once and a slot holds four 4-byte numbers; number 0 is the
// empty text. Record references, heading numbers and slot states are allocated zeroed (empty)
// in one piece each: the zeroed pages of a large, mostly unused store cost nothing until a
// table is written.

namespace fetaldose {

namespace {

constexpr int kHeadingsPerSlot = 4;
constexpr std::size_t kFieldSlot = 8;  // a field of a value line and the blank after it
// The longest dose text a slot gives: a field is 7 bytes, a computed dose at most 11.
constexpr std::size_t kMaxDoseText = 16;

// The large per-run arrays come zeroed from calloc, whose fresh pages cost nothing until a
// slot is written; a plain vector would touch every page to zero it.
struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};

template <typename T>
std::unique_ptr<T[], FreeDeleter> allocateZeroed(std::size_t count) {
    if (count == 0) return nullptr;
    void* p = std::calloc(count, sizeof(T));
    if (!p) throw std::bad_alloc();
    return std::unique_ptr<T[], FreeDeleter>(static_cast<T*>(p));
}

// Where a table finds its texts.
struct RecordRef {
    std::string_view summaryTissue;
    std::string_view summaryDetail;
    std::array<std::string_view, 1 + kPeriodCount> valueLines;  // in utero, periods 1 to 5
};

enum SlotState : unsigned char {
    kEmpty = 0,       // reads empty texts
    kRecord = 1,      // reads its record through the general number reading
    kPlainRecord = 2  // every chosen field of its record is a plain dose
};

struct TransparentHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const noexcept {
        return std::hash<std::string_view>{}(text);
    }
};

char* append(char* at, std::string_view text) {
    if (!text.empty()) std::memcpy(at, text.data(), text.size());  // an empty view may be null
    return at + text.size();
}

}  // namespace

struct ResultStore::Impl {
    int slots = 0;
    int rows = 0;
    int periods = 0;
    int tableCount = 0;
    std::unique_ptr<std::uint32_t[], FreeDeleter> headings;
    std::unique_ptr<RecordRef[], FreeDeleter> records;
    std::unique_ptr<SlotState[], FreeDeleter> states;

    // How slots read their records: the chosen tissue rows (1 to 18) and periods (1 to 5) in
    // order, and the decimal separator; and the bytes their views point into.
    std::vector<int> fixedRows;
    std::vector<int> fixedPeriods;
    char separator = '.';
    std::size_t plainLineBytes = 0;  // a value line's bytes up to the end of its last chosen field
    std::vector<std::pair<std::shared_ptr<const char[]>, std::size_t>> keptBytes;

    // Interned heading texts; texts[0] is the empty text.
    std::unordered_map<std::string, std::uint32_t, TransparentHash, std::equal_to<>> ids;
    std::vector<const std::string*> texts;
    std::size_t internedBytes = 0;
    std::uint32_t lastIds[kHeadingsPerSlot] = {};

    Impl() { texts.push_back(&empty()); }

    static const std::string& empty() {
        static const std::string empty;
        return empty;
    }

    std::uint32_t intern(int position, std::string_view text) {
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

    SlotState state(int slot) const { return states[static_cast<std::size_t>(slot)]; }
    const RecordRef& recordOf(int slot) const { return records[static_cast<std::size_t>(slot)]; }
    std::string_view headingText(int slot, int position) const {
        return *texts[headings[static_cast<std::size_t>(slot) * kHeadingsPerSlot +
                               static_cast<std::size_t>(position)]];
    }

    // The decimal mark a row writer writes a slot's numbers with (see maxRowBytes).
    char decimalMark(int slot, char asked) const {
        if (asked == 0 || asked == separator) return separator;
        if (state(slot) != kPlainRecord) throw RangeError();
        return asked;
    }

    void checkSlot(int slot) const {
        if (slot < 0 || slot >= slots) throw RangeError();
    }
    void checkRow(int slot, int row) const {
        checkSlot(slot);
        if (row < 1 || row > rows) throw RangeError();
    }
    void checkCell(int slot, int row, int period) const {
        checkRow(slot, row);
        if (period < 1 || period > periods) throw RangeError();
    }

    // Value line `line` (0 in utero, 1 to 5 the periods) of a slot's record, and the field of
    // the r-th chosen row in one, as written in the file (not yet localised).
    std::string_view valueLine(int slot, int line) const {
        return recordOf(slot).valueLines[static_cast<std::size_t>(line)];
    }
    int tissueRow(int row) const { return fixedRows[static_cast<std::size_t>(row - 1)]; }
    int periodLine(int period) const { return fixedPeriods[static_cast<std::size_t>(period - 1)]; }
    std::string_view field(int slot, int line, int row) const {
        return DoseRecord::field(valueLine(slot, line), tissueRow(row));
    }
    // The first byte of a field of a plain record: its 7 bytes are there.
    const char* plainField(int slot, int line, int row) const {
        return valueLine(slot, line).data() +
               static_cast<std::size_t>(tissueRow(row) - 1) * kFieldSlot;
    }
    // The post-natal fields of a row of a plain record, period by period; returns how many.
    int plainFields(int slot, int row, const char* (&fields)[kPeriodCount]) const {
        const RecordRef& record = recordOf(slot);
        const std::size_t offset = static_cast<std::size_t>(tissueRow(row) - 1) * kFieldSlot;
        for (int n = 0; n < periods; ++n)
            fields[n] =
                record
                    .valueLines[static_cast<std::size_t>(fixedPeriods[static_cast<std::size_t>(n)])]
                    .data() +
                offset;
        return periods;
    }
};

ResultStore::ResultStore() = default;
ResultStore::~ResultStore() = default;
ResultStore::ResultStore(ResultStore&&) noexcept = default;
ResultStore& ResultStore::operator=(ResultStore&&) noexcept = default;

void ResultStore::resize(int nuclideCount, int rowCount, int periodCount) {
    if (nuclideCount < 0 || rowCount < 0 || periodCount < 0) throw RangeError();
    if (nuclideCount > (std::numeric_limits<int>::max() - 1) / kSlotsPerNuclide) throw RangeError();
    const int slots = nuclideCount * kSlotsPerNuclide + 1;

    // The old tables go first, so that two stores never coexist.
    impl_.reset();
    auto impl = std::make_unique<Impl>();
    impl->slots = slots;
    impl->rows = rowCount;
    impl->periods = periodCount;
    impl->records = allocateZeroed<RecordRef>(static_cast<std::size_t>(slots));
    impl->states = allocateZeroed<SlotState>(static_cast<std::size_t>(slots));
    impl->headings =
        allocateZeroed<std::uint32_t>(static_cast<std::size_t>(slots) * kHeadingsPerSlot);
    impl_ = std::move(impl);
}

int ResultStore::slotCount() const {
    return impl_ ? impl_->slots : 0;
}
int ResultStore::rowCount() const {
    return impl_ ? impl_->rows : 0;
}
int ResultStore::periodCount() const {
    return impl_ ? impl_->periods : 0;
}
int ResultStore::tableCount() const {
    return impl_ ? impl_->tableCount : 0;
}

void ResultStore::setTableCount(int tableCount) {
    if (tableCount < 0 || tableCount >= std::max(slotCount(), 1)) throw RangeError();
    if (impl_) impl_->tableCount = tableCount;
}

std::string_view ResultStore::nuclide(int slot) const {
    if (!impl_) throw RangeError();
    impl_->checkSlot(slot);
    return impl_->headingText(slot, 0);
}
std::string_view ResultStore::group(int slot) const {
    if (!impl_) throw RangeError();
    impl_->checkSlot(slot);
    return impl_->headingText(slot, 1);
}
std::string_view ResultStore::route(int slot) const {
    if (!impl_) throw RangeError();
    impl_->checkSlot(slot);
    return impl_->headingText(slot, 2);
}
std::string_view ResultStore::scenario(int slot) const {
    if (!impl_) throw RangeError();
    impl_->checkSlot(slot);
    return impl_->headingText(slot, 3);
}
std::string ResultStore::summary(int slot) const {
    if (!impl_) throw RangeError();
    impl_->checkSlot(slot);
    if (impl_->state(slot) == kEmpty) return {};
    const RecordRef& record = impl_->recordOf(slot);
    return summaryLine(record.summaryTissue, record.summaryDetail);
}

std::string ResultStore::inUtero(int slot, int row) const {
    if (!impl_) throw RangeError();
    const auto& d = *impl_;
    d.checkRow(slot, row);
    if (d.state(slot) == kEmpty) return {};
    return localiseField(d.field(slot, 0, row), d.separator);
}
std::string ResultStore::postNatal(int slot, int row, int period) const {
    if (!impl_) throw RangeError();
    const auto& d = *impl_;
    d.checkCell(slot, row, period);
    if (d.state(slot) == kEmpty) return {};
    return localiseField(d.field(slot, d.periodLine(period), row), d.separator);
}
std::string ResultStore::offspring(int slot, int row, int period) const {
    if (!impl_) throw RangeError();
    const auto& d = *impl_;
    d.checkCell(slot, row, period);
    if (d.state(slot) == kEmpty) return {};
    if (d.state(slot) == kPlainRecord) {
        char text[kMaxDoseText];
        char* end = detail::writePlainSum(
            detail::readPlainDose(d.plainField(slot, 0, row)),
            detail::readPlainDose(d.plainField(slot, d.periodLine(period), row)), d.separator,
            text);
        return std::string(text, static_cast<std::size_t>(end - text));
    }
    return offspringDoseText(d.field(slot, 0, row), d.field(slot, d.periodLine(period), row),
                             d.separator);
}

std::size_t ResultStore::maxRowBytes() const {
    return static_cast<std::size_t>(std::max(periodCount(), 1)) * (1 + kMaxDoseText);
}

char* ResultStore::writeInUteroRow(int slot, int row, char fieldSeparator, char* at,
                                   char decimalMark) const {
    if (!impl_) throw RangeError();
    const auto& d = *impl_;
    d.checkRow(slot, row);
    const char mark = d.decimalMark(slot, decimalMark);
    *at++ = fieldSeparator;
    if (d.state(slot) == kPlainRecord)
        return detail::writePlainField(d.plainField(slot, 0, row), mark, at);
    return append(at, inUtero(slot, row));
}

char* ResultStore::writePostNatalRow(int slot, int row, char fieldSeparator, char* at,
                                     char decimalMark) const {
    if (!impl_) throw RangeError();
    const auto& d = *impl_;
    d.checkRow(slot, row);
    const char separator = d.decimalMark(slot, decimalMark);
    if (d.state(slot) == kPlainRecord) {
        // Fields and separator in locals: the bytes written could otherwise be taken to
        // change them, and they would be read again for every cell.
        const char* fields[kPeriodCount];
        const int periods = d.plainFields(slot, row, fields);
        for (int n = 0; n < periods; ++n) {
            *at++ = fieldSeparator;
            at = detail::writePlainField(fields[n], separator, at);
        }
        return at;
    }
    for (int n = 1; n <= d.periods; ++n) {
        *at++ = fieldSeparator;
        at = append(at, postNatal(slot, row, n));
    }
    return at;
}

char* ResultStore::writeOffspringRow(int slot, int row, char fieldSeparator, char* at,
                                     char decimalMark) const {
    if (!impl_) throw RangeError();
    const auto& d = *impl_;
    d.checkRow(slot, row);
    const char separator = d.decimalMark(slot, decimalMark);
    if (d.state(slot) == kPlainRecord) {
        // The in-utero dose is read once for the whole row; locals as in writePostNatalRow.
        const detail::PlainDose inUtero = detail::readPlainDose(d.plainField(slot, 0, row));
        const char* fields[kPeriodCount];
        const int periods = d.plainFields(slot, row, fields);
        for (int n = 0; n < periods; ++n) {
            *at++ = fieldSeparator;
            at = detail::writePlainSum(inUtero, detail::readPlainDose(fields[n]), separator, at);
        }
        return at;
    }
    for (int n = 1; n <= d.periods; ++n) {
        *at++ = fieldSeparator;
        at = append(at, offspring(slot, row, n));
    }
    return at;
}

bool ResultStore::plainTable(int slot) const {
    if (!impl_) throw RangeError();
    impl_->checkSlot(slot);
    return impl_->state(slot) == kPlainRecord;
}

void ResultStore::setLayout(const std::vector<int>& rows, const std::vector<int>& periods,
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
    impl_->plainLineBytes = 0;
    for (const int row : rows)
        impl_->plainLineBytes =
            std::max(impl_->plainLineBytes, static_cast<std::size_t>(row) * kFieldSlot - 1);
}

void ResultStore::keepBytes(std::shared_ptr<const char[]> bytes, std::size_t size) {
    if (!impl_) throw RangeError();
    if (bytes) impl_->keptBytes.emplace_back(std::move(bytes), size);
}

ResultStore::HeadingNumbers ResultStore::keepHeadings(std::string_view nuclide,
                                                      std::string_view group,
                                                      std::string_view route,
                                                      std::string_view scenario) {
    if (!impl_) throw RangeError();
    return {impl_->intern(0, nuclide), impl_->intern(1, group), impl_->intern(2, route),
            impl_->intern(3, scenario)};
}

void ResultStore::setRecord(int slot, const HeadingNumbers& headings, const DoseRecord& record,
                            bool plainDoses) {
    if (!impl_) throw RangeError();
    auto& d = *impl_;
    d.checkSlot(slot);
    if (d.fixedRows.size() != static_cast<std::size_t>(d.rows)) throw RangeError();
    for (const std::uint32_t id :
         {headings.nuclide, headings.group, headings.route, headings.scenario})
        if (id >= d.texts.size()) throw RangeError();
    std::uint32_t* ids = d.headings.get() + static_cast<std::size_t>(slot) * kHeadingsPerSlot;
    ids[0] = headings.nuclide;
    ids[1] = headings.group;
    ids[2] = headings.route;
    ids[3] = headings.scenario;
    RecordRef& ref = d.records[static_cast<std::size_t>(slot)];
    ref.summaryTissue = record.summaryTissue;
    ref.summaryDetail = record.summaryDetail;
    ref.valueLines[0] = record.inUteroLine;
    for (std::size_t j = 0; j < kPeriodCount; ++j) ref.valueLines[j + 1] = record.postNatalLines[j];
    if (plainDoses) {
        // Every chosen field must be whole in its line to be read without a check.
        if (ref.valueLines[0].size() < d.plainLineBytes) plainDoses = false;
        for (const int period : d.fixedPeriods)
            if (ref.valueLines[static_cast<std::size_t>(period)].size() < d.plainLineBytes)
                plainDoses = false;
    }
    d.states[static_cast<std::size_t>(slot)] = plainDoses ? kPlainRecord : kRecord;
}

std::size_t ResultStore::memoryBytes() const {
    if (!impl_) return 0;
    const auto& d = *impl_;
    std::size_t bytes = sizeof(Impl);
    bytes += static_cast<std::size_t>(d.slots) * (sizeof(RecordRef) + sizeof(SlotState));
    bytes += static_cast<std::size_t>(d.slots) * kHeadingsPerSlot * sizeof(std::uint32_t);
    for (const auto& kept : d.keptBytes) bytes += kept.second;
    bytes += d.keptBytes.capacity() * sizeof(d.keptBytes[0]);
    bytes += d.fixedRows.capacity() * sizeof(int) + d.fixedPeriods.capacity() * sizeof(int);
    bytes += d.internedBytes + d.ids.bucket_count() * sizeof(void*);
    bytes += d.texts.capacity() * sizeof(const std::string*);
    return bytes;
}

}  // namespace fetaldose
