// The application in front (X11 under the test's display, the unavailable backend, the fake) and the
// running applications offered when linking one.
#include "platform/foreground.h"
#include "platform/running_applications.h"
#include "support/bounded_wait.h"
#include "temp_folder.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include <unistd.h>

namespace zq::test {
namespace {

namespace fs = std::filesystem;
using platform::RunningApplication;

std::string ownExecutable() {
    return fs::read_symlink("/proc/self/exe").string();
}

// A /proc of the test's own making: PID folders with an "exe" link each.
class FakeProc {
public:
    void process(long pid, const std::string& target) {
        const fs::path dir = folder_.path() / std::to_string(pid);
        fs::create_directories(dir);
        if (!target.empty()) fs::create_symlink(target, dir / "exe");
    }
    std::string root() const { return folder_.path().string(); }

private:
    TempFolder folder_;
};

TEST(ExecutableOfProcess, ReadsTheLinkAndKnowsWhenThereIsNone) {
    EXPECT_EQ(platform::executableOfProcess(getpid()), ownExecutable());
    EXPECT_FALSE(platform::executableOfProcess(0));
    EXPECT_FALSE(platform::executableOfProcess(-5));
    FakeProc proc;
    proc.process(10, "/usr/bin/game (deleted)"); // replaced on disk while it runs
    proc.process(11, "");                        // a kernel thread: no executable
    proc.process(12, "relative/name");
    EXPECT_EQ(platform::executableOfProcess(10, proc.root()), "/usr/bin/game");
    EXPECT_FALSE(platform::executableOfProcess(11, proc.root()));
    EXPECT_FALSE(platform::executableOfProcess(12, proc.root()));
    EXPECT_FALSE(platform::executableOfProcess(13, proc.root())) << "a process that is gone";
}

TEST(RunningApplications, EachExecutableOnceSortedByNameAndOnlyTheUsers) {
    FakeProc proc;
    proc.process(20, "/usr/bin/zeta");
    proc.process(21, "/opt/Alpha/alpha");
    proc.process(22, "/usr/bin/zeta"); // a second instance
    proc.process(23, "");
    proc.process(24, "/usr/bin/Beta");
    fs::create_directories(fs::path(proc.root()) / "self"); // not a process folder
    const std::vector<RunningApplication> expected{
        {"alpha", "/opt/Alpha/alpha"}, {"Beta", "/usr/bin/Beta"}, {"zeta", "/usr/bin/zeta"}};
    EXPECT_EQ(platform::runningApplications(proc.root(), getuid()), expected);
    EXPECT_TRUE(platform::runningApplications(proc.root(), getuid() + 1).empty()) << "another user's";
    EXPECT_TRUE(platform::runningApplications("/nonexistent/proc").empty());

    const auto real = platform::runningApplications();
    EXPECT_TRUE(std::any_of(real.begin(), real.end(),
                            [](const RunningApplication& a) { return a.path == ownExecutable(); }));
}

TEST(Foreground, TheFakeTellsEverySubscriberOfEachChange) {
    platform::FakeForegroundApplication fake;
    EXPECT_TRUE(fake.available());
    EXPECT_EQ(fake.executablePath(), "");
    auto a = fake.subscribe();
    auto b = fake.subscribe();
    fake.bringToFront("/usr/bin/game");
    EXPECT_TRUE(a->changed().wait(Millis(0)));
    EXPECT_TRUE(b->changed().wait(Millis(0)));
    EXPECT_FALSE(a->changed().wait(Millis(0))) << "seen once";
    EXPECT_EQ(fake.executablePath(), "/usr/bin/game");
    fake.bringToFront(std::nullopt);
    EXPECT_FALSE(fake.executablePath());
}

TEST(Foreground, WithoutADisplayThereIsNothingToAskAndNobodyIsWoken) {
    const auto none = platform::makeUnavailableForeground();
    EXPECT_FALSE(none->available());
    EXPECT_FALSE(none->executablePath());
    const char* display = std::getenv("DISPLAY");
    const std::string saved = display ? display : "";
    unsetenv("DISPLAY");
    EXPECT_EQ(platform::makeForegroundApplication()->kind(), platform::ForegroundBackendKind::Unavailable);
    if (!saved.empty()) setenv("DISPLAY", saved.c_str(), 1);
}

// Plays the window manager: sets _NET_ACTIVE_WINDOW on the root window and _NET_WM_PID on windows.
class WindowManager {
public:
    WindowManager() {
        // A virtual server turns a connection away now and then.
        for (int attempt = 0; attempt < 3 && !d_; ++attempt) d_ = XOpenDisplay(nullptr);
        if (!d_) return;
        root_ = DefaultRootWindow(d_);
        active_ = XInternAtom(d_, "_NET_ACTIVE_WINDOW", False);
        pid_ = XInternAtom(d_, "_NET_WM_PID", False);
    }
    ~WindowManager() {
        if (!d_) return;
        XDeleteProperty(d_, root_, active_);
        XCloseDisplay(d_);
    }
    bool ok() const { return d_ != nullptr; }
    Window window() {
        const Window w = XCreateSimpleWindow(d_, root_, 0, 0, 10, 10, 0, 0, 0);
        XSync(d_, False);
        return w;
    }
    void setPid(Window w, long pid) {
        const unsigned long value = static_cast<unsigned long>(pid);
        XChangeProperty(d_, w, pid_, XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&value), 1);
        XSync(d_, False);
    }
    void activate(Window w) {
        const unsigned long value = w;
        XChangeProperty(d_, root_, active_, XA_WINDOW, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&value), 1);
        XSync(d_, False);
    }

private:
    Display* d_ = nullptr;
    Window root_ = None;
    Atom active_ = None;
    Atom pid_ = None;
};

TEST(ForegroundX11, FollowsTheActiveWindowToItsExecutable) {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) GTEST_SKIP() << "no X display to talk to (make test runs one)";
    WindowManager wm;
    ASSERT_TRUE(wm.ok());
    const Window ours = wm.window();
    wm.setPid(ours, getpid());
    wm.activate(None);

    auto foreground = platform::makeX11Foreground();
    ASSERT_TRUE(foreground);
    EXPECT_EQ(foreground->kind(), platform::ForegroundBackendKind::X11);
    EXPECT_EQ(foreground->executablePath(), "") << "nothing in front";
    auto change = foreground->subscribe();

    wm.activate(ours);
    ASSERT_TRUE(change->changed().wait(kWaitBound));
    EXPECT_EQ(foreground->executablePath(), ownExecutable());

    // A process that is gone (or not ours to inspect) cannot be told.
    const Window gone = wm.window();
    wm.setPid(gone, 0x3FFFFFF0);
    wm.activate(gone);
    ASSERT_TRUE(change->changed().wait(kWaitBound));
    EXPECT_FALSE(foreground->executablePath());

    // A window activated before it names its process: the process id is noticed when it comes.
    const Window late = wm.window();
    wm.activate(late);
    ASSERT_TRUE(change->changed().wait(kWaitBound));
    EXPECT_FALSE(foreground->executablePath());
    wm.setPid(late, getpid());
    ASSERT_TRUE(change->changed().wait(kWaitBound));
    EXPECT_EQ(foreground->executablePath(), ownExecutable());

    wm.activate(None);
    ASSERT_TRUE(change->changed().wait(kWaitBound));
    EXPECT_EQ(foreground->executablePath(), "");
}

} // namespace
} // namespace zq::test
