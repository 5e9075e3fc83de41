#include "shell/control/command_table.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>

#include <charconv>
#include <cstdlib>
#include <exception>

namespace zq::control {

Reply Reply::success(QJsonObject fields) {
    Reply r;
    r.fields = std::move(fields);
    return r;
}

Reply Reply::failure(std::string message) {
    Reply r;
    r.ok = false;
    r.error = std::move(message);
    return r;
}

Reply Reply::usageError(std::string message) {
    Reply r = failure(std::move(message));
    r.usage = true;
    return r;
}

QJsonObject Reply::toJson() const {
    QJsonObject o;
    if (ok) {
        o = fields;
    } else {
        o.insert(QStringLiteral("error"), QString::fromStdString(error));
        if (usage) o.insert(QStringLiteral("usage"), true);
    }
    o.insert(QStringLiteral("ok"), ok);
    return o;
}

QByteArray Reply::toLine() const {
    QByteArray line = QJsonDocument(toJson()).toJson(QJsonDocument::Compact);
    line.append('\n');
    return line;
}

bool Modes::automationRequested() {
    const char* value = std::getenv("ZQ70_AUTOMATION");
    return value && std::string_view(value) == "1";
}

void CommandTable::registerCommand(std::string_view name, Handler handler, Gate gate) {
    commands_[std::string(name)] = Entry{std::move(handler), gate};
}

Reply CommandTable::run(const Args& args) const {
    if (args.empty() || args[0].empty()) return Reply::usageError("no command given");
    const auto it = commands_.find(args[0]);
    if (it == commands_.end()) return Reply::usageError("unknown command '" + args[0] + "'");
    switch (it->second.gate) {
    case Gate::Always:
        break;
    case Gate::Simulate:
        if (!modes_.simulate)
            return Reply::failure("'" + args[0] +
                                  "' commands work only when zephran-q70 runs with --simulate");
        break;
    case Gate::Automation:
        if (!modes_.simulate && !modes_.automation)
            return Reply::failure("'" + args[0] +
                                  "' commands work only when zephran-q70 runs with --simulate or with "
                                  "ZQ70_AUTOMATION=1 in its environment");
        break;
    }
    // A handler that fails in a way nobody foresaw answers this one request; the program goes on.
    try {
        return it->second.handler(Args(args.begin() + 1, args.end()));
    } catch (const std::exception& e) {
        return Reply::failure(std::string("internal error in '") + args[0] + "': " + e.what());
    } catch (...) {
        return Reply::failure("internal error in '" + args[0] + "'");
    }
}

Reply CommandTable::runLine(const QByteArray& line) const {
    QJsonParseError parseError{};
    const QJsonDocument doc = QJsonDocument::fromJson(line, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        return Reply::failure("the request is not JSON: " + parseError.errorString().toStdString() +
                              " at byte " + std::to_string(parseError.offset));
    }
    static const char* kShape = "a request is one JSON object with \"args\": a non-empty list of strings";
    if (!doc.isObject()) return Reply::failure(kShape);
    const QJsonValue argsValue = doc.object().value(QStringLiteral("args"));
    if (!argsValue.isArray() || argsValue.toArray().isEmpty()) return Reply::failure(kShape);
    Args args;
    for (const QJsonValue& v : argsValue.toArray()) {
        if (!v.isString()) return Reply::failure(kShape);
        args.push_back(v.toString().toStdString());
    }
    return run(args);
}

bool parseInt(std::string_view text, long long minimum, long long maximum, long long& out) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    // Only the plain decimal form may carry a sign, and only a minus.
    if (text.empty() || text[0] == '+' || (base == 16 && text[0] == '-')) return false;
    long long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (ec != std::errc() || end != text.data() + text.size()) return false;
    if (value < minimum || value > maximum) return false;
    out = value;
    return true;
}

bool parseHexBytes(std::string_view text, std::vector<std::uint8_t>& out) {
    if (text.empty() || text.size() % 2 != 0) return false;
    std::vector<std::uint8_t> bytes;
    bytes.reserve(text.size() / 2);
    for (std::size_t i = 0; i < text.size(); i += 2) {
        unsigned value = 0;
        const auto [end, ec] = std::from_chars(text.data() + i, text.data() + i + 2, value, 16);
        if (ec != std::errc() || end != text.data() + i + 2) return false;
        bytes.push_back(static_cast<std::uint8_t>(value));
    }
    out = std::move(bytes);
    return true;
}

std::string hexString(std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (std::uint8_t b : bytes) {
        out.push_back(kDigits[b >> 4]);
        out.push_back(kDigits[b & 0x0F]);
    }
    return out;
}

} // namespace zq::control
