// zq70ctl: the command line of the running zephran-q70. Sends its arguments as one request over the
// per-user control socket and prints the answer: as lines of "name: value" for people, or with --json as
// the program's own JSON line for scripts.
// Exit status: 0 done; 1 failed (one line on stderr: the program's error, or that it is not running);
// 2 the command line or the request was malformed.
#include "shell/control/client.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <QString>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

namespace {

constexpr const char* kUsage =
    R"(usage: zq70ctl [--json] [--timeout SECONDS] COMMAND [ARGUMENT...] [--json]

Talks to the zephran-q70 of this user that is running, and prints its answer: as "name: value" lines,
or with --json as one JSON object ({"ok":true,...} or {"ok":false,"error":"..."}) on one line.

  status                      simulate, visible, language, and per device present/open/slot
  show                        bring the window to the front
  quit                        end the program (as the tray menu's exit)
  slot N                      the mouse's onboard slot, 0 to 5
  pad-slot N                  the mouse pad's onboard slot, 0 to 5
  dpi LEVEL VALUE             a DPI level (1 to 5) of the mouse's current slot: 200 to 6200 in steps of 100
  lighting mouse|pad|keyboard [--mode N] [--colour RRGGBB] [--brightness 0-4] [--speed 0-4]
                              [--direction left|right] [--cycle on|off]
                              a device's lighting, as its lighting page sets it; prints what it holds.
                              --mode counts the effect list from 0; an option the effect does not
                              offer is refused and nothing changes
  profile list [CATEGORY]     the profiles of one category or of all (names, active, saved, links)
  profile select CATEGORY N|NAME
                              select (and so load and send) a profile, by position from 0 or by name
  profile export CATEGORY N|NAME FILE
                              write a profile to FILE (the extension is added when FILE has none)
  profile import CATEGORY FILE
                              read FILE into the category (a new entry for ms_device and kb_device,
                              the selected entry otherwise)
                              CATEGORY: ms_device ms_deng ms_key kb_device kb_deng kb_key mp_deng
  macro upload mouse|keyboard send the macros (and the mouse's cursor paths) to the device; waits
                              until the transfer has ended
  (the device commands and profile select, export and import fail while their device is not
   connected)

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
  ui messages                 the message boxes, file dialogs and colour palettes shown since the
                              last call
  ui answer ok|cancel|PATH    the answer of the next message box or file dialog
  ui palette #RRGGBB|cancel   the answer of the next colour palette
  ui key VK [up] [ext]        a key press (or release) for a key capture or a macro recording
  ui mouse left|right|middle|back|forward down|up
                              a mouse button for a macro recording

Options (before or after the command; after "--" every word is the command's):
  --json                      print the answer as the program's JSON line
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

std::string compactJson(const QJsonValue& v) {
    if (v.isObject()) return QJsonDocument(v.toObject()).toJson(QJsonDocument::Compact).toStdString();
    if (v.isArray()) return QJsonDocument(v.toArray()).toJson(QJsonDocument::Compact).toStdString();
    return {};
}

// One value for a person: strings bare, whole numbers without a fraction, lists joined.
std::string plainValue(const QJsonValue& v) {
    switch (v.type()) {
    case QJsonValue::Bool:
        return v.toBool() ? "yes" : "no";
    case QJsonValue::Double: {
        const double d = v.toDouble();
        // Whole numbers as such; JSON numbers are doubles, exact as integers up to 2^53.
        if (std::abs(d) < 9007199254740992.0 && d == std::trunc(d))
            return std::to_string(static_cast<long long>(d));
        return QByteArray::number(d, 'g', 12).toStdString();
    }
    case QJsonValue::String:
        return v.toString().toStdString();
    case QJsonValue::Array: {
        const QJsonArray a = v.toArray();
        if (a.isEmpty()) return "(none)";
        std::string out;
        for (const QJsonValue& e : a) {
            if (!out.empty()) out += e.isArray() || e.isObject() ? " " : ", ";
            out += e.isArray() || e.isObject() ? compactJson(e) : plainValue(e);
        }
        return out;
    }
    case QJsonValue::Object:
        return compactJson(v);
    default:
        return "";
    }
}

// Nested objects flatten to dotted names ("info.keys: 104"), one line each, in the answer's order.
void plainFields(const QJsonObject& o, const std::string& prefix, std::string& out) {
    for (auto it = o.begin(); it != o.end(); ++it) {
        const std::string name = prefix + it.key().toStdString();
        // null is "does not apply" (the value of a control that has none): no line at all.
        if (name == "ok" || it.value().isNull()) continue;
        if (it.value().isObject() && !it.value().toObject().isEmpty()) {
            plainFields(it.value().toObject(), name + ".", out);
            continue;
        }
        out += name + ": " + plainValue(it.value()) + "\n";
    }
}

std::string deviceLine(const QJsonObject& d) {
    if (d.value("open").toBool()) return "open, slot " + plainValue(d.value("slot"));
    if (d.value("error").toString() == QLatin1String("permission"))
        return "cannot be opened: no permission (install the udev rule, see zephran-q70(1))";
    if (d.value("present").toBool()) return "present, not open";
    return "not present";
}

// status as a person reads it: a line per device first, then the program, its profiles and macros.
std::string plainStatus(const QJsonObject& o) {
    std::string out;
    const QJsonObject devices = o.value("devices").toObject();
    for (const char* key : {"mouse", "pad", "keyboard"})
        if (devices.contains(key))
            out += std::string(key) + ": " + deviceLine(devices.value(key).toObject()) + "\n";
    out += std::string("window: ") + (o.value("visible").toBool() ? "shown" : "hidden");
    out += ", language " + plainValue(o.value("language"));
    if (o.value("simulate").toBool()) out += ", simulated devices";
    out += "\n";
    const QJsonObject profiles = o.value("profiles").toObject();
    for (auto it = profiles.begin(); it != profiles.end(); ++it) {
        const QJsonObject c = it.value().toObject();
        const QJsonArray names = c.value("names").toArray();
        const int active = c.value("active").toInt(-1);
        const int saved = c.value("saved").toInt(-1);
        std::string line = "profiles " + it.key().toStdString() + ":";
        for (int i = 0; i < names.size(); ++i) {
            line += (i == 0 ? " " : ", ") + std::to_string(i) + " " + names.at(i).toString().toStdString();
            if (i == active && i == saved)
                line += " (active, saved)";
            else if (i == active)
                line += " (active)";
            else if (i == saved)
                line += " (saved)";
        }
        if (names.isEmpty()) line += " (none)";
        out += line + "\n";
    }
    const QJsonObject macros = o.value("macros").toObject();
    for (auto it = macros.begin(); it != macros.end(); ++it)
        out += "macros " + it.key().toStdString() + ": " + plainValue(it.value()) + "\n";
    // Whatever else a newer program adds still shows.
    QJsonObject rest = o;
    for (const char* known : {"devices", "visible", "language", "simulate", "profiles", "macros"})
        rest.remove(known);
    plainFields(rest, "", out);
    return out;
}

struct Options {
    std::chrono::milliseconds limit{30000};
    bool json = false;
    bool help = false;
    std::vector<std::string> command;
    std::string error; // a usage error
};

bool takeOption(std::string_view a, int& i, int argc, char** argv, Options& o) {
    if (a == "--json") {
        o.json = true;
        return true;
    }
    if (a == "--help" || a == "-h") {
        o.help = true;
        return true;
    }
    if (a == "--timeout") {
        if (i + 1 >= argc || !parseSeconds(argv[i + 1], o.limit))
            o.error = "--timeout takes a number of seconds above 0";
        ++i;
        return true;
    }
    if (a.rfind("--timeout=", 0) == 0) {
        if (!parseSeconds(a.substr(10), o.limit)) o.error = "--timeout takes a number of seconds above 0";
        return true;
    }
    return false;
}

// Options stand before or after the command. Before it, any other word with a leading dash is a mistake;
// after it, such a word belongs to the command (a negative number, a text to type). After "--" every
// word is the command's, "--json" included.
Options parseCommandLine(int argc, char** argv) {
    Options o;
    bool verbatim = false;
    for (int i = 1; i < argc && o.error.empty(); ++i) {
        const std::string_view a = argv[i];
        if (verbatim) {
            o.command.emplace_back(a);
            continue;
        }
        if (a == "--") {
            verbatim = true;
            continue;
        }
        if (takeOption(a, i, argc, argv, o)) continue;
        if (o.command.empty() && a.size() > 1 && a.front() == '-') {
            o.error = "unknown option " + std::string(a);
            break;
        }
        o.command.emplace_back(a);
    }
    return o;
}

} // namespace

int main(int argc, char** argv) {
    Options options = parseCommandLine(argc, argv);
    if (!options.error.empty()) return usageError(options.error);
    if (options.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (options.command.empty()) return usageError("no command given");

    std::vector<std::string>& args = options.command;
    if (args.size() == 3 && args[0] == "ui" && args[1] == "answer" && args[2] != "ok" && args[2] != "cancel")
        args[2] = absolutePath(args[2]);
    // The program's working folder is not ours: a file is named from here.
    if (args.size() == 5 && args[0] == "profile" && args[1] == "export") args[4] = absolutePath(args[4]);
    if (args.size() == 4 && args[0] == "profile" && args[1] == "import") args[3] = absolutePath(args[3]);
    QJsonArray list;
    for (const auto& a : args) list.append(QString::fromLocal8Bit(a.c_str()));
    const QByteArray request =
        QJsonDocument(QJsonObject{{QStringLiteral("args"), list}}).toJson(QJsonDocument::Compact);

    const zq::control::SocketLocation where = zq::control::socketLocation();
    const auto result = zq::control::exchangeLine(where.path, request.toStdString(), options.limit);
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
    const bool ok = o.value(QStringLiteral("ok")).toBool(false);
    if (options.json) {
        std::fwrite(result.reply.data(), 1, result.reply.size(), stdout);
        std::fputc('\n', stdout);
    } else if (ok) {
        std::string text;
        if (args[0] == "status")
            text = plainStatus(o);
        else
            plainFields(o, "", text);
        std::fwrite(text.data(), 1, text.size(), stdout);
    }
    std::fflush(stdout);
    if (ok) return 0;
    std::string error = o.value(QStringLiteral("error")).toString().toStdString();
    if (error.empty()) error = "the command failed";
    // One line, whatever the program put in it.
    for (char& c : error)
        if (c == '\n' || c == '\r') c = ' ';
    if (o.value(QStringLiteral("usage")).toBool(false)) return usageError(error);
    return failure(error);
}
