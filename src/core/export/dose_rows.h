#pragma once
// The rows every export format writes: one per table and tissue, with the table's texts in
// UTF-8 and its doses as plain numbers with '.' as the decimal mark.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/export/provenance.h"
#include "core/run/result_store.h"

namespace fetaldose::exporting {

// The column names: the text columns, the in-utero dose, then for each chosen period its
// post-natal and its offspring dose.
std::vector<std::string> columnNames(const std::vector<int>& periods);

// A dose text of the tables as a plain number ("3,4E-07" under a comma separator gives
// "3.4E-07"): blanks and a '+' sign dropped, a missing integer digit written as 0. False, with
// `out` untouched, for a text that is no number.
bool plainNumber(std::string_view text, char decimalSeparator, std::string& out);

// A text of the tables as a cell text: in UTF-8, without leading and trailing blanks.
std::string cellText(std::string_view bytes);

// The texts of one table's text columns, in column order (the tissue left out).
struct TableTexts {
    std::string nuclide, halfLife, group, route, scenario;
};

// Walks the tables of a store as an export writes them. The chosen rows and periods come from
// the run's selection; they must agree with the store's shape (else RangeError, thrown before
// anything is written).
class DoseRows {
  public:
    DoseRows(const ResultStore& store, const Provenance& provenance);

    const std::vector<int>& rows() const { return rows_; }
    const std::vector<int>& periods() const { return periods_; }
    int tableCount() const { return store_.tableCount(); }
    // The texts of table t, 1..tableCount, which must be asked for in increasing order.
    TableTexts tableTexts(int table);
    // Tells `progress`, if any, that tables 1..table are written: every few hundred tables,
    // and at the last.
    void tableWritten(int table,
                      const std::function<void(int tablesWritten, int tableCount)>& progress) const;

  private:
    const ResultStore& store_;
    const SelectionSnapshot& selection_;
    std::vector<int> rows_;
    std::vector<int> periods_;
    std::size_t nuclideIndex_ = 0;
};

}  // namespace fetaldose::exporting
