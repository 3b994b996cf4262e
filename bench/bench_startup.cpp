// Start-up as a user waits for it: from starting a fresh process to the first paint of its
// first window, set against a process that shows an empty Qt window, measured the same way
// in the same run. Needs an X display (run-benchmarks.sh starts a virtual one).
//
// The first paint is seen from outside: this program watches the root window for a newly
// mapped top-level window and asks the X server (DAMAGE extension) to report drawing into
// it. The server's own clearing of the window to its background on mapping is the first
// report; the program's first drawing of its contents is the next one.
//
// Usage: bench_startup PROGRAM EMPTY_WINDOW_PROGRAM SAMPLE_DATA_DIRECTORY [SAMPLES]

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct Display {
    xcb_connection_t* connection = nullptr;
    xcb_window_t root = 0;
    Display() {
        int screenNumber = 0;
        connection = xcb_connect(nullptr, &screenNumber);
        if (xcb_connection_has_error(connection)) {
            std::fprintf(stderr, "bench_startup: no X display\n");
            std::exit(2);
        }
        xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection));
        for (int i = 0; i < screenNumber; ++i) xcb_screen_next(&it);
        root = it.data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
        auto version = xcb_damage_query_version_reply(
            connection, xcb_damage_query_version(connection, 1, 1), nullptr);
        if (!version) {
            std::fprintf(stderr, "bench_startup: the X server has no DAMAGE extension\n");
            std::exit(2);
        }
        std::free(version);
        xcb_flush(connection);
    }
    ~Display() { xcb_disconnect(connection); }
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;
};

// Starts `program` (with `argument`, if any) in `folder` and returns the seconds until its
// first top-level window was first drawn into, or nothing if it drew no window within the time
// limit.
std::optional<double> timeToFirstPaint(Display& display, const std::string& program,
                                       const char* argument, const std::string& folder) {
    const uint8_t damageEvent =
        xcb_get_extension_data(display.connection, &xcb_damage_id)->first_event + XCB_DAMAGE_NOTIFY;
    const Clock::time_point start = Clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        if (::chdir(folder.c_str()) != 0) ::_exit(127);
        ::execl(program.c_str(), program.c_str(), argument, static_cast<char*>(nullptr));
        ::_exit(127);
    }
    std::optional<double> seconds;
    xcb_damage_damage_t damage = 0;
    bool clearedOnMapping = false;
    const Clock::time_point deadline = start + std::chrono::seconds(20);
    while (!seconds && Clock::now() < deadline) {
        xcb_generic_event_t* event = xcb_poll_for_event(display.connection);
        if (!event) {
            if (::waitpid(child, nullptr, WNOHANG) == child) break;
            ::usleep(200);
            continue;
        }
        const uint8_t type = event->response_type & 0x7f;
        if (type == XCB_MAP_NOTIFY && damage == 0) {
            const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
            if (!map->override_redirect) {
                damage = xcb_generate_id(display.connection);
                xcb_damage_create(display.connection, damage, map->window,
                                  XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
                xcb_flush(display.connection);
            }
        } else if (type == damageEvent && damage != 0 && !clearedOnMapping) {
            clearedOnMapping = true;
            // Reports stop until the damage so far is taken away.
            xcb_damage_subtract(display.connection, damage, XCB_NONE, XCB_NONE);
            xcb_flush(display.connection);
        } else if (type == damageEvent && damage != 0) {
            seconds = std::chrono::duration<double>(Clock::now() - start).count();
        }
        std::free(event);
    }
    if (damage != 0) xcb_damage_destroy(display.connection, damage);
    xcb_flush(display.connection);
    ::kill(child, SIGTERM);
    ::waitpid(child, nullptr, 0);
    // Events of the window going away are of no interest to the next sample.
    while (xcb_generic_event_t* event = xcb_poll_for_event(display.connection)) std::free(event);
    return seconds;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// A working folder whose data/ holds the given data set with every data file already
// read-only, so that start-up shows no first-run notice.
struct Folder {
    fs::path path;
    explicit Folder(const std::string& name) : path(fs::temp_directory_path() / name) {
        fs::remove_all(path);
        fs::create_directories(path / "data");
    }
    ~Folder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    void makeDataFilesReadOnly() const {
        for (const auto& entry : fs::directory_iterator(path / "data"))
            if (entry.path().extension() == ".dat") ::chmod(entry.path().c_str(), 0444);
    }
};

void writeLargeCatalogue(const Folder& folder, const fs::path& sampleData) {
    constexpr int kEntries = 900;
    std::ofstream out(folder.path / "data" / "nuclides.txt", std::ios::binary);
    out << kEntries << "\r\n";
    fs::copy_file(sampleData / "Pu-239.dat", folder.path / "data" / "Pu-239.dat");
    out << "Pu-239\r\n24100 y\r\n";
    for (int i = 2; i <= kEntries; ++i) out << "Nc-" << i << "\r\n" << i << ".5 d\r\n";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr,
                     "usage: %s PROGRAM EMPTY_WINDOW_PROGRAM SAMPLE_DATA_DIRECTORY"
                     " [SAMPLES]\n",
                     argv[0]);
        return 2;
    }
    const std::string program = fs::absolute(argv[1]);
    const std::string emptyWindow = fs::absolute(argv[2]);
    const fs::path sampleData = fs::absolute(argv[3]);
    const int samples = argc > 4 ? std::max(1, std::atoi(argv[4])) : 15;

    Folder sample("fetaldose-bench-startup-sample");
    fs::copy(sampleData, sample.path / "data", fs::copy_options::recursive);
    sample.makeDataFilesReadOnly();
    Folder large("fetaldose-bench-startup-900");
    writeLargeCatalogue(large, sampleData);
    large.makeDataFilesReadOnly();

    Display display;
    struct Case {
        const char* label;
        const std::string* program;
        const char* argument;
        const Folder* folder;
        std::vector<double> seconds;
    };
    // The window with a menu bar and a line of text shows how much of the program's time any
    // main window with text pays (the font configuration, a face, the menu bar), for reading.
    std::vector<Case> cases = {
        {"empty Qt window", &emptyWindow, nullptr, &sample, {}},
        {"Qt window with a menu bar and text", &emptyWindow, "--text", &sample, {}},
        {"program, sample data set", &program, nullptr, &sample, {}},
        {"program, 900-entry catalogue", &program, nullptr, &large, {}}};
    // Samples of the three cases interleave, so that a change in the machine's load falls on
    // all of them alike.
    for (int i = 0; i < samples; ++i)
        for (Case& c : cases)
            if (auto s = timeToFirstPaint(display, *c.program, c.argument, c.folder->path.string()))
                c.seconds.push_back(*s);
    for (const Case& c : cases)
        if (c.seconds.empty()) {
            std::fprintf(stderr, "bench_startup: %s drew no window\n", c.label);
            return 1;
        }
    const double empty = median(cases[0].seconds);
    std::printf("%-58s %8.1f ms (median of %d)\n", "start-up to first paint, empty Qt window",
                empty * 1e3, samples);
    const double text = median(cases[1].seconds);
    std::printf("%-58s %8.1f ms, %.2f x empty window   (for reading)\n",
                "start-up to first paint, Qt window with a menu bar and text", text * 1e3,
                text / empty);
    for (std::size_t i = 2; i < cases.size(); ++i) {
        const double seconds = median(cases[i].seconds);
        const double ratio = seconds / empty;
        const std::string label = std::string("start-up to first paint, ") + cases[i].label;
        std::printf(
            "%-58s %8.1f ms, %.2f x empty window, %.2f x menu-and-text window"
            "   (goal: at most 1.5 x empty) %s\n",
            label.c_str(), seconds * 1e3, ratio, seconds / text, ratio <= 1.5 ? "ok" : "MISSED");
    }
    return 0;
}
