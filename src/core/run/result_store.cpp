#include "core/run/result_store.h"

// Placeholder representation; the real one replaces it.
namespace fetaldose {

struct ResultStore::Impl {};
void ResultStore::ImplDeleter::operator()(Impl* impl) const { delete impl; }

void ResultStore::Resize(int, int, int) {}
int ResultStore::SlotCount() const { return 0; }
int ResultStore::RowCount() const { return 0; }
int ResultStore::PeriodCount() const { return 0; }
int ResultStore::TableCount() const { return 0; }
void ResultStore::SetTableCount(int) {}
std::string_view ResultStore::Nuclide(int) const { return {}; }
std::string_view ResultStore::Group(int) const { return {}; }
std::string_view ResultStore::Route(int) const { return {}; }
std::string_view ResultStore::Scenario(int) const { return {}; }
std::string_view ResultStore::Summary(int) const { return {}; }
std::string_view ResultStore::InUtero(int, int) const { return {}; }
std::string_view ResultStore::PostNatal(int, int, int) const { return {}; }
std::string_view ResultStore::Offspring(int, int, int) const { return {}; }
void ResultStore::SetHeadings(int, std::string_view, std::string_view, std::string_view,
                              std::string_view, std::string_view) {}
void ResultStore::SetInUtero(int, int, std::string_view) {}
void ResultStore::SetPostNatal(int, int, int, std::string_view) {}
void ResultStore::SetOffspring(int, int, int, std::string_view) {}
std::size_t ResultStore::MemoryBytes() const { return 0; }

}  // namespace fetaldose
