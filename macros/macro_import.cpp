#include "macros/macro_import.h"

#include <fstream>
#include <iterator>

#include "macros/macro_action.h"
#include "macros/macro_files.h"
#include "platform/ini_document.h"
#include "platform/private_profile.h"
#include "platform/utf8.h"

namespace zq::macros {

namespace fs = std::filesystem;

namespace {

// Reads at most one byte past the INI module's bound, so a huge file costs no more than that.
std::optional<std::string> readBounded(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes(platform::kMaxProfileFileBytes + 1, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.bad()) return std::nullopt;
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

bool isPlainCount(std::string_view text) {
    if (text.empty() || text.size() > 9) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

} // namespace

ImportCheck checkImportFile(const fs::path& file, std::size_t maxActions, bool acceptEmpty) {
    ImportCheck check;
    std::error_code ec;
    if (fs::is_directory(file, ec)) return check;
    auto bytes = readBounded(file);
    if (!bytes) return check;
    check.verdict = ImportCheck::Verdict::NotMacroFile;
    if (bytes->empty()) {
        if (acceptEmpty) check.verdict = ImportCheck::Verdict::Accepted;
        return check;
    }
    if (bytes->size() > platform::kMaxProfileFileBytes ||
        platform::countIniLines(*bytes) > platform::kMaxProfileFileLines ||
        bytes->find('\0') != std::string::npos || !platform::isValidUtf8(*bytes))
        return check;
    const platform::IniDocument doc = platform::IniDocument::parse(*bytes);
    const auto count = doc.find(kSectionActionCount, kKeyCount);
    if (!count || !isPlainCount(*count)) return check;
    const auto stated = static_cast<std::size_t>(parseDecimal(*count));
    if (stated > maxActions) {
        check.verdict = ImportCheck::Verdict::TooManyActions;
        check.actions = stated;
        return check;
    }
    check.verdict = ImportCheck::Verdict::Accepted;
    check.actions = stated;
    check.bytes = std::move(*bytes);
    return check;
}

std::optional<std::string> readExportBytes(const fs::path& file) {
    std::error_code ec;
    if (!fs::exists(file, ec)) return std::string();
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) return std::nullopt;
    return bytes;
}

bool writeExportFile(const fs::path& target, const std::string& bytes) {
    return platform::replaceProfileFile(target, bytes);
}

} // namespace zq::macros
