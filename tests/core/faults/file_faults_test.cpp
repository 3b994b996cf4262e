// Faults injected into every save and every read: the message the user sees, the earlier file
// kept byte for byte, nothing left behind, and the next attempt working as if nothing happened.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "broken_reads.h"
#include "core/options/options_file.h"
#include "core/refdata/catalogue.h"
#include "core/refdata/data_directory.h"
#include "core/results/results_file.h"
#include "core/run/labels.h"
#include "core/run/run.h"
#include "core/run/run_texts.h"
#include "core/textio/faults.h"
#include "data_file_builder.h"
#include "file_size_limit.h"
#include "filled_store.h"
#include "scratch_directory.h"

namespace fetaldose {
namespace {

namespace fs = std::filesystem;
using testing::BrokenReads;
using testing::DataFileBuilder;
using testing::readBytes;
using testing::ScratchDirectory;
using testing::writeBytes;

// A regular file that even root may not read.
constexpr const char* kUnreadableFile = "/proc/sys/vm/compact_memory";

// A 64 KiB tmpfs mounted on `where` (created here) for the life of the object, and detached
// on the way out whatever happened in between.
class SmallVolume {
  public:
    explicit SmallVolume(const std::string& where) : where_(where) {
        fs::create_directory(where_);
        if (::mount("tmpfs", where_.c_str(), "tmpfs", 0, "size=64k") == 0)
            mounted_ = true;
        else
            error_ = std::strerror(errno);
    }
    ~SmallVolume() {
        if (mounted_) ::umount2(where_.c_str(), MNT_DETACH);
    }
    SmallVolume(const SmallVolume&) = delete;
    SmallVolume& operator=(const SmallVolume&) = delete;

    bool mounted() const { return mounted_; }
    std::string whyNot() const {
        return "cannot mount a tmpfs to fill or protect (" + error_ + ")";
    }
    bool makeReadOnly() const {
        return ::mount(nullptr, where_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, "size=64k") == 0;
    }
    // Takes every free block with one file.
    void fill() const {
        const int fd = ::open((where_ + "/filler").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        const std::string block(4096, 'f');
        while (fd >= 0 && ::write(fd, block.data(), block.size()) > 0) {
        }
        if (fd >= 0) ::close(fd);
    }

  private:
    std::string where_;
    bool mounted_ = false;
    std::string error_;
};

// Every entry of a directory: a small file by its bytes, a large one by its size and a digest.
std::map<std::string, std::string> contents(const std::string& directory) {
    std::map<std::string, std::string> contents;
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(directory, ignored)) {
        std::string& shown = contents[entry.path().filename().string()];
        if (entry.is_directory()) {
            shown = "<directory>";
            continue;
        }
        if (!entry.is_regular_file()) {  // a named pipe would wait for a writer
            shown = "<special>";
            continue;
        }
        shown = readBytes(entry.path().string());
        if (shown.size() > 64)
            shown = std::to_string(shown.size()) + " bytes, digest " +
                    std::to_string(std::hash<std::string>{}(shown));
    }
    return contents;
}

template <typename Operation>
std::string messageOf(Operation operation) {
    try {
        operation();
    } catch (const Fault& fault) {
        return fault.what();
    }
    return "";
}

// ---- Saves ----

// Both saves, each with content well beyond the small volume so that a write fails part-way.
struct Save {
    const char* name;
    std::function<void(const std::string& path)> write;
};

std::vector<Save> saves(const RunResult& run) {
    static const SelectionSnapshot selection = [] {
        SelectionSnapshot s;
        for (int i = 0; i < 1500; ++i) {
            s.nuclides.push_back("Nuclide " + std::to_string(i) + std::string(90, 'n'));
            s.halfLives.push_back(std::to_string(i) + " y");
        }
        s.memberOfPublic = s.allRoutes = s.allAcutes = s.allAerosol = s.allOrgans = true;
        s.chronicScenarios[1] = s.periods[4] = true;
        return s;
    }();
    return {
        {"results file", [&run](const std::string& path) { writeResultsFile(path, run); }},
        {"options file", [](const std::string& path) { saveOptionsFile(path, selection); }},
    };
}

// A run of at least `tables` tables (up to 112) of varied doses, every row and period.
std::shared_ptr<const RunResult> runOfTables(int tables) {
    SelectionSnapshot selection = testing::everythingChosen({"Full"});
    selection.allRoutes = selection.allAcutes = selection.allChronics = false;
    selection.ingestion = selection.vapours = true;
    for (int s = 0; s < 8 && s * 14 < tables; ++s) selection.acuteScenarios[s] = true;
    const RunOutcome outcome = testing::runFromTexts(
        selection,
        {DataFileBuilder({4, 0, 3}, {4, 0, 3}).lines(DataFileBuilder::variedLine).build()});
    if (!outcome.complete) throw std::logic_error("the run of varied doses stopped");
    return outcome.result;
}

constexpr const char* kOlderFile = "older file\r\n";

struct SaveFault {
    const char* fault;
    const char* message;
    // Arranges the fault on a fresh small volume that holds the older file "kept.out" and
    // returns the name to save under.
    std::string (*arrange)(const std::string& volume, const SmallVolume& mount);
    // A file size limit stops the write part-way (from inside the process, not the volume).
    bool limitFileSize = false;
};

TEST(FileFaults, SavesKeepTheOlderFileAndLeaveNothingBehind) {
    const auto run = runOfTables(60);
    const SaveFault faults[] = {
        {"disk full part-way", "Disk full",
         [](const std::string& volume, const SmallVolume&) { return volume + "/kept.out"; }},
        {"disk full from the start", "Disk full",
         [](const std::string& volume, const SmallVolume& mount) {
             mount.fill();
             return volume + "/kept.out";
         }},
        {"read-only volume", "File access denied",
         [](const std::string& volume, const SmallVolume& mount) {
             return mount.makeReadOnly() ? volume + "/kept.out" : std::string("remount failed");
         }},
        {"directory removed after it was chosen", "Invalid filename",
         [](const std::string& volume, const SmallVolume&) {
             fs::create_directory(volume + "/chosen");
             fs::remove(volume + "/chosen");
             return volume + "/chosen/kept.out";
         }},
        {"name of a directory", "File access denied",
         [](const std::string& volume, const SmallVolume&) {
             fs::create_directory(volume + "/folder");
             return volume + "/folder";
         }},
        {"overlong name", "Invalid filename",
         [](const std::string& volume, const SmallVolume&) {
             return volume + "/" + std::string(NAME_MAX + 1, 'x');
         }},
        {"file size limit part-way", "I/O error 27",
         [](const std::string& volume, const SmallVolume&) { return volume + "/kept.out"; }, true},
    };
    for (const Save& save : saves(*run)) {
        ScratchDirectory good;
        save.write(good.file("reference"));
        const std::string reference = readBytes(good.file("reference"));
        ASSERT_GT(reference.size(), 64u * 1024) << save.name;

        for (const SaveFault& fault : faults) {
            SCOPED_TRACE(std::string(save.name) + ", " + fault.fault);
            ScratchDirectory dir;
            const SmallVolume mount(dir.file("volume"));
            if (!mount.mounted()) GTEST_SKIP() << mount.whyNot();
            writeBytes(dir.file("volume/kept.out"), kOlderFile);
            const std::string target = fault.arrange(dir.file("volume"), mount);
            const auto before = contents(dir.file("volume"));

            {
                std::optional<testing::FileSizeLimit> limit;
                if (fault.limitFileSize) limit.emplace(8 * 1024);
                EXPECT_EQ(messageOf([&] { save.write(target); }), fault.message);
            }
            EXPECT_EQ(contents(dir.file("volume")), before);

            // The program goes on: the same save to a good place writes the whole file.
            EXPECT_EQ(messageOf([&] { save.write(good.file("again")); }), "");
            EXPECT_EQ(readBytes(good.file("again")), reference);
        }
    }
}

// What a save run as another user, with a small file size limit, reports: its message, or ""
// when it succeeded.
std::string saveAsUser(uid_t user, gid_t group, const std::function<void()>& save) {
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        std::string message = "could not drop to the user";
        // Files of more than 16 KiB cannot be written: a write part-way fails on any volume.
        const rlimit fileSizeLimit{16 * 1024, 16 * 1024};
        ::signal(SIGXFSZ, SIG_IGN);
        if (::setrlimit(RLIMIT_FSIZE, &fileSizeLimit) == 0 && ::setgroups(0, nullptr) == 0 &&
            ::setresgid(group, group, group) == 0 && ::setresuid(user, user, user) == 0)
            message = messageOf(save);
        [[maybe_unused]] const ssize_t written =
            ::write(pipeEnds[1], message.data(), message.size());
        ::_exit(0);
    }
    ::close(pipeEnds[1]);
    std::string message;
    char buffer[256];
    for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        message.append(buffer, static_cast<std::size_t>(n));
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return message;
}

// A folder that takes no new file from the user, holding a file the user may write: the
// save is refused and the old file kept, where writing it in place would cut it short when
// the volume fills up part-way.
TEST(FileFaults, AFolderThatTakesNoNewFileRefusesTheSaveAndKeepsTheOldFile) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to hand the file to another user";
    constexpr uid_t kNobody = 65534;
    constexpr gid_t kNoGroup = 65534;
    const auto run = runOfTables(60);
    for (const Save& save : saves(*run)) {
        SCOPED_TRACE(save.name);
        ScratchDirectory dir;
        ASSERT_EQ(::chmod(dir.file("").c_str(), 0755), 0);  // the user may pass through
        // A full small volume where one can be mounted, else a plain folder; the file size
        // limit of the save makes a write fail part-way on both.
        const SmallVolume mount(dir.file("volume"));
        ASSERT_EQ(::chmod(dir.file("volume").c_str(), 0755), 0);  // root's, closed to others
        const std::string target = dir.file("volume/kept.out");
        writeBytes(target, kOlderFile);
        ASSERT_EQ(::chown(target.c_str(), kNobody, kNoGroup), 0);
        ASSERT_EQ(::chmod(target.c_str(), 0644), 0);
        const auto before = contents(dir.file("volume"));

        EXPECT_EQ(saveAsUser(kNobody, kNoGroup, [&] { save.write(target); }), "File access denied");
        EXPECT_EQ(contents(dir.file("volume")), before);
    }
}

// Names that are not faults of the medium: the longest name the file system takes is saved
// (the hidden file written first must fit too), and a named pipe nobody reads is refused at
// once instead of holding the program up.
TEST(FileFaults, SavesUnderUnusualNamesNeitherFailNorHang) {
    const auto run = runOfTables(2);
    const std::string longest(NAME_MAX, 'x');
    for (const Save& save : saves(*run)) {
        SCOPED_TRACE(save.name);
        ScratchDirectory dir;
        save.write(dir.file("reference"));
        EXPECT_EQ(messageOf([&] { save.write(dir.file(longest)); }), "");
        EXPECT_TRUE(readBytes(dir.file(longest)) == readBytes(dir.file("reference")));
        EXPECT_EQ(contents(dir.slash()).size(), 2u);

        ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0644), 0);
        EXPECT_EQ(messageOf([&] { save.write(dir.file("pipe")); }), "I/O error 6");
        EXPECT_TRUE(fs::is_fifo(dir.file("pipe")));
        EXPECT_EQ(contents(dir.slash()).size(), 3u);
    }
}

// ---- Reads ----

// What a reader left: its message ("" when all went well) and how much it kept.
struct Outcome {
    std::string message;
    int kept = 0;
};

// The files of a good data directory: a catalogue whose first nuclide "Good" has an exactly
// read-only data file (so no attribute pass runs), a small data file, a full one "Pu-239" read
// after it, and an options file of many nuclides. Each file the faults strike is far larger
// than one read of it.
constexpr int kCatalogueEntries = 900;
constexpr int kOptionsNuclides = 1500;

void writeDataDirectory(const std::string& data) {
    static const std::string catalogue = [] {
        std::string text = std::to_string(kCatalogueEntries) + "\r\nGood\r\n1 y\r\n";
        for (int k = 2; k <= kCatalogueEntries; ++k)
            text += "Nuclide " + std::to_string(k) + std::string(300, '.') + "\r\n" +
                    std::to_string(k) + " d\r\n";
        return text;
    }();
    static const std::string options = [] {
        std::string text = std::to_string(kOptionsNuclides) + "\r\n";
        for (int k = 1; k <= kOptionsNuclides; ++k)
            text += "Nuclide " + std::to_string(k) + std::string(300, '.') + "\r\n1 y\r\n";
        return text;
    }();
    static const std::string small = DataFileBuilder({1, 1, 1}, {1, 1, 1}).build();
    static const std::string full = DataFileBuilder({4, 3, 3}, {4, 3, 3}).build();
    fs::create_directories(data);
    writeBytes(data + "nuclides.txt", catalogue);
    writeBytes(data + "Good.dat", small);
    ::chmod((data + "Good.dat").c_str(), 0444);
    writeBytes(data + "Pu-239.dat", full);
    writeBytes(data + "choice.opt", options);
}

class CountingControls final : public ControlsSink {
  public:
    void clearChosen() override { chosen = 0; }
    void appendChosen(const std::string&, const std::string&) override { ++chosen; }
    void setBox(SelectionBox, bool) override {}
    void setItem(SelectionList, int, bool) override {}
    bool dataFileExists(std::string_view) override { return true; }
    int chosen = 1;  // one nuclide chosen before the load
};

// A run over Good and then Pu-239 with everything checked, reusing one scratch record and one
// store from run to run as the program does.
class RepeatedRun {
  public:
    RepeatedRun() {
        selection_.nuclides = {"Good", "Pu-239"};
        selection_.halfLives = {"1 y", "24110 y"};
        selection_.memberOfPublic = selection_.occupational = selection_.allRoutes = true;
        selection_.allAcutes = selection_.allChronics = selection_.allAerosol = true;
        selection_.allOrgans = selection_.allPeriods = true;
    }
    Outcome operator()(const std::string& data) {
        std::string stop;
        const std::string fault = messageOf([&] {
            const RunCheck check = checkSelection(selection_);
            stop = fillResultStore(selection_, check, data, '.', *scratch_, store_).stopMessage;
        });
        lastData_ = data;
        return Outcome{fault.empty() ? stop : fault, store_.tableCount()};
    }
    // Every table of a complete run over the last data folder, as the results file writes it.
    std::string tables(const std::string& path) const {
        writeResultsFile(path, *testing::completeRun(selection_, lastData_));
        return readBytes(path);
    }

  private:
    SelectionSnapshot selection_;
    std::unique_ptr<NuclideData> scratch_ = std::make_unique<NuclideData>();
    ResultStore store_;
    std::string lastData_;
};

enum class Kept {
    Nothing,   // no catalogue entry, no table, the chosen list as it was
    Earlier,   // at most the tables of the nuclide read before the struck file
    PartOfIt,  // some of the struck file's entries, not all
};

struct ReadFault {
    const char* fault;
    // Arranges the fault on `file` in the good data directory `data`; true when it could.
    bool (*arrange)(const std::string& data, const std::string& file);
    bool breaksReads;
    const char* catalogueMessage;
    Kept catalogueKept;
    const char* runMessage;
    Kept runKept;
    const char* optionsMessage;
    Kept optionsKept;
};

TEST(FileFaults, ReadsReportTheFaultKeepWhatWasReadAndRecover) {
    const std::string missingCatalogue = kMissingCatalogueMessage;
    const std::string missingDataFile(kMissingNuclideFileMessage);
    const ReadFault faults[] = {
        {"a file nobody may read",
         [](const std::string&, const std::string& file) {
             fs::remove(file);
             return ::access(kUnreadableFile, F_OK) == 0 &&
                    ::symlink(kUnreadableFile, file.c_str()) == 0;
         },
         false, "File access denied", Kept::Nothing, "File access denied", Kept::Earlier,
         "File access denied", Kept::Nothing},
        {"directory removed after it was chosen",
         [](const std::string& data, const std::string&) { return fs::remove_all(data) > 0; },
         false, missingCatalogue.c_str(), Kept::Nothing, missingDataFile.c_str(), Kept::Nothing,
         "Invalid filename", Kept::Nothing},
        {"name of a directory",
         [](const std::string&, const std::string& file) {
             return fs::remove(file) && fs::create_directory(file);
         },
         false, missingCatalogue.c_str(), Kept::Nothing, missingDataFile.c_str(), Kept::Earlier,
         "File access denied", Kept::Nothing},
        {"read error part-way", [](const std::string&, const std::string&) { return true; }, true,
         "File access denied", Kept::PartOfIt, "File access denied", Kept::Earlier,
         "File access denied", Kept::PartOfIt},
    };

    ScratchDirectory good;
    writeDataDirectory(good.file("data/"));
    RepeatedRun run;
    const Outcome reference = run(good.file("data/"));
    ASSERT_EQ(reference.message, "");
    const std::string referenceTables = run.tables(good.file("reference.dos"));
    const int goodTables = [&] {
        fs::remove(good.file("data/Pu-239.dat"));
        const int tables = run(good.file("data/")).kept;
        writeDataDirectory(good.file("data/"));
        return tables;
    }();

    struct Reader {
        const char* name;
        const char* file;
        std::function<Outcome(const std::string& data)> read;
        int nothing;
        int full;
    };
    const Reader readers[] = {
        {"catalogue", "nuclides.txt",
         [](const std::string& data) {
             std::string shown;
             const CatalogueLoad load = loadCatalogue(data, systemFileAttributes(),
                                                      [&](const std::string& m) { shown = m; });
             return Outcome{load.fault.value_or(shown), static_cast<int>(load.entries.size())};
         },
         0, kCatalogueEntries},
        {"data file", "Pu-239.dat", [&run](const std::string& data) { return run(data); }, 0,
         reference.kept},
        {"options file", "choice.opt",
         [](const std::string& data) {
             CountingControls controls;
             std::string stop;
             const std::string fault = messageOf([&] {
                 if (loadOptionsFile(data + "choice.opt", controls) != OptionsLoad::Completed)
                     stop = kNuclideNotAvailableMessage;
             });
             return Outcome{fault.empty() ? stop : fault, controls.chosen};
         },
         1, kOptionsNuclides},
    };

    bool unreadableMissing = false;
    for (const ReadFault& fault : faults) {
        for (const Reader& reader : readers) {
            SCOPED_TRACE(std::string(reader.name) + ", " + fault.fault);
            const auto [message, kept] =
                reader.file == std::string("nuclides.txt")
                    ? std::pair(fault.catalogueMessage, fault.catalogueKept)
                : reader.file == std::string("Pu-239.dat")
                    ? std::pair(fault.runMessage, fault.runKept)
                    : std::pair(fault.optionsMessage, fault.optionsKept);

            ScratchDirectory dir;
            const std::string data = dir.file("data/");
            writeDataDirectory(data);
            if (!fault.arrange(data, data + reader.file)) {
                unreadableMissing = true;
                continue;
            }
            Outcome outcome;
            if (fault.breaksReads) {
                const BrokenReads broken(data + reader.file);
                outcome = reader.read(data);
                ASSERT_TRUE(broken.broke()) << "the reader took the whole file in one read";
            } else {
                outcome = reader.read(data);
            }
            EXPECT_EQ(outcome.message, message);
            switch (kept) {
                case Kept::Nothing:
                    EXPECT_EQ(outcome.kept, reader.nothing);
                    break;
                case Kept::Earlier:
                    EXPECT_GE(outcome.kept, 0);
                    EXPECT_LE(outcome.kept, goodTables);
                    break;
                case Kept::PartOfIt:
                    EXPECT_GT(outcome.kept, 0);
                    EXPECT_LT(outcome.kept, reader.full);
                    break;
            }

            // The program goes on: the same read of good files gives everything again.
            const Outcome again = reader.read(good.file("data/"));
            EXPECT_EQ(again.message, "");
            EXPECT_EQ(again.kept, reader.full);
        }
        // After every fault, the run's tables are the same, digit for digit.
        EXPECT_EQ(run.tables(good.file("again.dos")), referenceTables) << fault.fault;
    }
    if (unreadableMissing) GTEST_SKIP() << kUnreadableFile << " is missing or could not be linked";
}

// The catalogue keeps the entries it read before a read error, each exactly as written.
TEST(FileFaults, CatalogueKeepsItsEntriesUpToAReadError) {
    ScratchDirectory dir;
    writeDataDirectory(dir.file("data/"));
    const BrokenReads broken(dir.file("data/nuclides.txt"));
    const CatalogueLoad load =
        loadCatalogue(dir.file("data/"), systemFileAttributes(), [](const std::string&) {});
    ASSERT_TRUE(broken.broke());
    EXPECT_EQ(load.fault, "File access denied");
    ASSERT_GT(load.entries.size(), 1u);
    for (std::size_t i = 1; i < load.entries.size(); ++i) {
        const std::string k = std::to_string(i + 1);
        ASSERT_EQ(load.entries[i].name, "Nuclide " + k + std::string(300, '.'));
        ASSERT_EQ(load.entries[i].halfLife, k + " d");
    }
}

}  // namespace
}  // namespace fetaldose
