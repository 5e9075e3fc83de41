// The control socket: one instance per user, stale sockets taken over, paths of others left alone, and
// every kind of bad client answered without disturbing anyone else.
#include "shell/control/instance_server.h"
#include "unit/control/control_test_support.h"
#include "unit/platform/env_override.h"
#include "unit/platform/temp_folder.h"

#include <QJsonArray>

#include <atomic>

#include <filesystem>
#include <fstream>

#include <sys/stat.h>

namespace zq::control {
namespace {

using namespace zq::test;
namespace fs = std::filesystem;

// A socket file nobody listens on any more: what a crashed instance leaves behind.
void makeStaleSocket(const std::string& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un a{};
    a.sun_family = AF_UNIX;
    std::strncpy(a.sun_path, path.c_str(), sizeof a.sun_path - 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    ::close(fd);
}

class ControlSocket : public ::testing::Test {
protected:
    void SetUp() override {
        table.registerCommand("echo", [this](const CommandTable::Args& args) {
            ++handled;
            QJsonArray a;
            for (const auto& s : args) a.append(QString::fromStdString(s));
            return Reply::success({{"args", a}});
        });
        table.registerCommand("boom",
                              [](const CommandTable::Args&) -> Reply { throw std::runtime_error("bad"); });
    }
    Reply echoRequest(const std::string& line) const {
        return table.runLine(QByteArray::fromStdString(line));
    }
    SocketLocation where() const {
        return socketLocation(folder.path().c_str(), "/nonexistent", ::geteuid());
    }
    std::string path() const { return where().path; }
    bool start(InstanceServer& s) { return s.listen(where()) == InstanceServer::Outcome::Listening; }

    TempFolder folder;
    CommandTable table;
    int handled = 0;
    int bringUps = 0;
    InstanceServer server{table, [this] { ++bringUps; }};
};

TEST_F(ControlSocket, SecondStartBringsTheFirstToTheFrontAndCannotTakeTheName) {
    ASSERT_TRUE(start(server)) << server.error();
    struct stat st {};
    ASSERT_EQ(::lstat(path().c_str(), &st), 0);
    EXPECT_TRUE(S_ISSOCK(st.st_mode));
    EXPECT_EQ(st.st_mode & 077, 0u) << "the socket is for its user only";

    const std::string p = path();
    EXPECT_TRUE(whileServing([p] { return InstanceServer::signalRunningInstance(p, 5s); }));
    EXPECT_EQ(bringUps, 1);

    InstanceServer second(table, [] {});
    EXPECT_EQ(second.listen(where()), InstanceServer::Outcome::AlreadyRunning);
    EXPECT_TRUE(server.isListening());
    EXPECT_TRUE(whileServing([p] { return InstanceServer::signalRunningInstance(p, 5s); }));
    EXPECT_EQ(bringUps, 2) << "the refused second server must not disturb the first";

    server.close();
    EXPECT_FALSE(fs::exists(path())) << "a closed server leaves no socket behind";
    EXPECT_FALSE(InstanceServer::signalRunningInstance(p, 1s));
    EXPECT_EQ(second.listen(where()), InstanceServer::Outcome::Listening) << second.error();
}

TEST_F(ControlSocket, StaleSocketIsTakenOver) {
    makeStaleSocket(path());
    EXPECT_FALSE(InstanceServer::signalRunningInstance(path(), 1s)) << "nobody answers on a stale socket";
    ASSERT_TRUE(start(server)) << server.error();
    const std::string p = path();
    EXPECT_TRUE(whileServing([p] { return InstanceServer::signalRunningInstance(p, 5s); }));
    EXPECT_EQ(bringUps, 1);
}

TEST_F(ControlSocket, PathsThatAreNotOursAreNeverRemoved) {
    const uid_t other = ::geteuid() + 4242;
    const struct {
        const char* what;
        std::function<void(const std::string&)> make;
        bool needsRoot;
    } cases[] = {
        {"a file", [](const std::string& p) { std::ofstream(p) << "keep me"; }, false},
        {"a folder", [](const std::string& p) { fs::create_directory(p); }, false},
        {"a link to a socket",
         [this](const std::string& p) {
             makeStaleSocket((folder / "elsewhere").string());
             fs::create_symlink(folder / "elsewhere", p);
         },
         false},
        {"another user's socket",
         [other](const std::string& p) {
             makeStaleSocket(p);
             ASSERT_EQ(::lchown(p.c_str(), other, other), 0);
         },
         true},
    };
    for (const auto& c : cases) {
        if (c.needsRoot && ::geteuid() != 0) continue; // only root can make a file of another user
        SCOPED_TRACE(c.what);
        c.make(path());
        struct stat before {};
        ASSERT_EQ(::lstat(path().c_str(), &before), 0);

        EXPECT_EQ(server.listen(where()), InstanceServer::Outcome::Failed);
        EXPECT_NE(server.error().find(path()), std::string::npos) << server.error();
        struct stat after {};
        ASSERT_EQ(::lstat(path().c_str(), &after), 0) << "removed";
        EXPECT_EQ(after.st_ino, before.st_ino);
        const auto r = exchangeLine(path(), kBringUpLine, 1s);
        EXPECT_NE(r.status, ExchangeStatus::Answered);

        fs::remove_all(path());
    }
}

TEST_F(ControlSocket, FolderOfAnotherUserOrALinkIsRefused) {
    // Our own folder under /tmp: made private, tightened when it was not, never a link.
    const fs::path base = folder.path();
    const SocketLocation fallback = socketLocation(nullptr, base.string(), ::geteuid());
    ASSERT_TRUE(fallback.privateFallback);
    EXPECT_EQ(fallback.folder, (base / ("zephran-q70-" + std::to_string(::geteuid()))).string());
    EXPECT_EQ(checkFolder(fallback, ::geteuid(), true), "");
    EXPECT_EQ(fs::status(fallback.folder).permissions() & fs::perms::all, fs::perms::owner_all);
    fs::permissions(fallback.folder, fs::perms::owner_all | fs::perms::group_read | fs::perms::others_exec);
    EXPECT_NE(checkFolder(fallback, ::geteuid(), false), "") << "a client never uses a folder others reach";
    EXPECT_EQ(checkFolder(fallback, ::geteuid(), true), "");
    EXPECT_EQ(fs::status(fallback.folder).permissions() & fs::perms::all, fs::perms::owner_all);

    fs::remove_all(fallback.folder);
    fs::create_directory(base / "real");
    fs::create_directory_symlink(base / "real", fallback.folder);
    EXPECT_NE(checkFolder(fallback, ::geteuid(), true), "");
    InstanceServer s(table, [] {});
    EXPECT_EQ(s.listen(fallback), InstanceServer::Outcome::Failed);
    EXPECT_FALSE(fs::exists(base / "real" / kSocketName));

    // Somebody else's runtime folder.
    EXPECT_NE(checkFolder(where(), ::geteuid() + 1, false).find("not to you"), std::string::npos);
}

TEST_F(ControlSocket, LocationComesFromTheRuntimeFolder) {
    EXPECT_EQ(socketLocation("/run/user/1000/", "/tmp", 1000).path, "/run/user/1000/TARVIXDRVER1");
    EXPECT_EQ(socketLocation("relative", "/tmp", 1000).path, "/tmp/zephran-q70-1000/TARVIXDRVER1");
    EXPECT_EQ(socketLocation("", "/tmp", 1000).path, "/tmp/zephran-q70-1000/TARVIXDRVER1");
}

TEST_F(ControlSocket, RequestsAreCheckedBeforeTheyRun) {
    const struct {
        const char* line;
        bool usage;
        const char* error;
    } cases[] = {
        {"garbage", false, "not JSON"},
        {"{\"args\":[\"echo\"", false, "not JSON"},
        {"\xff\xfe{}", false, "not JSON"},
        {"[\"echo\"]", false, "\"args\""},
        {"{\"args\":[]}", false, "\"args\""},
        {"{\"args\":\"echo\"}", false, "\"args\""},
        {"{\"args\":[\"echo\",3]}", false, "\"args\""},
        {"{\"argv\":[\"echo\"]}", false, "\"args\""},
        {"{\"args\":[\"nope\"]}", true, "unknown command 'nope'"},
        {"{\"args\":[\"\"]}", true, "no command"},
        {"{\"args\":[\"boom\"]}", false, "internal error in 'boom': bad"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const Reply r = echoRequest(c.line);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.usage, c.usage);
        EXPECT_NE(r.error.find(c.error), std::string::npos) << r.error;
        const QJsonObject o = parse(r.toLine().toStdString());
        EXPECT_EQ(o.value("ok"), QJsonValue(false));
        EXPECT_EQ(o.contains("usage"), c.usage);
    }
    EXPECT_EQ(handled, 0);
    const QJsonObject ok =
        parse(echoRequest("{\"args\":[\"echo\",\"a b\",\"\\u00e9\"]}").toLine().toStdString());
    EXPECT_EQ(ok.value("ok"), QJsonValue(true));
    EXPECT_EQ(ok.value("args"), QJsonValue(QJsonArray{"a b", QString::fromUtf8("\xc3\xa9")}));
}

TEST_F(ControlSocket, GatesFollowTheMode) {
    const auto gated = [](Modes m) {
        CommandTable t(m);
        t.registerCommand(
            "sim", [](const CommandTable::Args&) { return Reply::success(); }, Gate::Simulate);
        t.registerCommand(
            "ui", [](const CommandTable::Args&) { return Reply::success(); }, Gate::Automation);
        return std::pair{t.run({"sim"}), t.run({"ui"})};
    };
    const auto [simOff, uiOff] = gated({});
    EXPECT_FALSE(simOff.ok);
    EXPECT_FALSE(simOff.usage);
    EXPECT_NE(simOff.error.find("--simulate"), std::string::npos);
    EXPECT_FALSE(uiOff.ok);
    EXPECT_NE(uiOff.error.find("ZQ70_AUTOMATION=1"), std::string::npos);
    const auto [simAuto, uiAuto] = gated({false, true});
    EXPECT_FALSE(simAuto.ok);
    EXPECT_TRUE(uiAuto.ok);
    const auto [simOn, uiOn] = gated({true, false});
    EXPECT_TRUE(simOn.ok);
    EXPECT_TRUE(uiOn.ok);

    EnvOverride env;
    env.set("ZQ70_AUTOMATION", "1");
    EXPECT_TRUE(Modes::automationRequested());
    env.set("ZQ70_AUTOMATION", "yes");
    EXPECT_FALSE(Modes::automationRequested());
    env.clear("ZQ70_AUTOMATION");
    EXPECT_FALSE(Modes::automationRequested());
}

TEST_F(ControlSocket, EveryLineOfAConnectionIsAnsweredInOrder) {
    ASSERT_TRUE(start(server));
    RawClient c(path());
    ASSERT_TRUE(c.connected());
    const auto answers = whileServing([&c] {
        std::vector<std::string> out;
        c.send("{\"args\":[\"echo\",\"1\"]}\ngarbage\r\n\n{\"args\":[\"echo\",\"2\"]}\nQUORBEN_004\n");
        for (int i = 0; i < 5; ++i) out.push_back(c.readLine());
        return out;
    });
    ASSERT_EQ(answers.size(), 5u);
    EXPECT_EQ(parse(answers[0]).value("args"), QJsonValue(QJsonArray{"1"}));
    EXPECT_NE(parse(answers[1]).value("error").toString().indexOf("not JSON"), -1);
    EXPECT_EQ(parse(answers[2]).value("error"), QJsonValue("empty request"));
    EXPECT_EQ(parse(answers[3]).value("args"), QJsonValue(QJsonArray{"2"}));
    EXPECT_EQ(parse(answers[4]).value("ok"), QJsonValue(true));
    EXPECT_EQ(bringUps, 1);
}

TEST_F(ControlSocket, OverlongLineIsRefusedAndOnlyThatConnectionCloses) {
    ASSERT_TRUE(start(server));
    RawClient bystander(path());
    RawClient big(path());
    const auto [answer, closed] = whileServing([&big] {
        big.send(std::string(1 << 20, 'x'), 5s); // a megabyte without a newline; the server stops taking it
        const std::string a = big.readLine();
        return std::pair{a, big.closedByServer()};
    });
    EXPECT_NE(parse(answer).value("error").toString().indexOf("longer than 65536 bytes"), -1) << answer;
    EXPECT_TRUE(closed);

    // A line just at the limit is still a request.
    const std::string padded = "{\"args\":[\"echo\",\"" + std::string(65536 - 20, 'y') + "\"]}";
    ASSERT_EQ(padded.size(), 65536u);
    const auto fits = whileServing([&bystander, &padded] {
        bystander.send(padded + "\n");
        return bystander.readLine();
    });
    EXPECT_EQ(parse(fits).value("ok"), QJsonValue(true));
    EXPECT_TRUE(serveUntil([this] { return server.clientCount() == 1; }));
}

TEST_F(ControlSocket, ClientsThatLeaveEarlyChangeNothing) {
    ASSERT_TRUE(start(server));
    {
        RawClient half(path());
        whileServing([&half] { return half.send("{\"args\":[\"echo\",\"never\""); });
        half.close(); // half a line, then gone
    }
    {
        RawClient rude(path());
        whileServing([&rude] { return rude.send("{\"args\":[\"echo\",\"once\"]}\n"); });
        rude.close(); // a request, but gone before its answer: writing the answer must not hurt us
    }
    EXPECT_TRUE(serveUntil([this] { return server.clientCount() == 0; }));
    EXPECT_EQ(handled, 1)
        << "the half line never runs; a whole one runs even when nobody waits for its answer";
    const int before = handled;
    const std::string p = path();
    const auto r = whileServing([p] { return exchangeLine(p, "{\"args\":[\"echo\",\"next\"]}", 5s); });
    ASSERT_EQ(r.status, ExchangeStatus::Answered) << r.error;
    EXPECT_EQ(parse(r.reply).value("args"), QJsonValue(QJsonArray{"next"}));
    EXPECT_EQ(handled, before + 1);
}

TEST_F(ControlSocket, TooManyClientsAreTurnedAwayAndTheRestServed) {
    server.setLimits({64 * 1024, 2, std::chrono::milliseconds(30000)});
    ASSERT_TRUE(start(server));
    RawClient a(path()), b(path());
    ASSERT_TRUE(serveUntil([this] { return server.clientCount() == 2; }));
    RawClient c(path());
    const auto refused = whileServing([&c] { return c.readLine(); });
    EXPECT_NE(parse(refused).value("error").toString().indexOf("too many connections"), -1) << refused;
    const auto served = whileServing([&a, &b] {
        a.send("{\"args\":[\"echo\",\"a\"]}\n");
        b.send("{\"args\":[\"echo\",\"b\"]}\n");
        return std::pair{a.readLine(), b.readLine()};
    });
    EXPECT_EQ(parse(served.first).value("args"), QJsonValue(QJsonArray{"a"}));
    EXPECT_EQ(parse(served.second).value("args"), QJsonValue(QJsonArray{"b"}));
}

TEST_F(ControlSocket, UnfinishedLineTimesOut) {
    server.setLimits({64 * 1024, 16, std::chrono::milliseconds(20)});
    ASSERT_TRUE(start(server));
    RawClient slow(path());
    ASSERT_TRUE(slow.send("{\"args\":")); // waiting for the server before it even took the connection
    const auto [answer, closed] = whileServing([&slow] {
        const std::string a = slow.readLine();
        return std::pair{a, slow.closedByServer()};
    });
    EXPECT_NE(parse(answer).value("error").toString().indexOf("not finished"), -1) << answer;
    EXPECT_TRUE(closed);
    EXPECT_EQ(handled, 0);
}

TEST_F(ControlSocket, AHandlerInANestedLoopHoldsUpOnlyItsOwnConnection) {
    // A handler that opens a modal loop (a dialog) until another client has been served.
    bool otherServed = false;
    std::atomic<bool> modalBegan{false};
    std::vector<std::string> order;
    table.registerCommand("modal", [&](const CommandTable::Args&) {
        order.push_back("modal begins");
        modalBegan = true;
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (otherServed) loop.quit();
        });
        poll.start(1);
        QTimer::singleShot(10s, &loop, &QEventLoop::quit);
        loop.exec();
        order.push_back("modal ends");
        return Reply::success();
    });
    table.registerCommand("other", [&](const CommandTable::Args&) {
        order.push_back("other");
        otherServed = true;
        return Reply::success();
    });
    table.registerCommand("next", [&](const CommandTable::Args&) {
        order.push_back("next");
        return Reply::success();
    });
    ASSERT_TRUE(start(server));
    RawClient first(path()), second(path());
    const auto answers = whileServing([&] {
        first.send("{\"args\":[\"modal\"]}\n{\"args\":[\"next\"]}\n");
        const auto end = std::chrono::steady_clock::now() + 5s;
        while (!modalBegan && std::chrono::steady_clock::now() < end) std::this_thread::yield();
        second.send("{\"args\":[\"other\"]}\n");
        const std::string o = second.readLine();
        return std::vector<std::string>{o, first.readLine(), first.readLine()};
    });
    for (const auto& a : answers) EXPECT_EQ(parse(a).value("ok"), QJsonValue(true)) << a;
    EXPECT_EQ(order, (std::vector<std::string>{"modal begins", "other", "modal ends", "next"}))
        << "another connection is served during the modal loop; the same connection's next line waits";
}

} // namespace
} // namespace zq::control
