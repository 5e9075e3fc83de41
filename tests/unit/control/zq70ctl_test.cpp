// The built zq70ctl against a server in this process: what it prints (JSON with --json, lines for people
// without) and the exit status it gives for each kind of answer, and for no answer at all.
#include "shell/control/instance_server.h"
#include "unit/control/control_test_support.h"
#include "unit/platform/temp_folder.h"

#include <QJsonArray>
#include <QProcess>

namespace zq::control {
namespace {

using namespace zq::test;

struct CtlRun {
    int exit = -1;
    std::string out, err;
};

class Zq70ctl : public ::testing::Test {
protected:
    void SetUp() override {
        table.registerCommand("echo", [](const CommandTable::Args& args) {
            QJsonArray a;
            for (const auto& s : args) a.append(QString::fromStdString(s));
            return Reply::success({{"args", a}});
        });
        table.registerCommand("ui", [](const CommandTable::Args& args) {
            return Reply::success({{"last", QString::fromStdString(args.back())}});
        });
        table.registerCommand("fail",
                              [](const CommandTable::Args&) { return Reply::failure("it broke\nbadly"); });
        table.registerCommand("strict",
                              [](const CommandTable::Args&) { return Reply::usageError("bad use"); });
        table.registerCommand("nested", [](const CommandTable::Args&) {
            return Reply::success({{"info", QJsonObject{{"keys", 104}, {"name", "pad"}}},
                                   {"log", QJsonArray{QJsonArray{1, 0}, QJsonArray{2, 5}}},
                                   {"value", QJsonValue()}});
        });
        // The shape of the program's status answer.
        table.registerCommand("status", [](const CommandTable::Args&) {
            const QJsonObject names{{"names", QJsonArray{"Default", "Fast"}}, {"active", 1}, {"saved", 0}};
            return Reply::success(
                {{"simulate", true},
                 {"visible", false},
                 {"language", "en"},
                 {"profiles", QJsonObject{{"ms_device", names}}},
                 {"macros", QJsonObject{{"mouse", QJsonArray{"m1", "m2"}}, {"keyboard", QJsonArray{}}}},
                 {"devices",
                  QJsonObject{
                      {"mouse", QJsonObject{{"present", true}, {"open", true}, {"slot", 2}}},
                      {"pad",
                       QJsonObject{{"present", true}, {"open", false}, {"slot", 0}, {"error", "permission"}}},
                      {"keyboard", QJsonObject{{"present", false}, {"open", false}}}}}});
        });
        ASSERT_EQ(server.listen(socketLocation(folder.path().c_str(), "/unused", ::geteuid())),
                  InstanceServer::Outcome::Listening)
            << server.error();
    }
    // Runs zq70ctl with XDG_RUNTIME_DIR pointing at the test's folder while this thread serves.
    CtlRun ctl(QStringList args) {
        const QString runtime = QString::fromStdString(folder.path().string());
        return whileServing([runtime, args] {
            QProcess p;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("XDG_RUNTIME_DIR", runtime);
            p.setProcessEnvironment(env);
            p.setWorkingDirectory(runtime);
            p.start(QStringLiteral(ZQ70CTL_PATH), args);
            CtlRun r;
            if (!p.waitForFinished(15000)) {
                p.kill();
                p.waitForFinished(1000);
                return r;
            }
            r.exit = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
            r.out = p.readAllStandardOutput().toStdString();
            r.err = p.readAllStandardError().toStdString();
            return r;
        });
    }

    TempFolder folder;
    CommandTable table;
    InstanceServer server{table, [] {}};
};

TEST_F(Zq70ctl, ExitStatusFollowsTheAnswer) {
    CtlRun r = ctl({"--json", "echo", "a b", "c"});
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1) << "one JSON object on one line";
    const QJsonObject o = parse(r.out.substr(0, r.out.find('\n')));
    EXPECT_EQ(o.value("ok"), QJsonValue(true));
    EXPECT_EQ(o.value("args"), QJsonValue(QJsonArray{"a b", "c"}));
    EXPECT_EQ(r.err, "");

    r = ctl({"fail"});
    EXPECT_EQ(r.exit, 1);
    EXPECT_EQ(r.err, "zq70ctl: it broke badly\n") << "the error on one line";
    EXPECT_EQ(r.out, "") << "without --json a failure prints only its line on stderr";
    r = ctl({"fail", "--json"});
    EXPECT_EQ(r.exit, 1);
    EXPECT_EQ(parse(r.out).value("error"), QJsonValue("it broke\nbadly"));

    for (const QStringList& args : {QStringList{"strict"}, QStringList{"no-such-command"}}) {
        r = ctl(args);
        EXPECT_EQ(r.exit, 2) << args.join(' ').toStdString() << ": " << r.err;
        EXPECT_EQ(r.err.rfind("zq70ctl: ", 0), 0u);
    }
}

TEST_F(Zq70ctl, CommandLineMistakesAreUsageErrors) {
    const CtlRun help = ctl({"--help"});
    EXPECT_EQ(help.exit, 0);
    for (const char* command :
         {"status", "show", "quit", "sim plug|unplug", "sim report", "sim fault", "sim set", "sim dump",
          "ui click", "ui select", "ui check", "ui slide", "ui type", "ui get", "ui messages", "ui answer"})
        EXPECT_NE(help.out.find(command), std::string::npos) << command;

    for (const QStringList& args :
         {QStringList{}, QStringList{"--json"}, QStringList{"--timeout"},
          QStringList{"--timeout", "soon", "echo"}, QStringList{"--timeout", "0", "echo"},
          QStringList{"--verbose", "echo"}, QStringList{"echo", "--timeout"}}) {
        const CtlRun r = ctl(args);
        EXPECT_EQ(r.exit, 2) << args.join(' ').toStdString();
        EXPECT_NE(r.err.find("zq70ctl: "), std::string::npos);
        EXPECT_EQ(r.out, "");
    }
    EXPECT_EQ(ctl({"--timeout", "2.5", "--", "echo"}).exit, 0);
}

TEST_F(Zq70ctl, AnswerPathIsMadeAbsoluteHere) {
    const CtlRun r = ctl({"--json", "ui", "answer", "sub/file.config"});
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(parse(r.out).value("last").toString().toStdString(), (folder / "sub/file.config").string());
    EXPECT_EQ(parse(ctl({"ui", "answer", "cancel", "--json"}).out).value("last"), QJsonValue("cancel"));
}

TEST_F(Zq70ctl, JsonAnywhereOutsideTheCommandsOwnWords) {
    // Before, after, and mixed with --timeout: the same JSON line.
    for (const QStringList& args : {QStringList{"--json", "echo", "x"}, QStringList{"echo", "x", "--json"},
                                    QStringList{"echo", "--timeout", "5", "x", "--json"}}) {
        const CtlRun r = ctl(args);
        ASSERT_EQ(r.exit, 0) << args.join(' ').toStdString() << ": " << r.err;
        EXPECT_EQ(parse(r.out).value("args"), QJsonValue(QJsonArray{"x"})) << args.join(' ').toStdString();
    }
    // After the command a word with a dash is the command's (a negative number); after "--" even --json.
    CtlRun r = ctl({"--json", "echo", "-5"});
    EXPECT_EQ(parse(r.out).value("args"), QJsonValue(QJsonArray{"-5"}));
    r = ctl({"--json", "--", "echo", "--json"});
    EXPECT_EQ(parse(r.out).value("args"), QJsonValue(QJsonArray{"--json"}));
}

TEST_F(Zq70ctl, WithoutJsonAnswersReadAsLines) {
    CtlRun r = ctl({"status"});
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(r.out, "mouse: open, slot 2\n"
                     "pad: cannot be opened: no permission (install the udev rule, see zephran-q70(1))\n"
                     "keyboard: not present\n"
                     "window: hidden, language en, simulated devices\n"
                     "profiles ms_device: 0 Default (saved), 1 Fast (active)\n"
                     "macros keyboard: (none)\n"
                     "macros mouse: m1, m2\n");
    // Any other answer: a line per field, nested objects by dotted names, lists joined, nulls left out.
    r = ctl({"echo", "a b", "c"});
    EXPECT_EQ(r.out, "args: a b, c\n");
    EXPECT_EQ(ctl({"nested"}).out, "info.keys: 104\ninfo.name: pad\nlog: [1,0] [2,5]\n");
    EXPECT_EQ(ctl({"ui", "x", "y"}).out, "last: y\n");
}

TEST_F(Zq70ctl, NothingRunningOrNothingAnswering) {
    server.close();
    CtlRun r = ctl({"status"});
    EXPECT_EQ(r.exit, 1);
    EXPECT_EQ(r.err, "zq70ctl: zephran-q70 is not running\n");
    EXPECT_EQ(r.out, "");

    // A listener that takes the connection and never answers: the wait ends at the timeout.
    const std::string path = socketLocation(folder.path().c_str(), "/unused", ::geteuid()).path;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un a{};
    a.sun_family = AF_UNIX;
    std::strncpy(a.sun_path, path.c_str(), sizeof a.sun_path - 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    ASSERT_EQ(::listen(fd, 4), 0);
    r = ctl({"--timeout", "0.2", "status"});
    ::close(fd);
    EXPECT_EQ(r.exit, 1);
    EXPECT_NE(r.err.find("no answer"), std::string::npos) << r.err;
}

} // namespace
} // namespace zq::control
