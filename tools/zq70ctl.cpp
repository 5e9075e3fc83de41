// zq70ctl: the command line of the running zephran-q70. Sends its arguments as one request over the
// per-user control socket and prints the answer as one JSON object.
// Exit status: 0 done; 1 failed (one line on stderr: the program's error, or that it is not running);
// 2 the command line or the request was malformed.
#include "shell/control/client.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QString>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

namespace {

constexpr const char* kUsage =
    R"(usage: zq70ctl [--timeout SECONDS] COMMAND [ARGUMENT...]

Talks to the zephran-q70 of this user that is running, and prints its answer as one JSON object.

  status                      simulate, visible, language, and per device present/open/slot
  show                        bring the window to the front
  quit                        end the program (as the tray menu's exit)
  slot N                      the mouse's onboard slot, 0 to 5
  pad-slot N                  the mouse pad's onboard slot, 0 to 5
  macro upload mouse|keyboard send the macros (and the mouse's cursor paths) to the device; waits
                              until the transfer has ended

With zephran-q70 --simulate only:
  sim plug|unplug DEVICE
  sim report mouse|keyboard 0x401|0x402|0x403
  sim fault DEVICE none|noreply|late [MS]|status-ff|status-fe|write-fail|unplug-after N
  sim set DEVICE OFFSET HEX   change bytes of the device's profile-record memory on the device itself
  sim dump DEVICE             {"info","records","keys","macro","cursor","frame","log"}
  (DEVICE is mouse, pad or keyboard)

With --simulate or ZQ70_AUTOMATION=1 only:
  ui click NAME
  ui select NAME INDEX
  ui check NAME on|off
  ui slide NAME VALUE
  ui type NAME TEXT
  ui get NAME                 {"exists","visible","enabled","text","value","current","selected",
                              "count","items"}
  ui messages                 the message boxes shown since the last call
  ui answer ok|cancel|PATH    the answer of the next message box or file dialog

Options:
  --timeout SECONDS           how long to wait for the answer (default 30)
  --help                      this text

Exit status: 0 done, 1 failed or not running, 2 usage error.
)";

int usageError(const std::string& message) {
    std::fprintf(stderr, "zq70ctl: %s\n(zq70ctl --help shows the commands)\n", message.c_str());
    return 2;
}

int failure(const std::string& message) {
    std::fprintf(stderr, "zq70ctl: %s\n", message.c_str());
    return 1;
}

bool parseSeconds(std::string_view text, std::chrono::milliseconds& out) {
    double seconds = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (ec != std::errc() || end != text.data() + text.size() || !(seconds > 0) || seconds > 86400)
        return false;
    out = std::chrono::milliseconds(static_cast<long long>(seconds * 1000 + 0.5));
    if (out.count() == 0) out = std::chrono::milliseconds(1);
    return true;
}

// The program does not know our working folder: a file answer is made absolute here.
std::string absolutePath(const std::string& path) {
    if (path.empty() || path.front() == '/') return path;
    std::vector<char> buffer(4096);
    while (!::getcwd(buffer.data(), buffer.size())) {
        if (errno != ERANGE) return path;
        buffer.resize(buffer.size() * 2);
    }
    std::string folder(buffer.data());
    if (folder.back() != '/') folder.push_back('/');
    return folder + path;
}

} // namespace

int main(int argc, char** argv) {
    std::chrono::milliseconds limit{30000};
    int first = 1;
    for (; first < argc; ++first) {
        const std::string_view a = argv[first];
        if (a == "--help" || a == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (a == "--timeout") {
            if (first + 1 >= argc || !parseSeconds(argv[first + 1], limit))
                return usageError("--timeout takes a number of seconds above 0");
            ++first;
            continue;
        }
        if (a.rfind("--timeout=", 0) == 0) {
            if (!parseSeconds(a.substr(10), limit))
                return usageError("--timeout takes a number of seconds above 0");
            continue;
        }
        if (a == "--") {
            ++first;
            break;
        }
        if (a.size() > 1 && a.front() == '-') return usageError("unknown option " + std::string(a));
        break;
    }
    if (first >= argc) return usageError("no command given");

    std::vector<std::string> args(argv + first, argv + argc);
    if (args.size() == 3 && args[0] == "ui" && args[1] == "answer" && args[2] != "ok" && args[2] != "cancel")
        args[2] = absolutePath(args[2]);
    QJsonArray list;
    for (const auto& a : args) list.append(QString::fromLocal8Bit(a.c_str()));
    const QByteArray request =
        QJsonDocument(QJsonObject{{QStringLiteral("args"), list}}).toJson(QJsonDocument::Compact);

    const zq::control::SocketLocation where = zq::control::socketLocation();
    const auto result = zq::control::exchangeLine(where.path, request.toStdString(), limit);
    switch (result.status) {
    case zq::control::ExchangeStatus::NotRunning:
        return failure("zephran-q70 is not running");
    case zq::control::ExchangeStatus::NoAnswer:
        return failure("no answer from zephran-q70 (" + result.error + ")");
    case zq::control::ExchangeStatus::Failed:
        return failure(result.error);
    case zq::control::ExchangeStatus::Answered:
        break;
    }

    QJsonParseError parseError{};
    const QJsonDocument answer =
        QJsonDocument::fromJson(QByteArray::fromStdString(result.reply), &parseError);
    if (parseError.error != QJsonParseError::NoError || !answer.isObject())
        return failure("zephran-q70 gave an answer that is not a JSON object");
    const QJsonObject o = answer.object();
    std::fwrite(result.reply.data(), 1, result.reply.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
    if (o.value(QStringLiteral("ok")).toBool(false)) return 0;
    std::string error = o.value(QStringLiteral("error")).toString().toStdString();
    if (error.empty()) error = "the command failed";
    // One line, whatever the program put in it.
    for (char& c : error)
        if (c == '\n' || c == '\r') c = ' ';
    if (o.value(QStringLiteral("usage")).toBool(false)) return usageError(error);
    return failure(error);
}
