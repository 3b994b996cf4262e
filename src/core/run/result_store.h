#pragma once
// The tables of the last run, in slots numbered from 1 (slot 0 exists, unused). The store is
// sized once per run, before any data file is read, for 880 slots per chosen nuclide; no slot
// grows during the fill. A slot the run fills refers to its record in the data file's bytes,
// which the store keeps; its texts are cut out and worked out when they are read.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/refdata/nuclide_data.h"

namespace fetaldose {

inline constexpr int kSlotsPerNuclide = 880;

class ResultStore {
  public:
    ResultStore();
    ~ResultStore();
    ResultStore(ResultStore&&) noexcept;
    ResultStore& operator=(ResultStore&&) noexcept;

    // Sizes the store for nuclideCount * 880 + 1 slots of rowCount rows by periodCount
    // periods, and sets tableCount to 0. Every slot reads empty until a record fills it.
    void resize(int nuclideCount, int rowCount, int periodCount);

    int slotCount() const;
    int rowCount() const;
    int periodCount() const;

    // Number of tables of the last run; slots 1..tableCount are the only ones anybody reads.
    int tableCount() const;
    void setTableCount(int tableCount);
    // Whether `table` is one of the last run's, 1..tableCount.
    bool hasTable(int table) const {
        return table >= 1 && table <= tableCount() && table < slotCount();
    }

    // Texts of one slot. row is 1..rowCount (the r-th chosen row), period is 1..periodCount
    // (the n-th chosen period). A number out of range throws RangeError. The heading views
    // stay valid until the next Resize.
    std::string_view nuclide(int slot) const;
    std::string_view group(int slot) const;
    std::string_view route(int slot) const;
    std::string_view scenario(int slot) const;
    std::string summary(int slot) const;
    std::string inUtero(int slot, int row) const;
    std::string postNatal(int slot, int row, int period) const;
    std::string offspring(int slot, int row, int period) const;

    // Whole rows at once, for writing every table (the results file): the texts above, each
    // after fieldSeparator, written at `at`, which has room for maxRowBytes(); returns the
    // end. Numbers out of range throw RangeError, as above.
    // A plain table's numbers may be written with another decimal mark than the run's
    // (decimalMark, 0 for the run's own), as files for other programs want '.'; asked of any
    // other table, that throws RangeError.
    std::size_t maxRowBytes() const;
    char* writeInUteroRow(int slot, int row, char fieldSeparator, char* at,
                          char decimalMark = 0) const;
    char* writePostNatalRow(int slot, int row, char fieldSeparator, char* at,
                            char decimalMark = 0) const;
    char* writeOffspringRow(int slot, int row, char fieldSeparator, char* at,
                            char decimalMark = 0) const;
    // Whether every dose of the slot is a plain field ("d.dE+dd"): its rows then hold only
    // texts of 7 or 8 bytes, each a number whose second byte is the decimal separator.
    bool plainTable(int slot) const;

    // --- Filling from records (the run) ---
    // How slots read their records: the chosen tissue rows (1 to 18) and periods (1 to 5),
    // rowCount and periodCount of them, in order, and the decimal separator of the run.
    void setLayout(const std::vector<int>& rows, const std::vector<int>& periods,
                   char decimalSeparator);
    // Keeps bytes alive until the next Resize: the data file the records of slots view.
    void keepBytes(std::shared_ptr<const char[]> bytes, std::size_t size);
    struct HeadingNumbers {
        std::uint32_t nuclide = 0, group = 0, route = 0, scenario = 0;
    };
    // Keeps heading texts once for the many tables that share them.
    HeadingNumbers keepHeadings(std::string_view nuclide, std::string_view group,
                                std::string_view route, std::string_view scenario);
    // Makes a slot the table of a record. Its views must stay valid until the next Resize
    // (keepBytes), and every dose of the chosen rows and periods must read as a number
    // (checkTableDoses). plainDoses says checkTableDoses found every one of them a plain
    // dose, which lets them be worked out without the general number reading.
    void setRecord(int slot, const HeadingNumbers& headings, const DoseRecord& record,
                   bool plainDoses = false);

    // Bytes the store holds, the data files' bytes it keeps included (for the memory
    // benchmark and test).
    std::size_t memoryBytes() const;

  private:
    // Representation is the implementation's own (see result_store.cpp).
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace fetaldose
