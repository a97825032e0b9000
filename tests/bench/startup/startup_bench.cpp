// How fast the game's first window reaches the screen, side by side with a bare Qt window
// of the main window's size: both are started on a virtual X server of our own, taking
// turns, and each run is timed from the moment before exec to the X server's MapNotify
// for the program's first top-level window. One second later its resident memory is read.
//
//   snugbox_startup_bench SNUGBOX BARE_WINDOW [RUNS]
//
// Prints one table of medians and exits 0; a program that shows no window within ten
// seconds is reported and counts as a failed run. It measures, it never judges.
#include <xcb/xcb.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kMapTimeout = std::chrono::seconds(10);
constexpr auto kSettleBeforeMemory = std::chrono::seconds(1);

struct Sample {
    double mapMilliseconds = 0;
    double cpuMillisecondsAtMap = 0;
    double residentMegabytes = 0;
};

struct Program {
    std::string label;
    std::string path;
    std::vector<Sample> samples;
    int failures = 0;
};

[[noreturn]] void die(const std::string& why)
{
    std::fprintf(stderr, "startup bench: %s\n", why.c_str());
    std::exit(1);
}

pid_t spawn(const std::vector<std::string>& command, int keepOpenFd = -1)
{
    std::vector<char*> argv;
    for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (keepOpenFd < 0) {
            // The program's own output would only clutter the table.
            const int null = ::open("/dev/null", O_WRONLY);
            ::dup2(null, STDOUT_FILENO);
            ::dup2(null, STDERR_FILENO);
        }
        ::execv(argv[0], argv.data());
        std::_Exit(127);
    }
    return pid;
}

void stop(pid_t pid)
{
    ::kill(pid, SIGTERM);
    for (int tries = 0; tries < 300; ++tries) {
        if (::waitpid(pid, nullptr, WNOHANG) == pid) return;
        ::usleep(10'000);
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
}

std::string findInPath(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::istringstream folders(path != nullptr ? path : "/usr/bin");
    for (std::string folder; std::getline(folders, folder, ':');) {
        const std::string candidate = folder + "/" + name;
        if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return {};
}

// A virtual screen of our own, so that no desktop, compositor or window manager is timed.
class VirtualScreen {
public:
    VirtualScreen()
    {
        const std::string xvfb = findInPath("Xvfb");
        if (xvfb.empty()) die("Xvfb is not installed (scripts/install-deps.sh installs it)");
        int displayPipe[2];
        if (::pipe(displayPipe) != 0) die("no pipe");
        pid_ = spawn({xvfb, "-displayfd", std::to_string(displayPipe[1]), "-screen", "0", "1024x768x24",
                      "-nolisten", "tcp"},
                     displayPipe[1]);
        ::close(displayPipe[1]);
        std::string number;
        char c = 0;
        while (::read(displayPipe[0], &c, 1) == 1 && c != '\n') number.push_back(c);
        ::close(displayPipe[0]);
        if (number.empty()) die("Xvfb did not start");
        display_ = ":" + number;
    }
    ~VirtualScreen() { stop(pid_); }
    VirtualScreen(const VirtualScreen&) = delete;
    VirtualScreen& operator=(const VirtualScreen&) = delete;

    const std::string& display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};

// Told by the X server whenever a top-level window is mapped.
class MapWatcher {
public:
    explicit MapWatcher(const std::string& display)
        : connection_(xcb_connect(display.c_str(), nullptr))
    {
        if (xcb_connection_has_error(connection_)) die("cannot connect to " + display);
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection_, root, XCB_CW_EVENT_MASK, &mask);
        xcb_aux_sync();
    }
    ~MapWatcher() { xcb_disconnect(connection_); }
    MapWatcher(const MapWatcher&) = delete;
    MapWatcher& operator=(const MapWatcher&) = delete;

    // Forgets what earlier runs left behind (their unmaps and destroys).
    void drain()
    {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) std::free(event);
    }

    // When the next MapNotify arrived, or nothing within the timeout.
    std::optional<Clock::time_point> awaitMap(Clock::time_point deadline)
    {
        pollfd watched{xcb_get_file_descriptor(connection_), POLLIN, 0};
        while (Clock::now() < deadline) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
                const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
                std::free(event);
                if (mapped) return Clock::now();
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            ::poll(&watched, 1, static_cast<int>(std::max<long>(1, left.count())));
        }
        return std::nullopt;
    }

private:
    void xcb_aux_sync() { std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr)); }

    xcb_connection_t* connection_;
};

// Processor time of every thread of the process so far, from the scheduler's own account.
double cpuMilliseconds(pid_t pid)
{
    double total = 0;
    std::error_code error;
    const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
    for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
        std::ifstream schedstat(task.path() / "schedstat");
        double nanoseconds = 0;
        if (schedstat >> nanoseconds) total += nanoseconds / 1e6;
    }
    return total;
}

double residentMegabytes(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) return std::strtod(line.c_str() + 6, nullptr) / 1024.0;
    }
    return 0;
}

std::optional<Sample> runOnce(const Program& program, MapWatcher& watcher)
{
    watcher.drain();
    const Clock::time_point start = Clock::now();
    const pid_t pid = spawn({program.path});
    const auto mapped = watcher.awaitMap(start + kMapTimeout);
    std::optional<Sample> sample;
    if (mapped) {
        Sample taken;
        taken.mapMilliseconds = std::chrono::duration<double, std::milli>(*mapped - start).count();
        taken.cpuMillisecondsAtMap = cpuMilliseconds(pid);
        std::this_thread::sleep_for(kSettleBeforeMemory);
        taken.residentMegabytes = residentMegabytes(pid);
        sample = taken;
    }
    stop(pid);
    return sample;
}

double median(std::vector<double> values)
{
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double medianOf(const Program& program, double Sample::*field)
{
    std::vector<double> values;
    for (const Sample& sample : program.samples) values.push_back(sample.*field);
    return median(values);
}

void printTable(const Program& bare, const Program& game, int runs)
{
    std::printf("\nStart-up under Xvfb, %d runs each, taking turns (medians)\n", runs);
    std::printf("%-28s %16s %14s %18s\n", "", "exec to map (ms)", "CPU to map (ms)", "resident 1 s on (MB)");
    for (const Program* program : {&bare, &game}) {
        std::printf("%-28s %16.1f %14.1f %18.1f", program->label.c_str(), medianOf(*program, &Sample::mapMilliseconds),
                    medianOf(*program, &Sample::cpuMillisecondsAtMap),
                    medianOf(*program, &Sample::residentMegabytes));
        if (program->failures > 0) std::printf("   (%d runs showed no window)", program->failures);
        std::printf("\n");
    }
    const auto ratio = [&](double Sample::*field) {
        const double floor = medianOf(bare, field);
        return floor > 0 ? medianOf(game, field) / floor : 0.0;
    };
    std::printf("%-28s %15.2fx %13.2fx %17.2fx\n", "snugbox / bare", ratio(&Sample::mapMilliseconds),
                ratio(&Sample::cpuMillisecondsAtMap), ratio(&Sample::residentMegabytes));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) die("usage: snugbox_startup_bench SNUGBOX BARE_WINDOW [RUNS]");
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 10;

    // A store of its own, so that the runs neither read nor change the player's.
    char configPattern[] = "/tmp/snugbox-startup-XXXXXX";
    if (::mkdtemp(configPattern) == nullptr) die("no temporary directory");
    ::setenv("XDG_CONFIG_HOME", configPattern, 1);
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);

    VirtualScreen screen;
    ::setenv("DISPLAY", screen.display().c_str(), 1);
    MapWatcher watcher(screen.display());

    Program bare{"bare Qt window (765 x 563)", argv[2], {}, 0};
    Program game{"snugbox", argv[1], {}, 0};
    // One unmeasured run each first, so that both meet warm caches.
    runOnce(bare, watcher);
    runOnce(game, watcher);
    for (int run = 0; run < runs; ++run) {
        for (Program* program : {&bare, &game}) {
            if (auto sample = runOnce(*program, watcher)) {
                program->samples.push_back(*sample);
            } else {
                ++program->failures;
            }
        }
    }
    printTable(bare, game, runs);

    std::error_code ignored;
    std::filesystem::remove_all(configPattern, ignored);
    return 0;
}
