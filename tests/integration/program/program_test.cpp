// The program as a user starts it: `zephran-q70 --simulate` offscreen with folders of its own, driven
// only through zq70ctl. Every wait has a deadline; the program is killed if a test leaves it running.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

struct CtlRun {
    int code = -1;
    std::string out;
};

class Program {
public:
    Program() {
        char pattern[] = "/tmp/zq70-program-XXXXXX";
        root_ = mkdtemp(pattern);
        for (const char* sub : {"run", "data", "config"}) fs::create_directories(root_ / sub);
        fs::permissions(root_ / "run", fs::perms::owner_all, fs::perm_options::replace);
        env_ = {"XDG_RUNTIME_DIR=" + (root_ / "run").string(),
                "ZQ70_DATA_DIR=" + (root_ / "data").string(),
                "XDG_CONFIG_HOME=" + (root_ / "config").string(),
                "QT_QPA_PLATFORM=offscreen",
                "PATH=/usr/bin:/bin",
                "HOME=" + root_.string()};
    }
    ~Program() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }

    pid_t spawn(const std::vector<std::string>& args, const std::string& output) const {
        std::vector<std::string> all{ZQ_PROGRAM};
        all.insert(all.end(), args.begin(), args.end());
        return spawnWith(all, output);
    }
    void start() { pid_ = spawn({"--simulate"}, (root_ / "program.log").string()); }

    // zq70ctl with its output (the JSON line unless asked for the lines people read); bounded by its own
    // --timeout and by ours.
    CtlRun ctl(const std::vector<std::string>& args, bool json = true) const {
        const std::string out = (root_ / "ctl.out").string();
        std::vector<std::string> all{ZQ_CTL};
        if (json) all.push_back("--json");
        all.insert(all.end(), args.begin(), args.end());
        const pid_t pid = spawnWith(all, out);
        CtlRun run;
        run.code = waitFor(pid, 20s);
        if (FILE* f = std::fopen(out.c_str(), "r")) {
            char buffer[4096];
            std::size_t n;
            while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) run.out.append(buffer, n);
            std::fclose(f);
        }
        return run;
    }
    // Waits until the program answers `status`.
    bool answers() const {
        const auto deadline = std::chrono::steady_clock::now() + 20s;
        while (std::chrono::steady_clock::now() < deadline) {
            if (ctl({"status"}).code == 0) return true;
            std::this_thread::sleep_for(50ms);
        }
        return false;
    }
    // The exit code, or -1 when the process was still running at the deadline (it is killed then).
    static int waitFor(pid_t pid, std::chrono::milliseconds limit) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        int status = 0;
        while (std::chrono::steady_clock::now() < deadline) {
            if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
            std::this_thread::sleep_for(5ms);
        }
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        return -1;
    }
    pid_t pid() const { return pid_; }
    const fs::path& root() const { return root_; }
    void forget() { pid_ = -1; }

private:
    pid_t spawnWith(const std::vector<std::string>& args, const std::string& output) const {
        std::vector<char*> argv;
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        std::vector<char*> envp;
        for (const auto& e : env_) envp.push_back(const_cast<char*>(e.c_str()));
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        pid_t pid = -1;
        posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        return pid;
    }

    fs::path root_;
    std::vector<std::string> env_;
    pid_t pid_ = -1;
};

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(Program, RunsOnceAnswersZq70ctlAndQuitsWithinASecond) {
    Program program;
    EXPECT_EQ(program.ctl({"status"}).code, 1) << "nothing runs yet";
    EXPECT_TRUE(contains(program.ctl({"status"}).out, "zephran-q70 is not running"));

    program.start();
    ASSERT_TRUE(program.answers());
    const CtlRun status = program.ctl({"status"});
    EXPECT_EQ(status.code, 0);
    for (const char* field : {"\"simulate\":true", "\"visible\":", "\"language\":\"en\"", "\"mouse\":{",
                              "\"pad\":{", "\"keyboard\":{", "\"present\":true", "\"open\":", "\"slot\":"})
        EXPECT_TRUE(contains(status.out, field)) << field << " in " << status.out;
    // The same for people: a line per device, then the window.
    const CtlRun plain = program.ctl({"status"}, false);
    EXPECT_EQ(plain.code, 0);
    for (const char* line : {"\nmouse: ", "\npad: ", "\nkeyboard: ", "\nwindow: "})
        EXPECT_TRUE(contains("\n" + plain.out, line)) << line << " in " << plain.out;

    // A second start brings the first one up and ends at once.
    const pid_t second = program.spawn({"--simulate"}, "/dev/null");
    EXPECT_EQ(Program::waitFor(second, 10s), 0);
    EXPECT_EQ(program.ctl({"status"}).code, 0) << "the first instance keeps running";

    // A ui round trip through the notification path: the keyboard tab shows page 0.
    EXPECT_EQ(program.ctl({"ui", "click", "kb_tab"}).code, 0);
    const CtlRun tabs = program.ctl({"ui", "get", "tab_switch"});
    EXPECT_EQ(tabs.code, 0);
    EXPECT_TRUE(contains(tabs.out, "\"current\":0")) << tabs.out;
    EXPECT_EQ(program.ctl({"ui", "click", "ms_tab"}).code, 0);
    EXPECT_TRUE(contains(program.ctl({"ui", "get", "tab_switch"}).out, "\"current\":1"));

    // Usage errors and unknown controls are told apart from failures.
    EXPECT_EQ(program.ctl({"sim", "plug", "toaster"}).code, 2);
    EXPECT_EQ(program.ctl({"frobnicate"}).code, 2);

    EXPECT_EQ(program.ctl({"quit"}).code, 0);
    const auto asked = std::chrono::steady_clock::now();
    EXPECT_EQ(Program::waitFor(program.pid(), 1500ms), 0);
    program.forget();
    EXPECT_LT(std::chrono::steady_clock::now() - asked, 1500ms);
}

// Polls zq70ctl until the answer holds `part` (the program's own timing, bounded).
bool eventuallyHas(const Program& program, const std::vector<std::string>& args, const std::string& part,
                   std::string* last = nullptr) {
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    std::string seen;
    while (std::chrono::steady_clock::now() < deadline) {
        seen = program.ctl(args).out;
        if (contains(seen, part)) return true;
        std::this_thread::sleep_for(50ms);
    }
    if (last) *last = seen;
    return false;
}

// Reads a device's command log until it holds `marker` (bounded): each dump gives the commands since the
// last one, so the dumps are joined.
std::string logUntil(const Program& program, const char* device, const std::string& marker,
                     std::chrono::milliseconds limit = 10s) {
    std::string log;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!contains(log, marker) && std::chrono::steady_clock::now() < deadline) {
        log += program.ctl({"sim", "dump", device}).out;
        std::this_thread::sleep_for(20ms);
    }
    return log;
}

TEST(Program, DevicesComeAndGoAndTheirReportsStartReadBacks) {
    Program program;
    program.start();
    ASSERT_TRUE(program.answers());
    std::string last;
    ASSERT_TRUE(eventuallyHas(program, {"status"}, "\"mouse\":{\"open\":true", &last)) << last;
    EXPECT_TRUE(contains(program.ctl({"ui", "get", "ms_tab"}).out, "\"visible\":true"));
    program.ctl({"sim", "dump", "mouse"}); // the log starts here

    // A settings change on the mouse: the full read-back, in the described order.
    EXPECT_EQ(program.ctl({"sim", "report", "mouse", "0x402"}).code, 0);
    const std::string log = logUntil(program, "mouse", "[2,0,0]");
    // BeginTransfer, ReadDeviceInfo, ReadKeyBlock, five ReadKeyBlockPage (pages 126 bytes apart),
    // EndTransfer.
    std::size_t at = 0;
    for (const char* step : {"[1,0,0]", "[3,0,33]", "[7,0,56]", "[8,0,56]", "[8,126,56]", "[8,252,56]",
                             "[8,378,56]", "[8,504,56]", "[2,0,0]"}) {
        const std::size_t found = log.find(step, at);
        ASSERT_NE(found, std::string::npos) << step << " in " << log;
        at = found;
    }

    // The onboard slot from the command line: a slot read, the switch, the new slot's record; asked for
    // the slot it is on, only the read.
    EXPECT_EQ(program.ctl({"slot", "3"}).code, 0);
    ASSERT_TRUE(
        eventuallyHas(program, {"status"}, "\"mouse\":{\"open\":true,\"present\":true,\"slot\":3", &last))
        << last;
    {
        // In this order; the page refresh after the switch ends with a push of the new slot's record,
        // which may come between them and is waited for, so the next look at the log starts clean.
        const std::string switched = logUntil(program, "mouse", "[6,192,56]");
        const std::size_t read = switched.find("[5,0,1],[6,0,1]");
        ASSERT_NE(read, std::string::npos) << switched;
        EXPECT_NE(switched.find("[5,192,56]", read), std::string::npos) << switched;
    }
    EXPECT_EQ(program.ctl({"slot", "3"}).code, 0);
    EXPECT_TRUE(eventuallyHas(program, {"sim", "dump", "mouse"}, "\"log\":[[5,0,1]]", &last)) << last;
    EXPECT_EQ(program.ctl({"slot", "6"}).code, 2);
    EXPECT_EQ(program.ctl({"slot", "0"}).code, 0);
    ASSERT_TRUE(
        eventuallyHas(program, {"status"}, "\"mouse\":{\"open\":true,\"present\":true,\"slot\":0", &last))
        << last;

    // The page refresh after the switch ends with a push of slot 0's record, whose first byte is the
    // slot register: let it reach the mouse before the mouse changes its slot itself.
    {
        const std::string pushed = logUntil(program, "mouse", "[6,0,56]");
        ASSERT_TRUE(contains(pushed, "[6,0,56]")) << pushed;
    }
    // The mouse changed its slot itself; its profile button report refreshes the slot a second later.
    EXPECT_EQ(program.ctl({"sim", "set", "mouse", "0", "02"}).code, 0);
    EXPECT_EQ(program.ctl({"sim", "report", "mouse", "0x401"}).code, 0);
    EXPECT_TRUE(
        eventuallyHas(program, {"status"}, "\"mouse\":{\"open\":true,\"present\":true,\"slot\":2", &last))
        << last;

    // The keyboard goes, then the mouse: its tab hides and the pad's is selected, without the message.
    program.ctl({"ui", "messages"});
    EXPECT_EQ(program.ctl({"sim", "unplug", "keyboard"}).code, 0);
    EXPECT_EQ(program.ctl({"sim", "unplug", "mouse"}).code, 0);
    EXPECT_TRUE(eventuallyHas(program, {"ui", "get", "mp_tab"}, "\"selected\":true", &last)) << last;
    EXPECT_TRUE(contains(program.ctl({"ui", "get", "ms_tab"}).out, "\"visible\":false"));
    EXPECT_FALSE(contains(program.ctl({"ui", "messages"}).out, "message_text_20"));

    // A device that does not answer costs its read-back, never the window.
    EXPECT_EQ(program.ctl({"sim", "plug", "mouse"}).code, 0);
    ASSERT_TRUE(eventuallyHas(program, {"status"}, "\"mouse\":{\"open\":true", &last)) << last;
    EXPECT_EQ(program.ctl({"sim", "fault", "mouse", "noreply"}).code, 0);
    EXPECT_EQ(program.ctl({"sim", "report", "mouse", "0x402"}).code, 0);
    const auto asked = std::chrono::steady_clock::now();
    EXPECT_EQ(program.ctl({"ui", "click", "kb_tab"}).code, 0);
    EXPECT_EQ(program.ctl({"status"}).code, 0);
    EXPECT_LT(std::chrono::steady_clock::now() - asked, 2s) << "the window waited on the device";
    EXPECT_EQ(program.ctl({"sim", "fault", "mouse", "none"}).code, 0);

    // The last device goes: the brief message.
    EXPECT_EQ(program.ctl({"sim", "unplug", "pad"}).code, 0);
    EXPECT_EQ(program.ctl({"sim", "unplug", "mouse"}).code, 0);
    EXPECT_TRUE(eventuallyHas(program, {"ui", "messages"}, "message_text_20", &last)) << last;

    EXPECT_EQ(program.ctl({"quit"}).code, 0);
    EXPECT_EQ(Program::waitFor(program.pid(), 3s), 0);
    program.forget();
}

TEST(Program, SaveToDeviceRunsOnceAtATimeWithItsProgressShown) {
    Program program;
    program.start();
    ASSERT_TRUE(program.answers());
    std::string last;
    ASSERT_TRUE(eventuallyHas(program, {"status"}, "\"mouse\":{\"open\":true", &last)) << last;
    program.ctl({"sim", "dump", "mouse"});

    // A slow device: the transfer is under way while the window answers.
    EXPECT_EQ(program.ctl({"sim", "fault", "mouse", "noreply"}).code, 0);
    EXPECT_EQ(program.ctl({"ui", "click", "ms_key_butt_prosave"}).code, 0);
    EXPECT_TRUE(contains(program.ctl({"ui", "get", "setting_progress"}).out, "\"visible\":true"));
    EXPECT_TRUE(contains(program.ctl({"ui", "get", "ms_key_butt_prosave"}).out, "\"enabled\":false"));
    EXPECT_NE(program.ctl({"ui", "click", "ms_key_butt_prosave"}).code, 0) << "a second transfer started";

    EXPECT_EQ(program.ctl({"sim", "fault", "mouse", "none"}).code, 0);
    std::string log = logUntil(program, "mouse", "[9,504,8]", 20s);
    // The key block goes out once, bracketed by a transfer.
    EXPECT_NE(log.find("[1,0,0],[9,0,56]"), std::string::npos) << log;
    EXPECT_TRUE(eventuallyHas(program, {"ui", "get", "ms_key_butt_prosave"}, "\"enabled\":true", &last))
        << last;
    EXPECT_TRUE(eventuallyHas(program, {"ui", "get", "setting_progress"}, "\"visible\":false", &last))
        << last;
    log += program.ctl({"sim", "dump", "mouse"}).out;
    EXPECT_EQ(log.find("[9,0,56]"), log.rfind("[9,0,56]")) << log;

    // From the command line: the same transfer, answered once it has ended.
    EXPECT_EQ(program.ctl({"macro", "upload", "mouse"}).code, 0);
    EXPECT_TRUE(contains(program.ctl({"sim", "dump", "mouse"}).out, "[9,504,8],[2,0,0]"));
    EXPECT_EQ(program.ctl({"macro", "upload", "toaster"}).code, 2);
    // A key block the mouse refuses is a failed transfer, not a done one.
    EXPECT_EQ(program.ctl({"sim", "fault", "mouse", "status-ff"}).code, 0);
    const CtlRun refused = program.ctl({"macro", "upload", "mouse"});
    EXPECT_EQ(refused.code, 1);
    EXPECT_TRUE(contains(refused.out, "did not reach the mouse")) << refused.out;
    EXPECT_EQ(program.ctl({"sim", "fault", "mouse", "none"}).code, 0);

    EXPECT_EQ(program.ctl({"quit"}).code, 0);
    EXPECT_EQ(Program::waitFor(program.pid(), 3s), 0);
    program.forget();
}

TEST(Program, EveryFaultOfADeviceLeavesTheWindowAnsweringAndNothingHanging) {
    Program program;
    program.start();
    ASSERT_TRUE(program.answers());
    std::string last;
    ASSERT_TRUE(eventuallyHas(program, {"status"}, "\"mouse\":{\"open\":true", &last)) << last;
    const std::vector<std::vector<std::string>> faults{
        {"late", "400"}, {"status-ff"}, {"status-fe"}, {"write-fail"}, {"noreply"}, {"unplug-after", "5"},
    };
    for (const auto& fault : faults) {
        SCOPED_TRACE(fault[0]);
        std::vector<std::string> args{"sim", "fault", "mouse"};
        args.insert(args.end(), fault.begin(), fault.end());
        EXPECT_EQ(program.ctl(args).code, 0);
        // A read-back, a slot switch and a transfer against the faulty device, then the window is asked.
        program.ctl({"sim", "report", "mouse", "0x402"});
        program.ctl({"slot", "1"});
        program.ctl({"ui", "click", "ms_key_butt_prosave"});
        const auto asked = std::chrono::steady_clock::now();
        EXPECT_EQ(program.ctl({"ui", "click", "kb_tab"}).code, 0);
        EXPECT_EQ(program.ctl({"status"}).code, 0);
        EXPECT_LT(std::chrono::steady_clock::now() - asked, 2s) << "the window waited on the device";
        EXPECT_EQ(program.ctl({"sim", "fault", "mouse", "none"}).code, 0);
        program.ctl({"sim", "plug", "mouse"}); // back after the unplug fault
        ASSERT_TRUE(eventuallyHas(program, {"status"}, "\"mouse\":{\"open\":true", &last)) << last;
        // The queued work ends once the device answers again: the save button comes back.
        EXPECT_TRUE(eventuallyHas(program, {"ui", "get", "ms_key_butt_prosave"}, "\"enabled\":true", &last))
            << last;
    }
    EXPECT_EQ(program.ctl({"quit"}).code, 0);
    EXPECT_GE(Program::waitFor(program.pid(), 3s), 0);
    program.forget();
}

// A device's profile-record memory in hex, from `sim dump`.
std::string records(const Program& program, const char* device) {
    const std::string out = program.ctl({"sim", "dump", device}).out;
    const std::size_t at = out.find("\"records\":\"");
    if (at == std::string::npos) return {};
    const std::size_t from = at + 11;
    return out.substr(from, out.find('"', from) - from);
}

// The byte at `offset` of a device's profile-record memory.
int recordByte(const Program& program, const char* device, std::size_t offset) {
    const std::string hex = records(program, device);
    if (hex.size() < 2 * offset + 2) return -1;
    return std::stoi(hex.substr(2 * offset, 2), nullptr, 16);
}

// Waits until the record byte has the value (the push comes within a tick of the change).
bool eventuallyByte(const Program& program, const char* device, std::size_t offset, int value) {
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (recordByte(program, device, offset) != value && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(20ms);
    return recordByte(program, device, offset) == value;
}

// Waits for the end of the transfer a device's arrival starts (the pad reads its whole memory back and
// the program takes what it read as the device's state): a change made before then would be replaced by
// what was read. The log counts from the last dump, so it is read from the start here.
bool arrivalReadDone(const Program& program, const char* device) {
    return contains(logUntil(program, device, "[2,0,0]"), "[2,0,0]");
}

std::string fileBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int fileByte(const fs::path& file, std::size_t offset) {
    const std::string bytes = fileBytes(file);
    return offset < bytes.size() ? static_cast<unsigned char>(bytes[offset]) : -1;
}

// Profile files: a 16-byte header, then the payload (the mouse's: the 512-byte key table, then its record).
constexpr std::size_t kHeader = 16;
constexpr std::size_t kMouseRecordInConfig = kHeader + 512;

TEST(Program, TheUserCommandsChangeWhatTheirPageWouldAndRefuseWhatIsOutOfRange) {
    Program program;
    program.start();
    ASSERT_TRUE(program.answers());
    std::string last;
    ASSERT_TRUE(eventuallyHas(program, {"status"}, "\"pad\":{\"open\":true", &last)) << last;
    ASSERT_TRUE(eventuallyHas(program, {"status"}, "\"mouse\":{\"open\":true", &last)) << last;
    ASSERT_TRUE(eventuallyHas(program, {"status"}, "\"keyboard\":{\"open\":true", &last)) << last;
    ASSERT_TRUE(arrivalReadDone(program, "pad"));

    // DPI level 3 at 1500: code 33 in the current slot's record (slot 0: offset 17) within a push, in the
    // selected profile's file, and on the page.
    const fs::path mouseConfig = program.root() / "data" / "ms" / "profile1.config";
    ASSERT_NE(fileByte(mouseConfig, kMouseRecordInConfig + 17), 33) << "the test would show nothing";
    const CtlRun dpi = program.ctl({"dpi", "3", "1500"});
    EXPECT_EQ(dpi.code, 0) << dpi.out;
    EXPECT_TRUE(eventuallyByte(program, "mouse", 17, 33));
    EXPECT_EQ(fileByte(mouseConfig, kMouseRecordInConfig + 17), 33);
    EXPECT_TRUE(contains(program.ctl({"ui", "get", "ms_DPI3_label_value"}).out, "\"text\":\"1500\""));

    // The pad's lighting: the effect, colour and brightness reach its record and its profile file; the
    // other devices keep theirs.
    const std::string mouseBefore = records(program, "mouse");
    const std::string keyboardBefore = records(program, "keyboard");
    const CtlRun pad =
        program.ctl({"lighting", "pad", "--mode", "3", "--colour", "FF8800", "--brightness", "2"});
    EXPECT_EQ(pad.code, 0) << pad.out;
    EXPECT_TRUE(contains(pad.out, "\"colour\":\"FF8800\"")) << pad.out;
    EXPECT_TRUE(contains(pad.out, "\"brightness\":2")) << pad.out;
    EXPECT_TRUE(eventuallyByte(program, "pad", 8, 0x00) && eventuallyByte(program, "pad", 6, 0xFF));
    EXPECT_EQ(recordByte(program, "pad", 1), 3);
    EXPECT_EQ(recordByte(program, "pad", 2), 2);
    EXPECT_EQ(recordByte(program, "pad", 7), 0x88);
    const fs::path padLed = program.root() / "data" / "mp" / "profile1.led";
    EXPECT_EQ(fileByte(padLed, kHeader + 1), 3);
    EXPECT_EQ(fileByte(padLed, kHeader + 6), 0xFF);
    EXPECT_EQ(records(program, "mouse"), mouseBefore);
    EXPECT_EQ(records(program, "keyboard"), keyboardBefore);

    // An option the effect does not offer is refused before anything changes: effect 1 of the pad has no
    // colour, so neither the effect nor the colour is taken.
    const std::string padBefore = fileBytes(padLed);
    const CtlRun refused = program.ctl({"lighting", "pad", "--mode", "1", "--colour", "000000"});
    EXPECT_EQ(refused.code, 1) << refused.out;
    EXPECT_TRUE(contains(refused.out, "--colour is not offered")) << refused.out;
    EXPECT_EQ(fileBytes(padLed), padBefore);
    EXPECT_EQ(recordByte(program, "pad", 1), 3);

    // Out of range: a usage error that names the range; nothing changes.
    for (const std::vector<std::string>& bad : {std::vector<std::string>{"dpi", "6", "800"},
                                                {"dpi", "2", "6300"},
                                                {"dpi", "2", "850"},
                                                {"lighting", "pad", "--speed", "5"},
                                                {"lighting", "pad", "--mode", "10"},
                                                {"lighting", "toaster"},
                                                {"profile", "select", "xx_device", "0"},
                                                {"profile", "select", "ms_device", "9"}}) {
        const CtlRun run = program.ctl(bad);
        EXPECT_EQ(run.code, 2) << bad[0] << " " << bad[1] << ": " << run.out;
    }
    EXPECT_TRUE(contains(program.ctl({"dpi", "2", "850"}).out, "200 to 6200 in steps of 100"));
    EXPECT_TRUE(contains(program.ctl({"lighting", "pad", "--mode", "10"}).out, "--mode takes 0 to 9"));
    EXPECT_EQ(fileBytes(padLed), padBefore);

    // A device that is not there: its settings and transfers are refused, its file stays as it was.
    ASSERT_EQ(program.ctl({"sim", "unplug", "mouse"}).code, 0);
    ASSERT_TRUE(eventuallyHas(program, {"status"}, "\"mouse\":{\"open\":false", &last)) << last;
    const std::string configBefore = fileBytes(mouseConfig);
    for (const std::vector<std::string>& away : {std::vector<std::string>{"dpi", "1", "800"},
                                                 {"lighting", "mouse", "--speed", "1"},
                                                 {"macro", "upload", "mouse"},
                                                 {"profile", "select", "ms_device", "1"}}) {
        const CtlRun run = program.ctl(away);
        EXPECT_EQ(run.code, 1) << away[0] << ": " << run.out;
        EXPECT_TRUE(contains(run.out, "the mouse is not connected")) << run.out;
    }
    EXPECT_EQ(fileBytes(mouseConfig), configBefore);
    EXPECT_TRUE(contains(program.ctl({"profile", "list", "ms_device"}).out, "\"active\":0,"));
    ASSERT_EQ(program.ctl({"sim", "plug", "mouse"}).code, 0);
    ASSERT_TRUE(eventuallyHas(program, {"status"}, "\"mouse\":{\"open\":true", &last)) << last;

    // Export a profile, import it back: a new entry whose file holds the same bytes (profile3 and the new
    // profile4 both put the mouse on slot 2, which the record's first byte names).
    const fs::path exported = program.root() / "exported.config";
    EXPECT_EQ(program.ctl({"profile", "export", "ms_device", "profile3", exported.string()}).code, 0);
    ASSERT_TRUE(fs::exists(exported));
    EXPECT_EQ(fileBytes(exported), fileBytes(program.root() / "data" / "ms" / "profile3.config"));
    const CtlRun imported = program.ctl({"profile", "import", "ms_device", exported.string()});
    EXPECT_EQ(imported.code, 0) << imported.out;
    EXPECT_TRUE(contains(imported.out, "\"added\":true")) << imported.out;
    EXPECT_EQ(fileBytes(program.root() / "data" / "ms" / "profile4.config"), fileBytes(exported));
    const CtlRun broken =
        program.ctl({"profile", "import", "ms_device", (program.root() / "none.config").string()});
    EXPECT_EQ(broken.code, 1) << broken.out;

    // A selection by name is the list's selection, kept for the next start.
    EXPECT_EQ(program.ctl({"profile", "select", "ms_device", "PROFILE3"}).code, 0);
    EXPECT_TRUE(contains(program.ctl({"profile", "list", "ms_device"}).out, "\"active\":2,"));

    EXPECT_EQ(program.ctl({"quit"}).code, 0);
    EXPECT_EQ(Program::waitFor(program.pid(), 3s), 0);
    program.forget();

    // The mouse arrives at the next start: its saved profile is selected and its record reaches the
    // slot that profile names (profile3: slot 2, offset 128).
    program.start();
    ASSERT_TRUE(program.answers());
    ASSERT_TRUE(eventuallyHas(program, {"profile", "list", "ms_device"}, "\"active\":2,", &last)) << last;
    const std::string log = logUntil(program, "mouse", "[6,128,56]", 5s);
    EXPECT_TRUE(contains(log, "[6,128,56]")) << log;
    EXPECT_EQ(program.ctl({"quit"}).code, 0);
    EXPECT_EQ(Program::waitFor(program.pid(), 3s), 0);
    program.forget();
}

} // namespace
