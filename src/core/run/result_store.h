#pragma once
// The tables of the last run, as texts, in slots numbered from 1 (slot 0 exists, unused).
// The store is sized once per run, before any data file is read, for 880 slots per chosen
// nuclide with all their row and period entries; nothing grows during the fill.

#include <memory>
#include <string>
#include <string_view>

namespace fetaldose {

inline constexpr int kSlotsPerNuclide = 880;

class ResultStore {
  public:
    // Sizes the store for nuclideCount * 880 + 1 slots of rowCount rows by periodCount
    // periods, and sets TableCount to 0.
    void Resize(int nuclideCount, int rowCount, int periodCount);

    int SlotCount() const;
    int RowCount() const;
    int PeriodCount() const;

    // Number of tables of the last run; slots 1..TableCount are the only ones anybody reads.
    int TableCount() const;
    void SetTableCount(int tableCount);

    // Texts of one slot. row is 1..RowCount (the r-th chosen row), period is 1..PeriodCount
    // (the n-th chosen period). A number out of range throws RangeError. The views stay valid
    // until the next Resize.
    std::string_view Nuclide(int slot) const;
    std::string_view Group(int slot) const;
    std::string_view Route(int slot) const;
    std::string_view Scenario(int slot) const;
    std::string_view Summary(int slot) const;
    std::string_view InUtero(int slot, int row) const;
    std::string_view PostNatal(int slot, int row, int period) const;
    std::string_view Offspring(int slot, int row, int period) const;

    void SetHeadings(int slot, std::string_view nuclide, std::string_view group,
                     std::string_view route, std::string_view scenario, std::string_view summary);
    void SetInUtero(int slot, int row, std::string_view text);
    void SetPostNatal(int slot, int row, int period, std::string_view text);
    void SetOffspring(int slot, int row, int period, std::string_view text);

    // Bytes the store holds (for the memory benchmark).
    std::size_t MemoryBytes() const;

  private:
    // Representation is the implementation's own (see result_store.cpp).
    struct Impl;
    struct ImplDeleter {
        void operator()(Impl*) const;
    };
    std::unique_ptr<Impl, ImplDeleter> impl_;
};

}  // namespace fetaldose
