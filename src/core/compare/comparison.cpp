#include "core/compare/comparison.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "core/compare/compare_texts.h"
#include "core/refdata/catalogue.h"
#include "core/refdata/data_directory.h"
#include "core/textio/faults.h"

namespace fetaldose {

namespace texts = compare_texts;

namespace {

// Thrown from inside a run when the progress callback cancels.
struct CompareCancelled {};

// A side's fault or stop, as the comparison reports it: it names the side and its folder.
struct SideStop {
    std::string message;
    bool inputFault = false;
};

std::string absoluteDirectory(const std::string& directory) {
    std::error_code ignored;
    std::string absolute =
        std::filesystem::absolute(directory, ignored).lexically_normal().string();
    if (absolute.empty()) absolute = directory;
    if (absolute.empty() || absolute.back() != '/') absolute += '/';
    return absolute;
}

std::string lowerCase(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

// One side of the comparison while it is made.
struct Side {
    Side(DataSetSide side, std::string folder) : which(side), directory(std::move(folder)) {}

    DataSetSide which = DataSetSide::Reference;
    std::string directory;  // as asked, ending with '/'
    std::optional<SourceFile> catalogue;
    std::vector<CatalogueEntry> entries;                  // unique names, in catalogue order
    std::unordered_map<std::string, std::size_t> byName;  // into entries
    SelectionSnapshot selection;                          // what this side runs
    std::shared_ptr<const RunResult> run;
    // Per nuclide of the side's chosen list: its tables [first, last] (last < first: none),
    // and its data file as the run read it.
    std::vector<std::pair<int, int>> tables;
    std::vector<const SourceFile*> dataFiles;

    // A selection this side cannot run, with the run's own message.
    [[noreturn]] void stop(std::string_view message) const {
        throw SideStop{named(message), false};
    }
    // A fault of this side's folder or files.
    [[noreturn]] void fault(std::string_view message) const {
        throw SideStop{named(message), true};
    }

    std::string named(std::string_view message) const {
        std::string text(texts::kSideNames[static_cast<std::size_t>(which)]);
        text.append(texts::kSideFolderJoin).append(directory).append(texts::kSideMessageJoin);
        text.append(message);
        return text;
    }

    const CatalogueEntry* entry(const std::string& name) const {
        const auto found = byName.find(name);
        return found == byName.end() ? nullptr : &entries[found->second];
    }
};

bool isFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void readCatalogue(Side& side) {
    if (!isFolder(side.directory)) side.fault(texts::kNoDataFolder);
    try {
        side.catalogue = readCatalogueSource(side.directory);
        if (!side.catalogue) side.fault(kMissingCatalogueMessage);
        forEachCatalogueEntry(*side.catalogue, [&side](const CatalogueEntry& entry) {
            if (side.byName.emplace(entry.name, side.entries.size()).second)
                side.entries.push_back(entry);
        });
    } catch (const Fault& fault) {
        side.fault(faultReport(fault));
    }
}

// The selection a side runs: the nuclides it can run (listed in its catalogue, with a data
// file), with its own half-lives.
void chooseNuclides(Side& side, const CompareRequest& request) {
    DataFileFinder dataFiles(side.directory);
    auto runnable = [&](const std::string& name) {
        return side.entry(name) != nullptr && dataFiles.find(name).has_value();
    };
    if (request.scope == CompareScope::Selection) {
        side.selection = request.selection;
        side.selection.nuclides.clear();
        side.selection.halfLives.clear();
        for (const std::string& name : request.selection.nuclides) {
            if (!runnable(name)) continue;
            side.selection.nuclides.push_back(name);
            side.selection.halfLives.push_back(side.entry(name)->halfLife);
        }
        return;
    }
    SelectionSnapshot& all = side.selection;
    all.memberOfPublic = all.occupational = true;
    all.allRoutes = all.allAerosol = all.allAcutes = true;
    all.allChronics = all.allOrgans = all.allPeriods = true;
    for (const CatalogueEntry& entry : side.entries) {
        if (!runnable(entry.name)) continue;
        all.nuclides.push_back(entry.name);
        all.halfLives.push_back(entry.halfLife);
    }
}

// The data file a nuclide's tables come from, found as the run found it: by its exact name
// first, then regardless of letter case.
const SourceFile* dataFileOf(const RunSources& sources, const std::string& nuclide) {
    const std::string fileName = nuclide + ".dat";
    for (const SourceFile& file : sources.dataFiles)
        if (file.fileName() == fileName) return &file;
    const std::string lower = lowerCase(fileName);
    for (const SourceFile& file : sources.dataFiles)
        if (lowerCase(file.fileName()) == lower) return &file;
    return nullptr;
}

void runSide(Side& side, const RunCheck& check, NuclideData& scratch, const RunProgress& progress) {
    if (side.selection.nuclides.empty()) return;  // none of the nuclides: no tables
    RunRequest request;
    request.selection = side.selection;
    request.dataDirectory = side.directory;
    request.catalogue = side.catalogue;
    RunOutcome outcome;
    try {
        outcome = runTables(std::move(request), check, scratch, progress);
    } catch (const Fault& fault) {
        // A data file that cannot be read or whose content is wrong; a fault of the sums alone
        // (no file named) is the run's own stop.
        if (fault.file().empty() && !dynamic_cast<const IoError*>(&fault))
            side.stop(errorBoxText(fault.what()));
        side.fault(faultReport(fault));
    }
    if (!outcome.complete) side.stop(outcome.stopMessage);
    side.run = std::move(outcome.result);

    const RunResult& run = *side.run;
    side.tables.assign(run.selection().nuclides.size(), {1, 0});
    for (int t = 1; t <= run.tableCount(); ++t) {
        auto& range = side.tables[static_cast<std::size_t>(run.key(t).nuclide)];
        if (range.second < range.first) range.first = t;
        range.second = t;
    }
    for (const std::string& name : run.selection().nuclides)
        side.dataFiles.push_back(dataFileOf(run.sources(), name));
}

bool sameBytes(const SourceFile* a, const SourceFile* b) {
    if (!a || !b) return false;
    const std::string_view x = a->bytes();
    const std::string_view y = b->bytes();
    // Bytes that differ have different digests, so only equal ones need a digest at all; the
    // digests of equal bytes are equal.
    return x.size() == y.size() && std::memcmp(x.data(), y.data(), x.size()) == 0;
}

// A nuclide of the comparison and its place in each side's chosen list (-1: not there).
struct NuclidePair {
    std::string name;
    int reference = -1;
    int candidate = -1;
};

std::vector<NuclidePair> pairNuclides(const CompareRequest& request, const Side& reference,
                                      const Side& candidate) {
    std::vector<NuclidePair> pairs;
    if (request.scope == CompareScope::Selection) {
        // The selection's order; a nuclide chosen twice is compared twice, each time with the
        // same occurrence on the other side.
        std::size_t r = 0, c = 0;
        for (const std::string& name : request.selection.nuclides) {
            NuclidePair pair{name};
            const auto& refNames = reference.selection.nuclides;
            const auto& candNames = candidate.selection.nuclides;
            if (r < refNames.size() && refNames[r] == name) pair.reference = static_cast<int>(r++);
            if (c < candNames.size() && candNames[c] == name)
                pair.candidate = static_cast<int>(c++);
            pairs.push_back(std::move(pair));
        }
        return pairs;
    }
    std::unordered_map<std::string, std::size_t> index;
    const auto& refNames = reference.selection.nuclides;
    for (std::size_t i = 0; i < refNames.size(); ++i) {
        index.emplace(refNames[i], pairs.size());
        pairs.push_back({refNames[i], static_cast<int>(i), -1});
    }
    const auto& candNames = candidate.selection.nuclides;
    for (std::size_t i = 0; i < candNames.size(); ++i) {
        const auto found = index.find(candNames[i]);
        if (found != index.end()) {
            pairs[found->second].candidate = static_cast<int>(i);
        } else {
            pairs.push_back({candNames[i], -1, static_cast<int>(i)});
        }
    }
    return pairs;
}

// What matches a table with its twin: everything of its key but its entry number, and the
// text of its route entry instead.
std::string matchKey(const RunResult& run, int table) {
    const TableKey key = run.key(table);
    std::string text;
    const std::string_view route = run.routeHeading(table);
    text.reserve(route.size() + 4);
    text += static_cast<char>(key.group);
    text += static_cast<char>(static_cast<int>(key.route));
    text += static_cast<char>(key.aerosolSize);
    text += static_cast<char>(key.scenario);
    text.append(route);
    return text;
}

bool sameKey(const RunResult& a, int ta, const RunResult& b, int tb) {
    const TableKey x = a.key(ta);
    const TableKey y = b.key(tb);
    return x.group == y.group && x.route == y.route && x.aerosolSize == y.aerosolSize &&
           x.scenario == y.scenario && a.routeHeading(ta) == b.routeHeading(tb);
}

class Comparer {
  public:
    Comparer(Comparison& comparison, const RunResult* reference, const RunResult* candidate)
        : c_(comparison), ref_(reference), cand_(candidate) {
        if (ref_ && cand_) {
            rows_ = ref_->layout().rowCount();
            periods_ = ref_->layout().periodCount();
            rowBytes_ = std::max(ref_->store().maxRowBytes(), cand_->store().maxRowBytes());
            refRow_.resize(2 * rowBytes_);
            candRow_.resize(2 * rowBytes_);
        }
    }

    long long cellsPerTable() const { return rows_ * (1LL + 2LL * periods_); }

    void countIdentical(NuclideComparison& nuclide, int tables) {
        const long long cells = tables * cellsPerTable();
        for (CellCounts* counts : {&c_.cells, &nuclide.cells}) {
            counts->compared += cells;
            counts->equal += cells;
        }
    }

    void compareTables(NuclideComparison& nuclide, int rt, int ct) {
        const char separator = ref_->decimalSeparator();
        const ResultStore& rs = ref_->store();
        const ResultStore& cs = cand_->store();
        for (int r = 1; r <= rows_; ++r) {
            // A row whose texts are the same bytes on both sides holds the same numbers, its
            // offspring sums included: they are worked out from those texts alone.
            char* refEnd = rs.writeInUteroRow(rt, r, '\t', refRow_.data());
            refEnd = rs.writePostNatalRow(rt, r, '\t', refEnd);
            char* candEnd = cs.writeInUteroRow(ct, r, '\t', candRow_.data());
            candEnd = cs.writePostNatalRow(ct, r, '\t', candEnd);
            if (refEnd - refRow_.data() == candEnd - candRow_.data() &&
                std::memcmp(refRow_.data(), candRow_.data(),
                            static_cast<std::size_t>(refEnd - refRow_.data())) == 0) {
                const long long cells = 1 + 2LL * periods_;
                for (CellCounts* counts : {&c_.cells, &nuclide.cells}) {
                    counts->compared += cells;
                    counts->equal += cells;
                }
                continue;
            }
            const std::string refInUtero = ref_->inUteroText(rt, r);
            const std::string candInUtero = cand_->inUteroText(ct, r);
            const bool inUteroSame = refInUtero == candInUtero;
            CellDifference cell{rt, ct, r, 0, CellQuantity::InUtero};
            if (inUteroSame) {
                countEqual(nuclide);
            } else {
                judge(nuclide, cell, doseValue(refInUtero, separator),
                      doseValue(candInUtero, separator));
            }
            for (int n = 1; n <= periods_; ++n) {
                const std::string refPostNatal = ref_->postNatalText(rt, r, n);
                const std::string candPostNatal = cand_->postNatalText(ct, r, n);
                const bool postNatalSame = refPostNatal == candPostNatal;
                cell.period = n;
                cell.quantity = CellQuantity::PostNatal;
                if (postNatalSame) {
                    countEqual(nuclide);
                } else {
                    judge(nuclide, cell, doseValue(refPostNatal, separator),
                          doseValue(candPostNatal, separator));
                }
                cell.quantity = CellQuantity::Offspring;
                if (inUteroSame && postNatalSame) {
                    countEqual(nuclide);
                } else {
                    judge(nuclide, cell, ref_->offspringDose(rt, r, n),
                          cand_->offspringDose(ct, r, n));
                }
            }
        }
    }

  private:
    void countEqual(NuclideComparison& nuclide) {
        for (CellCounts* counts : {&c_.cells, &nuclide.cells}) {
            ++counts->compared;
            ++counts->equal;
        }
    }

    void judge(NuclideComparison& nuclide, CellDifference cell, double reference,
               double candidate) {
        cell.reference = reference;
        cell.candidate = candidate;
        if (reference == candidate) {
            cell.status = CellStatus::Equal;
        } else if (reference == 0) {
            cell.status = CellStatus::New;
        } else if (candidate == 0) {
            cell.status = CellStatus::Gone;
        } else {
            cell.ratio = candidate / reference;
            const double change = std::fabs(cell.ratio - 1);
            // With no threshold every change counts, even one the division rounds away; a
            // ratio that is no number (infinite doses) counts as changed.
            const bool beyond =
                c_.threshold <= 0 || !std::isfinite(cell.ratio) || !(change <= c_.threshold);
            cell.status = beyond ? CellStatus::Changed : CellStatus::WithinThreshold;
        }
        for (CellCounts* counts : {&c_.cells, &nuclide.cells}) {
            ++counts->compared;
            switch (cell.status) {
                case CellStatus::Equal:
                    ++counts->equal;
                    break;
                case CellStatus::WithinThreshold:
                    ++counts->withinThreshold;
                    break;
                case CellStatus::Changed:
                    ++counts->changed;
                    break;
                case CellStatus::New:
                    ++counts->newCells;
                    break;
                case CellStatus::Gone:
                    ++counts->goneCells;
                    break;
            }
        }
        if (cell.status == CellStatus::Changed || cell.status == CellStatus::New ||
            cell.status == CellStatus::Gone) {
            if (c_.differences.size() < kListedDifferenceCap) c_.differences.push_back(cell);
        }
        if (cell.status != CellStatus::Changed && cell.status != CellStatus::WithinThreshold)
            return;
        if (!nuclide.largestRatio || cell.ratio > *nuclide.largestRatio)
            nuclide.largestRatio = cell.ratio;
        if (!nuclide.smallestRatio || cell.ratio < *nuclide.smallestRatio)
            nuclide.smallestRatio = cell.ratio;
        if (cell.ratio > 1)
            keepLargest(
                c_.largestIncreases, cell,
                [](const CellDifference& a, const CellDifference& b) { return a.ratio > b.ratio; });
        else if (cell.ratio < 1)
            keepLargest(
                c_.largestDecreases, cell,
                [](const CellDifference& a, const CellDifference& b) { return a.ratio < b.ratio; });
    }

    // Keeps the kLargestChangeCount cells that come first by `before`, earlier cells first
    // among equals.
    template <typename Before>
    static void keepLargest(std::vector<CellDifference>& kept, const CellDifference& cell,
                            Before before) {
        if (kept.size() == kLargestChangeCount && !before(cell, kept.back())) return;
        const auto at = std::upper_bound(
            kept.begin(), kept.end(), cell,
            [&before](const CellDifference& a, const CellDifference& b) { return before(a, b); });
        kept.insert(at, cell);
        if (kept.size() > kLargestChangeCount) kept.pop_back();
    }

    Comparison& c_;
    const RunResult* ref_;
    const RunResult* cand_;
    int rows_ = 0;
    int periods_ = 0;
    std::size_t rowBytes_ = 0;
    std::vector<char> refRow_;
    std::vector<char> candRow_;
};

// Tables of one side with no twin, gathered by route entry (with its aerosol size).
void addOneSided(Comparison& comparison, DataSetSide side, const RunResult& run,
                 const std::string& nuclide, const std::vector<int>& tables) {
    OneSidedEntry* last = nullptr;
    for (const int t : tables) {
        const std::string_view group = run.groupHeading(t);
        const std::string_view route = run.routeHeading(t);
        if (!last || last->group != group || last->routeText != route) {
            comparison.oneSidedEntries.push_back(
                {side, nuclide, std::string(group), std::string(route), 0, t});
            last = &comparison.oneSidedEntries.back();
        }
        ++last->tables;
    }
    (side == DataSetSide::Reference ? comparison.referenceOnlyTables
                                    : comparison.candidateOnlyTables) +=
        static_cast<int>(tables.size());
}

int tableCountOf(std::pair<int, int> range) {
    return std::max(0, range.second - range.first + 1);
}

void matchNuclide(Comparison& comparison, Comparer& comparer, const Side& reference,
                  const Side& candidate, const NuclidePair& pair, NuclideComparison& nuclide) {
    const auto refRange = reference.tables[static_cast<std::size_t>(pair.reference)];
    const auto candRange = candidate.tables[static_cast<std::size_t>(pair.candidate)];
    nuclide.referenceTables = tableCountOf(refRange);
    nuclide.candidateTables = tableCountOf(candRange);
    const RunResult& ref = *reference.run;
    const RunResult& cand = *candidate.run;

    if (sameBytes(reference.dataFiles[static_cast<std::size_t>(pair.reference)],
                  candidate.dataFiles[static_cast<std::size_t>(pair.candidate)]) &&
        nuclide.referenceTables == nuclide.candidateTables) {
        // The same bytes give the same tables in the same order: nothing to compare.
        nuclide.identicalDataFiles = true;
        ++comparison.identicalDataFiles;
        nuclide.matchedTables = nuclide.referenceTables;
        comparison.matchedTables += nuclide.matchedTables;
        comparer.countIdentical(nuclide, nuclide.matchedTables);
        return;
    }

    // Most often the two files hold the same entries in the same order, and table i matches
    // table i; otherwise each reference table looks its twin up by its key.
    bool aligned = nuclide.referenceTables == nuclide.candidateTables;
    for (int i = 0; aligned && i < nuclide.referenceTables; ++i)
        aligned = sameKey(ref, refRange.first + i, cand, candRange.first + i);
    if (aligned) {
        for (int i = 0; i < nuclide.referenceTables; ++i)
            comparer.compareTables(nuclide, refRange.first + i, candRange.first + i);
        nuclide.matchedTables = nuclide.referenceTables;
        comparison.matchedTables += nuclide.matchedTables;
        return;
    }

    std::unordered_map<std::string, std::vector<int>> twins;
    for (int t = candRange.second; t >= candRange.first; --t)  // popped from the back: in order
        twins[matchKey(cand, t)].push_back(t);
    std::vector<int> refOnly;
    for (int t = refRange.first; t <= refRange.second; ++t) {
        const auto found = twins.find(matchKey(ref, t));
        if (found == twins.end() || found->second.empty()) {
            refOnly.push_back(t);
            continue;
        }
        comparer.compareTables(nuclide, t, found->second.back());
        found->second.pop_back();
        ++nuclide.matchedTables;
    }
    comparison.matchedTables += nuclide.matchedTables;
    std::vector<int> candOnly;
    for (int t = candRange.first; t <= candRange.second; ++t) {
        const auto found = twins.find(matchKey(cand, t));
        if (std::find(found->second.begin(), found->second.end(), t) != found->second.end())
            candOnly.push_back(t);
    }
    addOneSided(comparison, DataSetSide::Reference, ref, pair.name, refOnly);
    addOneSided(comparison, DataSetSide::Candidate, cand, pair.name, candOnly);
}

void compareCatalogues(Comparison& comparison, const Side& reference, const Side& candidate) {
    comparison.identicalCatalogues = sameBytes(&*reference.catalogue, &*candidate.catalogue);
    for (const CatalogueEntry& entry : reference.entries) {
        const CatalogueEntry* other = candidate.entry(entry.name);
        if (!other)
            comparison.catalogueChanges.push_back(
                {CatalogueChange::Kind::Removed, entry.name, entry.halfLife, {}});
        else if (other->halfLife != entry.halfLife)
            comparison.catalogueChanges.push_back({CatalogueChange::Kind::HalfLifeChanged,
                                                   entry.name, entry.halfLife, other->halfLife});
    }
    for (const CatalogueEntry& entry : candidate.entries)
        if (!reference.entry(entry.name))
            comparison.catalogueChanges.push_back(
                {CatalogueChange::Kind::Added, entry.name, {}, entry.halfLife});
}

std::shared_ptr<Comparison> compare(const CompareRequest& request,
                                    const CompareProgress& progress) {
    Side reference{DataSetSide::Reference, request.referenceDirectory};
    Side candidate{DataSetSide::Candidate, request.candidateDirectory};
    for (Side* side : {&reference, &candidate})
        if (side->directory.empty() || side->directory.back() != '/') side->directory += '/';
    readCatalogue(reference);
    readCatalogue(candidate);

    // The choices other than the nuclides are the same for both sides; a selection that
    // cannot run stops at the reference, which is run first.
    if (request.scope == CompareScope::Selection) {
        const RunCheck check = checkSelection(request.selection);
        if (check.stage != GridStage::LaidOut) reference.stop(check.stopMessage);
    }
    chooseNuclides(reference, request);
    chooseNuclides(candidate, request);

    const std::vector<NuclidePair> pairs = pairNuclides(request, reference, candidate);
    // The work: each side's nuclides run, then each nuclide matched.
    const long long total = static_cast<long long>(reference.selection.nuclides.size()) +
                            static_cast<long long>(candidate.selection.nuclides.size()) +
                            static_cast<long long>(pairs.size());
    long long done = 0;
    auto advance = [&](long long step) {
        done += step;
        if (progress && !progress(std::min(done, total), total)) throw CompareCancelled{};
    };
    advance(0);

    const auto scratch = std::make_unique<NuclideData>();  // too large for the stack
    for (Side* side : {&reference, &candidate}) {
        const long long before = done;
        const RunProgress runProgress = [&](int nuclidesDone, int) {
            done = before;
            advance(nuclidesDone);
        };
        runSide(*side, checkSelection(side->selection), *scratch, runProgress);
        done = before + static_cast<long long>(side->selection.nuclides.size());
    }

    auto comparison = std::make_shared<Comparison>();
    comparison->scope = request.scope;
    comparison->threshold = request.threshold;
    comparison->referenceDirectory = reference.run ? reference.run->sources().dataDirectory
                                                   : absoluteDirectory(reference.directory);
    comparison->candidateDirectory = candidate.run ? candidate.run->sources().dataDirectory
                                                   : absoluteDirectory(candidate.directory);
    comparison->reference = reference.run;
    comparison->candidate = candidate.run;
    comparison->referenceCatalogue = reference.catalogue;
    comparison->candidateCatalogue = candidate.catalogue;
    compareCatalogues(*comparison, reference, candidate);

    Comparer comparer(*comparison, reference.run.get(), candidate.run.get());
    for (const NuclidePair& pair : pairs) {
        NuclideComparison nuclide;
        nuclide.name = pair.name;
        if (const CatalogueEntry* entry = reference.entry(pair.name))
            nuclide.referenceHalfLife = entry->halfLife;
        if (const CatalogueEntry* entry = candidate.entry(pair.name))
            nuclide.candidateHalfLife = entry->halfLife;
        if (pair.reference >= 0 && pair.candidate >= 0) {
            nuclide.presence = NuclidePresence::Both;
            matchNuclide(*comparison, comparer, reference, candidate, pair, nuclide);
        } else if (pair.reference >= 0) {
            nuclide.presence = NuclidePresence::ReferenceOnly;
            const auto range = reference.tables[static_cast<std::size_t>(pair.reference)];
            nuclide.referenceTables = tableCountOf(range);
            comparison->referenceOnlyTables += nuclide.referenceTables;
        } else if (pair.candidate >= 0) {
            nuclide.presence = NuclidePresence::CandidateOnly;
            const auto range = candidate.tables[static_cast<std::size_t>(pair.candidate)];
            nuclide.candidateTables = tableCountOf(range);
            comparison->candidateOnlyTables += nuclide.candidateTables;
        } else {
            nuclide.presence = NuclidePresence::Neither;
        }
        comparison->nuclides.push_back(std::move(nuclide));
        advance(1);
    }
    return comparison;
}

}  // namespace

CompareOutcome compareDataSets(const CompareRequest& request, const CompareProgress& progress) {
    CompareOutcome outcome;
    try {
        outcome.comparison = compare(request, progress);
        outcome.complete = true;
    } catch (const SideStop& stop) {
        outcome.stopMessage = stop.message;
        outcome.inputFault = stop.inputFault;
    } catch (const CompareCancelled&) {
        outcome.cancelled = true;
    }
    return outcome;
}

}  // namespace fetaldose
