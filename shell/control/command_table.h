#pragma once
// The commands of the control channel by name. A request is one JSON object, {"args":["sim","plug",
// "mouse"]}: the first argument names the command, the rest go to its handler. Every request gets one
// answer, {"ok":true,...fields} or {"ok":false,"error":"..."} ("usage":true when the request itself was
// malformed, so the client can say so with its exit code).
//
// Handlers run on the UI thread, one at a time per connection, and the answer goes out after the
// handler has returned. A handler that ends the program answers first and leaves the quit to the event
// loop (post it), so the answer reaches the client.
#include <QJsonObject>

#include <cstdint>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class QByteArray;

namespace zq::control {

struct Reply {
    bool ok = true;
    bool usage = false;
    std::string error;
    QJsonObject fields; // stand beside "ok" in the answer

    static Reply success(QJsonObject fields = {});
    static Reply failure(std::string message);
    static Reply usageError(std::string message);

    QJsonObject toJson() const;
    // The answer line, newline included.
    QByteArray toLine() const;
};

// Who may run a command.
enum class Gate {
    Always,
    Simulate,   // only when the program runs on the emulated devices (--simulate)
    Automation, // with --simulate, or when ZQ70_AUTOMATION=1 lets scripts drive the real program
};

struct Modes {
    bool simulate = false;
    bool automation = false;
    // ZQ70_AUTOMATION=1 in this process's environment.
    static bool automationRequested();
};

class CommandTable {
public:
    using Args = std::vector<std::string>;
    using Handler = std::function<Reply(const Args& args)>;

    explicit CommandTable(Modes modes = {}) : modes_(modes) {}

    // A later registration of the same name replaces the earlier one.
    void registerCommand(std::string_view name, Handler handler, Gate gate = Gate::Always);
    bool has(std::string_view name) const { return commands_.count(std::string(name)) != 0; }
    const Modes& modes() const { return modes_; }

    // args[0] is the command; the handler gets the rest.
    Reply run(const Args& args) const;
    // One request line (without its newline): parsed, checked, run.
    Reply runLine(const QByteArray& line) const;

private:
    struct Entry {
        Handler handler;
        Gate gate;
    };
    Modes modes_;
    std::map<std::string, Entry, std::less<>> commands_;
};

// Argument checks the handlers share. Each returns false for text that is not exactly such a value.
bool parseInt(std::string_view text, long long minimum, long long maximum, long long& out); // decimal or 0x..
bool parseHexBytes(std::string_view text, std::vector<std::uint8_t>& out); // "0a1B" → {0x0a, 0x1b}
std::string hexString(std::span<const std::uint8_t> bytes);                // lower case, no spaces

} // namespace zq::control
