// The whole running program measured from outside, beside a bare Qt window of the same size (built with
// this benchmark) in the same run:
//   - launch to the top-level window being mapped (median of several starts) and the ratio of the two;
//   - resident memory 5 s after the window is mapped;
//   - CPU time and wake-ups (voluntary context switches of all threads) per second while the program
//     (a) sits hidden with no device, (b) streams the factory lighting of the three simulated devices
//     with its window hidden, (c) does the same with the window shown on the lighting page.
// A plain program rather than a Google Benchmark: what it times is other processes.
//
// It needs an X server, since "mapped" is an X event. With DISPLAY unset (or ZQ70_BENCH_XVFB=1, to keep
// the windows off a desktop whose tray would hide the program) it runs itself again under `xvfb-run -a`,
// which starts a virtual server on a free display number and ends it afterwards. ZQ70_BENCH_SECONDS
// shortens the 30 s idle windows and ZQ70_BENCH_RUNS sets the number of counted starts.
//
// Every measured process gets its own temporary XDG_RUNTIME_DIR, XDG_CONFIG_HOME and ZQ70_DATA_DIR and an
// empty ZQ70_HIDRAW_DIR, so it never touches the user's files, meets the user's running instance or opens
// a real device. Each is ended with `zq70ctl quit` (the bare window with SIGTERM) and killed when it has
// not ended 2 s later; the children also die with this process (PR_SET_PDEATHSIG), on Ctrl-C and when
// the reader of the output goes away.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr auto kMapLimit = 20s;   // launch to mapped; a cold start under load stays far below
constexpr auto kReadyLimit = 20s; // launch until the control channel answers
constexpr auto kCtlLimit = 3s;    // one zq70ctl command
constexpr auto kEndLimit = 2s;    // quit to the process gone, then it is killed
constexpr double kRssDelaySeconds = 5;
constexpr double kMaxSettleSeconds = 5;
constexpr int kDefaultRuns = 5;
constexpr double kDefaultSeconds = 30;

// What the figures are read against.
constexpr double kStartRatioTarget = 2.0;
constexpr double kRssTargetMiB = 60;
constexpr double kIdleWakeupsTarget = 1.0;
constexpr double kIdleCpuTarget = 0.05;
constexpr double kStreamHiddenCpuTarget = 1.0;
constexpr double kStreamShownCpuTarget = 3.0;

const char* const kProgramTitle = "ZEPHRAN Q70";
const char* const kBareTitle = "bare window";
constexpr int kMinMainWidth = 600; // both windows are 800 x 572
constexpr int kMinMainHeight = 400;

// ---- children and interruption -----------------------------------------------------------------------

// Process groups of the children still running, for the signal handler: lock-free atomics only.
std::array<std::atomic<pid_t>, 16> gLiveGroups{};
volatile std::sig_atomic_t gInterrupted = 0;

struct Interrupted {};

void onSignal(int) {
    gInterrupted = 1;
    for (auto& group : gLiveGroups) {
        const pid_t pid = group.load();
        if (pid > 0) kill(-pid, SIGKILL);
    }
}

void checkInterrupted() {
    if (gInterrupted) throw Interrupted{};
}

// Sleeps in short steps so Ctrl-C is seen at once.
void sleepFor(Clock::duration d) {
    const auto until = Clock::now() + d;
    while (Clock::now() < until) {
        checkInterrupted();
        std::this_thread::sleep_for(std::min<Clock::duration>(until - Clock::now(), 50ms));
    }
    checkInterrupted();
}

double secondsSince(Clock::time_point t) {
    return std::chrono::duration<double>(Clock::now() - t).count();
}

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The last lines of a log, indented, for a failure message.
std::string tail(const std::string& text, int lines) {
    std::vector<std::string> all;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) all.push_back(line);
    std::string out;
    for (size_t i = all.size() > size_t(lines) ? all.size() - lines : 0; i < all.size(); ++i)
        out += "\n      | " + all[i];
    return out;
}

// A child process in its own process group, its stdout and stderr going to a log file.
class Process {
public:
    Process(std::vector<std::string> argv, const std::vector<std::string>& env, std::string logPath)
        : argv_(std::move(argv)), log_(std::move(logPath)) {
        std::vector<char*> args, envp;
        for (auto& a : argv_) args.push_back(a.data());
        args.push_back(nullptr);
        std::vector<std::string> envCopy = env;
        for (auto& e : envCopy) envp.push_back(e.data());
        envp.push_back(nullptr);
        const pid_t parent = getpid();
        started_ = Clock::now();
        pid_ = fork();
        if (pid_ < 0) throw std::runtime_error(std::string("fork: ") + std::strerror(errno));
        if (pid_ == 0) {
            setpgid(0, 0);
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (getppid() != parent) _exit(127);
            const int in = open("/dev/null", O_RDONLY);
            const int out = open(log_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            if (in < 0 || out < 0) _exit(127);
            dup2(in, 0);
            dup2(out, 1);
            dup2(out, 2);
            execve(args[0], args.data(), envp.data());
            dprintf(2, "cannot start %s: %s\n", args[0], std::strerror(errno));
            _exit(127);
        }
        setpgid(pid_, pid_);
        for (auto& group : gLiveGroups) {
            pid_t empty = 0;
            if (group.compare_exchange_strong(empty, pid_)) break;
        }
    }
    ~Process() {
        if (running()) kill(-pid_, SIGKILL);
        waitExit(kEndLimit);
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    pid_t pid() const { return pid_; }
    Clock::time_point started() const { return started_; }

    // Reaps the child when it has ended.
    bool running() {
        if (status_) return false;
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) != pid_) return true;
        status_ = status;
        // Whatever the child left in its group goes with it.
        kill(-pid_, SIGKILL);
        for (auto& group : gLiveGroups) {
            pid_t mine = pid_;
            group.compare_exchange_strong(mine, 0);
        }
        return false;
    }

    bool waitExit(Clock::duration limit) {
        const auto until = Clock::now() + limit;
        while (running()) {
            if (Clock::now() >= until) return false;
            std::this_thread::sleep_for(10ms);
        }
        return true;
    }

    // Ends the process at once and waits for it.
    void killHard() {
        if (running()) kill(-pid_, SIGKILL);
        if (!waitExit(5s)) throw std::runtime_error("process " + std::to_string(pid_) + " survived SIGKILL");
    }

    std::string exitDescription() const {
        if (!status_) return "still running";
        if (WIFEXITED(*status_)) return "exit code " + std::to_string(WEXITSTATUS(*status_));
        if (WIFSIGNALED(*status_)) return std::string("signal ") + strsignal(WTERMSIG(*status_));
        return "ended";
    }
    int exitCode() const { return status_ && WIFEXITED(*status_) ? WEXITSTATUS(*status_) : -1; }
    std::string output() const { return readFile(log_); }

private:
    std::vector<std::string> argv_;
    std::string log_;
    pid_t pid_ = -1;
    Clock::time_point started_;
    std::optional<int> status_;
};

// ---- private folders ---------------------------------------------------------------------------------

class TempTree {
public:
    TempTree() {
        std::string pattern = (fs::temp_directory_path() / "zq70-bench.XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error(std::string("mkdtemp: ") + std::strerror(errno));
        root_ = pattern;
    }
    ~TempTree() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;
    const fs::path& root() const { return root_; }

private:
    fs::path root_;
};

// One measured configuration: its folders, its environment, and where its processes log.
struct Instance {
    std::string name;
    fs::path dir;
    std::vector<std::string> env;
    int launches = 0;

    std::string nextLog() { return (dir / (name + "-" + std::to_string(++launches) + ".log")).string(); }
};

void makePrivateDir(const fs::path& p) {
    if (mkdir(p.c_str(), 0700) != 0 && errno != EEXIST)
        throw std::runtime_error("mkdir " + p.string() + ": " + std::strerror(errno));
}

Instance makeInstance(const TempTree& tree, const std::string& name) {
    Instance inst{name, tree.root() / name, {}, 0};
    makePrivateDir(inst.dir);
    const std::map<std::string, fs::path> folders{{"XDG_RUNTIME_DIR", inst.dir / "runtime"},
                                                  {"XDG_CONFIG_HOME", inst.dir / "config"},
                                                  {"ZQ70_DATA_DIR", inst.dir / "data"},
                                                  {"ZQ70_HIDRAW_DIR", inst.dir / "hidraw"}};
    std::map<std::string, std::string> overrides;
    for (const auto& [key, path] : folders) {
        makePrivateDir(path);
        overrides[key] = path.string();
    }
    // The windows must reach the X server even when the caller's shell asks Qt for offscreen.
    overrides["QT_QPA_PLATFORM"] = "xcb";
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        const auto eq = entry.find('=');
        if (eq == std::string::npos || overrides.count(entry.substr(0, eq))) continue;
        if (entry.rfind("ZQ70_", 0) == 0) continue; // the program's own switches are set here or not at all
        inst.env.push_back(entry);
    }
    for (const auto& [key, value] : overrides) inst.env.push_back(key + "=" + value);
    return inst;
}

// ---- the control client ------------------------------------------------------------------------------

struct CtlAnswer {
    bool ok = false;
    std::string text; // stdout and stderr of the client
};

struct Paths {
    std::string program;
    std::string ctl; // empty when the client is not built
    std::string bare;
};

CtlAnswer runCtl(const Paths& paths, Instance& inst, const std::vector<std::string>& args) {
    if (paths.ctl.empty()) return {false, "zq70ctl is not built"};
    std::vector<std::string> argv{paths.ctl, "--json"};
    argv.insert(argv.end(), args.begin(), args.end());
    Process client(argv, inst.env, inst.nextLog());
    if (!client.waitExit(kCtlLimit)) {
        client.killHard();
        return {false, "zq70ctl did not answer within 3 s"};
    }
    std::string text = client.output();
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    return {client.exitCode() == 0, text};
}

// How many times `"key": true` occurs in a JSON answer, whatever its spacing: enough to read the few
// flags the benchmark looks at without a JSON parser.
int countTrue(const std::string& json, const std::string& key) {
    const std::string quoted = "\"" + key + "\"";
    int n = 0;
    for (size_t at = json.find(quoted); at != std::string::npos; at = json.find(quoted, at + 1)) {
        size_t i = at + quoted.size();
        while (i < json.size() && (json[i] == ' ' || json[i] == ':')) ++i;
        if (json.compare(i, 4, "true") == 0) ++n;
    }
    return n;
}

// ---- X: seeing a top-level window mapped -------------------------------------------------------------

int ignoreXErrors(Display*, XErrorEvent*) {
    return 0;
} // windows vanish between an event and a query

class MapWatcher {
public:
    explicit MapWatcher(bool ownServer) : ownServer_(ownServer) {
        display_ = XOpenDisplay(nullptr);
        if (!display_) {
            const char* name = std::getenv("DISPLAY");
            throw std::runtime_error(std::string("cannot open the X display ") + (name ? name : "(unset)"));
        }
        XSetErrorHandler(ignoreXErrors);
        root_ = DefaultRootWindow(display_);
        netWmPid_ = XInternAtom(display_, "_NET_WM_PID", False);
        netWmName_ = XInternAtom(display_, "_NET_WM_NAME", False);
        utf8String_ = XInternAtom(display_, "UTF8_STRING", False);
        XSelectInput(display_, root_, SubstructureNotifyMask);
        XSync(display_, False);
    }
    ~MapWatcher() { XCloseDisplay(display_); }
    MapWatcher(const MapWatcher&) = delete;
    MapWatcher& operator=(const MapWatcher&) = delete;

    // Forgets earlier events, so the next wait sees only what happens after it.
    void drain() {
        XSync(display_, False);
        while (XPending(display_)) {
            XEvent e;
            XNextEvent(display_, &e);
        }
    }

    // Waits until a top-level window of `p` (by _NET_WM_PID, or by its title) is mapped and returns
    // when that was seen; nullopt with `why` when the process ended first or the time ran out.
    //
    // Without a window manager a top-level window is a child of the root, whose SubstructureNotify shows
    // its map. A reparenting manager maps it inside a frame, so every new child of the root is also
    // watched itself (StructureNotify) from its creation on; one mapped before that selection took
    // effect is caught by asking its map state right after selecting.
    std::optional<Clock::time_point> waitForMap(Process& p, const std::string& title, std::string& why) {
        const auto deadline = Clock::now() + kMapLimit;
        const int fd = ConnectionNumber(display_);
        for (;;) {
            while (XPending(display_)) {
                XEvent e;
                XNextEvent(display_, &e);
                const auto seen = Clock::now();
                if (e.type == CreateNotify && e.xcreatewindow.parent == root_ &&
                    !e.xcreatewindow.override_redirect) {
                    const Window w = e.xcreatewindow.window;
                    XSelectInput(display_, w, StructureNotifyMask);
                    XWindowAttributes a;
                    if (XGetWindowAttributes(display_, w, &a) && a.map_state != IsUnmapped &&
                        matches(w, p.pid(), title))
                        return seen;
                } else if (e.type == MapNotify && !e.xmap.override_redirect &&
                           matches(e.xmap.window, p.pid(), title)) {
                    return seen;
                }
            }
            if (!p.running()) {
                why = "it ended before mapping a window (" + p.exitDescription() + ")" + tail(p.output(), 6);
                return std::nullopt;
            }
            if (Clock::now() >= deadline) {
                why = "it mapped no window of main-window size within " +
                      std::to_string(std::chrono::duration_cast<std::chrono::seconds>(kMapLimit).count()) +
                      " s";
                // On a desktop the program may stay in the tray where a virtual server has none.
                if (!ownServer_) why += " (a desktop tray may keep it hidden: try ZQ70_BENCH_XVFB=1)";
                return std::nullopt;
            }
            checkInterrupted();
            pollfd pfd{fd, POLLIN, 0};
            poll(&pfd, 1, 10);
        }
    }

private:
    // A window of the process of main-window size: not its tray icon, a message box or its hidden
    // leader window. Scaling only makes the window larger, so a lower bound is safe.
    bool matches(Window w, pid_t pid, const std::string& title) {
        XWindowAttributes a;
        if (!XGetWindowAttributes(display_, w, &a) || a.override_redirect || a.width < kMinMainWidth ||
            a.height < kMinMainHeight)
            return false;
        if (windowPid(w) == pid) return true;
        return windowTitle(w) == title;
    }

    long windowPid(Window w) {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        long pid = -1;
        if (XGetWindowProperty(display_, w, netWmPid_, 0, 1, False, XA_CARDINAL, &type, &format, &count,
                               &after, &data) == Success &&
            data && format == 32 && count == 1) {
            long value = 0;
            std::memcpy(&value, data, sizeof value); // format 32 comes as long
            pid = value;
        }
        if (data) XFree(data);
        return pid;
    }

    std::string windowTitle(Window w) {
        std::string title;
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display_, w, netWmName_, 0, 256, False, utf8String_, &type, &format, &count,
                               &after, &data) == Success &&
            data && format == 8)
            title.assign(reinterpret_cast<const char*>(data), count);
        if (data) XFree(data);
        if (!title.empty()) return title;
        char* name = nullptr;
        if (XFetchName(display_, w, &name) && name) title = name;
        if (name) XFree(name);
        return title;
    }

    bool ownServer_;
    Display* display_ = nullptr;
    Window root_ = 0;
    Atom netWmPid_ = 0, netWmName_ = 0, utf8String_ = 0;
};

// ---- /proc -------------------------------------------------------------------------------------------

// utime + stime of the whole process (finished threads included), in clock ticks; -1 when it is gone.
long cpuTicks(pid_t pid) {
    const std::string stat = readFile("/proc/" + std::to_string(pid) + "/stat");
    const auto close = stat.rfind(')'); // the command name may hold spaces and parentheses
    if (close == std::string::npos) return -1;
    std::istringstream fields(stat.substr(close + 2));
    std::vector<std::string> f;
    for (std::string s; fields >> s;) f.push_back(s);
    // After the name: field 3 (state) is f[0], so utime (14) is f[11] and stime (15) f[12].
    if (f.size() < 13) return -1;
    return std::stol(f[11]) + std::stol(f[12]);
}

long statusField(const std::string& statusPath, const std::string& key) {
    std::ifstream in(statusPath);
    for (std::string line; std::getline(in, line);)
        if (line.rfind(key, 0) == 0) return std::strtol(line.c_str() + key.size(), nullptr, 10);
    return -1;
}

double residentMiB(pid_t pid) {
    const long kb = statusField("/proc/" + std::to_string(pid) + "/status", "VmRSS:");
    return kb < 0 ? -1 : kb / 1024.0;
}

// Voluntary context switches per thread: each is a sleep the thread went into and woke from.
std::map<long, long> voluntarySwitches(pid_t pid) {
    std::map<long, long> out;
    std::error_code ec;
    for (const auto& task : fs::directory_iterator("/proc/" + std::to_string(pid) + "/task", ec)) {
        const long n = statusField((task.path() / "status").string(), "voluntary_ctxt_switches:");
        if (n >= 0) out[std::strtol(task.path().filename().c_str(), nullptr, 10)] = n;
    }
    return out;
}

struct Usage {
    bool ok = false;
    std::string why;
    double seconds = 0;
    double cpuPercent = 0;
    double wakeupsPerSecond = 0;
    size_t threads = 0;
};

// Counts one process over a window. Threads are sampled every second so one that ends inside the window
// still counts what it did until its last sample; one that starts inside it counts from zero.
class UsageMeter {
public:
    explicit UsageMeter(Process& p) : p_(p) {}

    void start() {
        startTicks_ = cpuTicks(p_.pid());
        for (const auto& [tid, n] : voluntarySwitches(p_.pid())) threads_[tid] = {n, n};
        startTime_ = Clock::now();
    }

    void sample() {
        if (!p_.running()) return;
        for (const auto& [tid, n] : voluntarySwitches(p_.pid())) {
            auto it = threads_.find(tid);
            if (it == threads_.end())
                threads_[tid] = {0, n};
            else
                it->second.second = n;
        }
    }

    Usage finish() {
        Usage u;
        sample();
        const long endTicks = cpuTicks(p_.pid());
        u.seconds = secondsSince(startTime_);
        if (!p_.running() || startTicks_ < 0 || endTicks < 0) {
            u.why = "the process ended during the measurement (" + p_.exitDescription() + ")" +
                    tail(p_.output(), 6);
            return u;
        }
        long switches = 0;
        for (const auto& [tid, counts] : threads_) switches += counts.second - counts.first;
        u.ok = true;
        u.threads = voluntarySwitches(p_.pid()).size();
        u.cpuPercent = 100.0 * double(endTicks - startTicks_) / double(sysconf(_SC_CLK_TCK)) / u.seconds;
        u.wakeupsPerSecond = double(switches) / u.seconds;
        return u;
    }

private:
    Process& p_;
    long startTicks_ = -1;
    Clock::time_point startTime_;
    std::map<long, std::pair<long, long>> threads_; // first and last count seen
};

// Measures several processes over the same window.
std::vector<Usage> measureTogether(const std::vector<Process*>& processes, double seconds) {
    std::vector<UsageMeter> meters;
    for (Process* p : processes) meters.emplace_back(*p);
    for (auto& m : meters) m.start();
    const auto begin = Clock::now();
    const auto end =
        begin + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    for (auto next = begin + 1s; next < end; next += 1s) {
        sleepFor(next - Clock::now());
        for (auto& m : meters) m.sample();
    }
    sleepFor(end - Clock::now());
    std::vector<Usage> out;
    for (auto& m : meters) out.push_back(m.finish());
    return out;
}

// ---- report ------------------------------------------------------------------------------------------

std::string format(const char* fmt, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, fmt, value);
    return buffer;
}

// One figure a line: what, the value, and its target with the verdict where it has one.
void line(const std::string& label, const std::string& value, const std::string& target = "",
          std::optional<bool> met = std::nullopt) {
    std::string verdict;
    if (!target.empty()) verdict = "target " + target + (met ? (*met ? "  met" : "  MISSED") : "");
    char text[256];
    std::snprintf(text, sizeof text, "  %-56s %12s   %s", label.c_str(), value.c_str(), verdict.c_str());
    std::string out = text;
    while (!out.empty() && out.back() == ' ') out.pop_back();
    std::printf("%s\n", out.c_str());
    std::fflush(stdout);
}

void notMeasured(const std::string& label, const std::string& why) {
    std::printf("  %-56s not measured: %s\n", label.c_str(), why.c_str());
    std::fflush(stdout);
}

void note(const std::string& text) {
    std::printf("      %s\n", text.c_str());
    std::fflush(stdout);
}

// CPU and wake-up lines of one usage, with their targets where the figure has one.
void usageLines(const std::string& label, const Usage& u, std::optional<double> cpuTarget,
                std::optional<double> wakeupTarget) {
    if (!u.ok) {
        notMeasured(label, u.why);
        return;
    }
    const std::string cpu = format("%.3f %%", u.cpuPercent);
    const std::string wakeups = format("%.2f /s", u.wakeupsPerSecond);
    if (cpuTarget)
        line(label + ": CPU", cpu, format("<= %.2f %% of a core", *cpuTarget), u.cpuPercent <= *cpuTarget);
    else
        line(label + ": CPU", cpu);
    if (wakeupTarget)
        line(label + ": wake-ups", wakeups, format("<= %.0f /s", *wakeupTarget),
             u.wakeupsPerSecond <= *wakeupTarget);
    else
        line(label + ": wake-ups", wakeups);
    // utime and stime count in clock ticks: a figure below one tick reads as zero.
    note(format("over %.1f s", u.seconds) +
         format(" (one clock tick is %.3f %%), ", 100.0 / double(sysconf(_SC_CLK_TCK)) / u.seconds) +
         std::to_string(u.threads) + " threads at the end");
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// ---- the measurements --------------------------------------------------------------------------------

struct Bench {
    Paths paths;
    TempTree& tree;
    MapWatcher& watcher;
    int runs;
    double seconds;
    double settle;
    Instance bareInst;
    Instance startInst;

    std::unique_ptr<Process> launchBare() {
        return std::make_unique<Process>(std::vector<std::string>{paths.bare}, bareInst.env,
                                         bareInst.nextLog());
    }

    std::unique_ptr<Process> launchProgram(Instance& inst, const std::vector<std::string>& args) {
        std::vector<std::string> argv{paths.program};
        argv.insert(argv.end(), args.begin(), args.end());
        return std::make_unique<Process>(argv, inst.env, inst.nextLog());
    }

    // The bare window has no control channel: SIGTERM is its quit.
    void endBare(Process& p) {
        if (p.running()) kill(p.pid(), SIGTERM);
        if (!p.waitExit(kEndLimit)) {
            note("the bare window did not end within 2 s of SIGTERM: killed");
            p.killHard();
        }
    }

    void endProgram(Process& p, Instance& inst) {
        if (!p.running()) return;
        const CtlAnswer answer = runCtl(paths, inst, {"quit"});
        if (!answer.ok) {
            if (!paths.ctl.empty()) note("`zq70ctl quit` failed: " + answer.text + "; sending SIGTERM");
            kill(p.pid(), SIGTERM);
        }
        if (!p.waitExit(kEndLimit)) {
            note("zephran-q70 did not end within 2 s of being asked to quit: killed");
            p.killHard();
        }
    }

    // Waits until the program's control channel answers `status` and returns the answer. Without the
    // client it can only wait for the settling time and check that the process still runs.
    std::optional<std::string> waitReady(Process& p, Instance& inst, std::string& why) {
        if (paths.ctl.empty()) {
            sleepFor(1s);
            if (p.running()) return std::string();
            why = "it ended at start (" + p.exitDescription() + ")" + tail(p.output(), 6);
            return std::nullopt;
        }
        const auto deadline = Clock::now() + kReadyLimit;
        std::string last;
        while (Clock::now() < deadline) {
            if (!p.running()) {
                why = "it ended at start (" + p.exitDescription() + ")" + tail(p.output(), 6);
                return std::nullopt;
            }
            const CtlAnswer answer = runCtl(paths, inst, {"status"});
            if (answer.ok) return answer.text;
            last = answer.text;
            sleepFor(200ms);
        }
        why = "`zq70ctl status` did not answer within 20 s: " + last;
        return std::nullopt;
    }

    void startToMapped() {
        std::printf("start to window mapped (one warm-up start each, then the median of %d):\n", runs);
        std::vector<double> bareTimes, programTimes;
        std::string bareFailure, programFailure;
        for (int run = 0; run <= runs; ++run) {
            if (bareFailure.empty()) {
                watcher.drain();
                auto p = launchBare();
                std::string why;
                const auto mapped = watcher.waitForMap(*p, kBareTitle, why);
                if (mapped && run > 0)
                    bareTimes.push_back(
                        std::chrono::duration<double, std::milli>(*mapped - p->started()).count());
                if (!mapped) bareFailure = why;
                endBare(*p);
            }
            if (programFailure.empty()) {
                watcher.drain();
                auto p = launchProgram(startInst, {"--simulate"});
                std::string why;
                const auto mapped = watcher.waitForMap(*p, kProgramTitle, why);
                if (mapped && run > 0)
                    programTimes.push_back(
                        std::chrono::duration<double, std::milli>(*mapped - p->started()).count());
                if (!mapped) programFailure = why;
                endProgram(*p, startInst);
            }
        }
        auto list = [](const std::vector<double>& v) {
            std::string s;
            for (double t : v) s += format(" %.0f", t);
            return s;
        };
        const std::string bareLabel = "bare window";
        const std::string programLabel = "zephran-q70 --simulate (devices plugged)";
        if (!bareTimes.empty()) {
            line(bareLabel, format("%.1f ms", median(bareTimes)));
            note("each start (ms):" + list(bareTimes));
        } else {
            notMeasured(bareLabel, bareFailure);
        }
        if (!programTimes.empty()) {
            line(programLabel, format("%.1f ms", median(programTimes)));
            note("each start (ms):" + list(programTimes));
        } else {
            notMeasured(programLabel, programFailure);
        }
        if (!bareTimes.empty() && !programTimes.empty()) {
            const double ratio = median(programTimes) / median(bareTimes);
            line("ratio zephran-q70 / bare window", format("%.2f", ratio),
                 format("<= %.1f", kStartRatioTarget), ratio <= kStartRatioTarget);
        } else {
            notMeasured("ratio zephran-q70 / bare window", "a start time is missing");
        }
    }

    // Both started and mapped, then each read 5 s after its own map.
    void residentMemory() {
        std::printf("resident memory (VmRSS) %.0f s after the window is mapped:\n", kRssDelaySeconds);
        const auto delay =
            std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(kRssDelaySeconds));
        watcher.drain();
        auto bare = launchBare();
        std::string bareWhy, programWhy;
        const auto bareMapped = watcher.waitForMap(*bare, kBareTitle, bareWhy);
        watcher.drain();
        auto program = launchProgram(startInst, {"--simulate"});
        const auto programMapped = watcher.waitForMap(*program, kProgramTitle, programWhy);
        double bareRss = -1, programRss = -1;
        if (bareMapped) {
            sleepFor(*bareMapped + delay - Clock::now());
            bareRss = residentMiB(bare->pid());
        }
        if (programMapped) {
            sleepFor(*programMapped + delay - Clock::now());
            programRss = residentMiB(program->pid());
        }
        endBare(*bare);
        endProgram(*program, startInst);
        if (bareRss >= 0)
            line("bare window", format("%.1f MiB", bareRss));
        else
            notMeasured("bare window", bareMapped ? "it ended before the reading" : bareWhy);
        if (programRss >= 0)
            line("zephran-q70 --simulate", format("%.1f MiB", programRss),
                 format("<= %.0f MiB", kRssTargetMiB), programRss <= kRssTargetMiB);
        else
            notMeasured("zephran-q70 --simulate", programMapped ? "it ended before the reading" : programWhy);
    }

    // (a) beside the bare window's own idle figures, measured over the same window.
    void idleNoDevice() {
        std::printf("idle with no device, beside the bare window; %.0f s after %.0f s of settling:\n",
                    seconds, settle);
        Instance inst = makeInstance(tree, "idle");
        watcher.drain();
        auto bare = launchBare();
        std::string bareWhy;
        const bool bareUp = watcher.waitForMap(*bare, kBareTitle, bareWhy).has_value();
        auto program = launchProgram(inst, {"--hidden"});
        std::string why;
        const auto status = waitReady(*program, inst, why);
        if (status && countTrue(*status, "visible") > 0)
            note("zephran-q70 reports its window visible although started with --hidden");
        sleepFor(std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(settle)));
        std::vector<Process*> measured;
        if (bareUp) measured.push_back(bare.get());
        if (status) measured.push_back(program.get());
        const auto usages = measureTogether(measured, measured.empty() ? 0 : seconds);
        const std::string programLabel = "(a) no device, hidden";
        if (status)
            usageLines(programLabel, usages.back(), kIdleCpuTarget, kIdleWakeupsTarget);
        else
            notMeasured(programLabel, why);
        if (bareUp)
            usageLines("bare window, shown", usages.front(), std::nullopt, std::nullopt);
        else
            notMeasured("bare window, shown", bareWhy);
        endProgram(*program, inst);
        endBare(*bare);
    }

    // (b) and (c) on one process: hidden first, then shown on the lighting page.
    void streaming() {
        std::printf(
            "--simulate, the three devices streaming their factory lighting; %.0f s each after %.0f s of "
            "settling:\n",
            seconds, settle);
        Instance inst = makeInstance(tree, "stream");
        const std::string hiddenLabel = "(b) 3 devices streaming, hidden";
        const std::string shownLabel = "(c) 3 devices streaming, shown on the lighting page";
        auto program = launchProgram(inst, {"--simulate", "--hidden"});
        std::string why;
        const auto status = waitReady(*program, inst, why);
        if (!status) {
            notMeasured(hiddenLabel, why);
            notMeasured(shownLabel, why);
            endProgram(*program, inst);
            return;
        }
        reportDevices(*status);
        sleepFor(std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(settle)));
        usageLines(hiddenLabel, measureTogether({program.get()}, seconds)[0], kStreamHiddenCpuTarget,
                   std::nullopt);

        if (!program->running()) {
            notMeasured(shownLabel, "the process ended");
            return;
        }
        if (paths.ctl.empty()) {
            notMeasured(shownLabel, "it needs `zq70ctl show`, and zq70ctl is not built");
            endProgram(*program, inst);
            return;
        }
        watcher.drain();
        const CtlAnswer shown = runCtl(paths, inst, {"show"});
        if (!shown.ok) {
            notMeasured(shownLabel, "`zq70ctl show` failed: " + shown.text);
            endProgram(*program, inst);
            return;
        }
        if (!watcher.waitForMap(*program, kProgramTitle, why)) {
            // Bring-up shows a message instead of the window while no device is open.
            const CtlAnswer now = runCtl(paths, inst, {"status"});
            notMeasured(shownLabel,
                        "after `zq70ctl show`, " + why + "; " + std::to_string(countTrue(now.text, "open")) +
                            " devices open, visible " + (countTrue(now.text, "visible") ? "true" : "false"));
            endProgram(*program, inst);
            return;
        }
        if (!openLightingPage(inst)) note("the lighting page could not be confirmed; measured as shown");
        sleepFor(std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(settle)));
        usageLines(shownLabel, measureTogether({program.get()}, seconds)[0], kStreamShownCpuTarget,
                   std::nullopt);
        endProgram(*program, inst);
    }

    // The mouse's lighting page, reached as a user reaches it: the device tab, then its lighting tab.
    bool openLightingPage(Instance& inst) {
        for (const char* tab : {"ms_tab", "ms_deng_Op_tab"}) {
            const CtlAnswer clicked = runCtl(paths, inst, {"ui", "click", tab});
            if (clicked.ok) continue;
            const CtlAnswer checked = runCtl(paths, inst, {"ui", "check", tab, "on"});
            if (!checked.ok) {
                note(std::string("`zq70ctl ui click|check ") + tab + "` failed: " + clicked.text + " / " +
                     checked.text);
                return false;
            }
        }
        const CtlAnswer page = runCtl(paths, inst, {"ui", "get", "ms_deng_Op_tab"});
        return page.ok && countTrue(page.text, "selected") > 0;
    }

    // How many simulated devices the status calls open, so a streaming figure is read with its context.
    static void reportDevices(const std::string& status) {
        if (status.empty()) return;
        const int open = countTrue(status, "open");
        if (open != 3)
            note("zq70ctl status reports " + std::to_string(open) + " of 3 devices open: " + status);
    }
};

// Runs this program again under a virtual X server. xvfb-run -a picks a free display number, sets
// DISPLAY and XAUTHORITY for us and ends the server when we return.
int rerunUnderXvfb(int argc, char** argv) {
    setenv("ZQ70_BENCH_UNDER_XVFB", "1", 1);
    std::vector<std::string> args{"xvfb-run", "-a", "-s", "-screen 0 1280x1024x24 -nolisten tcp",
                                  "/proc/self/exe"};
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n > 0) args.back().assign(self, size_t(n));
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    std::vector<char*> c;
    for (auto& a : args) c.push_back(a.data());
    c.push_back(nullptr);
    std::fflush(stdout);
    execvp("xvfb-run", c.data());
    std::fprintf(stderr,
                 "bench_process: no display and xvfb-run cannot be started (%s); install xvfb and xauth "
                 "(scripts/bootstrap) or set DISPLAY\n",
                 std::strerror(errno));
    return 1;
}

double envNumber(const char* name, double fallback, double least) {
    const char* text = std::getenv(name);
    if (!text || !*text) return fallback;
    char* end = nullptr;
    const double v = std::strtod(text, &end);
    if (*end || v < least) {
        std::fprintf(stderr, "bench_process: %s=%s is not a number >= %g; using %g\n", name, text, least,
                     fallback);
        return fallback;
    }
    return v;
}

} // namespace

int main(int argc, char** argv) {
    const bool underXvfb = std::getenv("ZQ70_BENCH_UNDER_XVFB") != nullptr;
    const char* display = std::getenv("DISPLAY");
    const char* forceXvfb = std::getenv("ZQ70_BENCH_XVFB");
    if (!underXvfb && (!display || !*display || (forceXvfb && std::strcmp(forceXvfb, "1") == 0)))
        return rerunUnderXvfb(argc, argv);

    Paths paths{ZQ_PROGRAM, ZQ_CTL, ZQ_BARE_WINDOW};
    for (const std::string* p : {&paths.program, &paths.bare}) {
        if (access(p->c_str(), X_OK) != 0) {
            std::fprintf(stderr, "bench_process: %s is not built\n", p->c_str());
            return 1;
        }
    }
    const bool haveCtl = access(paths.ctl.c_str(), X_OK) == 0;
    const std::string missingCtl = paths.ctl;
    if (!haveCtl) paths.ctl.clear();

    const int runs = int(envNumber("ZQ70_BENCH_RUNS", kDefaultRuns, 1));
    const double seconds = envNumber("ZQ70_BENCH_SECONDS", kDefaultSeconds, 1);
    const double settle = std::min(kMaxSettleSeconds, seconds);

    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) sigaction(sig, &action, nullptr);

    try {
        TempTree tree;
        MapWatcher watcher(underXvfb);
        Bench bench{paths,
                    tree,
                    watcher,
                    runs,
                    seconds,
                    settle,
                    makeInstance(tree, "bare"),
                    makeInstance(tree, "start")};
        std::printf("zephran-q70 whole-process benchmark on display %s%s\n", std::getenv("DISPLAY"),
                    underXvfb ? " (xvfb-run)" : "");
        if (!haveCtl)
            std::printf("  %s is not built: processes are ended with SIGTERM, figures that need it are not "
                        "measured\n",
                        missingCtl.c_str());
        const auto begin = Clock::now();
        bench.startToMapped();
        bench.residentMemory();
        bench.idleNoDevice();
        bench.streaming();
        std::printf("done in %.0f s\n", secondsSince(begin));
    } catch (const Interrupted&) {
        std::fprintf(stderr, "bench_process: interrupted; every measured process was ended\n");
        return 130;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_process: %s\n", e.what());
        return 1;
    }
    return 0;
}
