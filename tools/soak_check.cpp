#include "tools/soak_check.h"

#include "macros/cursor_path_files.h"
#include "macros/macro_action.h"
#include "macros/macro_files.h"
#include "platform/data_folders.h"
#include "platform/ini_document.h"
#include "profiles/profile_category.h"
#include "profiles/profile_file.h"
#include "profiles/profile_index.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <system_error>

namespace zq::tools {

namespace {

namespace fs = std::filesystem;
using platform::IniDocument;

// Files of the data folder are a few kilobytes; anything near this is a fault of its own.
constexpr std::uintmax_t kMaxDataFileBytes = 4u << 20;

std::string lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::optional<std::string> readWhole(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool wholeNumber(std::string_view text, long long& out) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && end == text.data() + text.size() && out >= 0;
}

class Checker {
public:
    explicit Checker(fs::path folder) : folder_(std::move(folder)) {}

    DataFolderCheck run() {
        std::error_code ec;
        if (!fs::is_directory(folder_, ec)) {
            fault(folder_, "is not a folder");
            return result_;
        }
        for (const auto& category : profiles::kProfileCategories) checkIndex(category);
        checkMacroIndex(macros::MacroFamily::Mouse);
        checkMacroIndex(macros::MacroFamily::Keyboard);
        for (auto it = fs::recursive_directory_iterator(folder_, ec);
             !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
            if (it->is_regular_file(ec)) checkFile(it->path());
        if (ec) fault(folder_, "cannot be listed: " + ec.message());
        result_.indexes = indexFiles_.size();
        return result_;
    }

private:
    void fault(const fs::path& file, const std::string& what) {
        result_.faults.push_back(fs::relative(file, folder_).string() + ": " + what);
    }

    fs::path deviceFolder(platform::DeviceFolder device) const {
        return folder_ / std::string(platform::categoryFolderName(device));
    }

    // Every file by its name: a left-over temporary file is a write that never ended; the rest must read.
    void checkFile(const fs::path& file) {
        const std::string name = file.filename().string();
        if (name.rfind(".zq70-", 0) == 0) {
            fault(file, "a temporary file left behind by a write");
            return;
        }
        std::error_code ec;
        if (fs::file_size(file, ec) > kMaxDataFileBytes) {
            fault(file, "is larger than " + std::to_string(kMaxDataFileBytes) + " bytes");
            return;
        }
        const std::string extension = lower(file.extension().string());
        if (extension == ".ini" || extension == ".mac" || extension == ".cur") {
            if (!checkIniText(file)) return;
            if (extension == ".mac") checkActionFile(file, false);
            if (extension == ".cur") checkActionFile(file, true);
            if (extension == ".ini" && !isIndexFile(name)) ++result_.otherIni;
            return;
        }
        if (const auto* category = profileCategoryOf(file)) checkProfile(file, *category);
    }

    static bool isIndexFile(const std::string& name) {
        const std::string n = lower(name);
        for (const auto& c : profiles::kProfileCategories)
            if (n == lower(std::string(c.indexFile))) return true;
        return n == lower(std::string(macros::kMouseMacroIndexFile)) ||
               n == lower(std::string(macros::kKeyboardMacroIndexFile));
    }

    // The category a profile file belongs to by its folder and extension, or null for other files.
    const profiles::ProfileCategoryInfo* profileCategoryOf(const fs::path& file) const {
        const std::string extension = lower(file.extension().string());
        for (const auto& c : profiles::kProfileCategories)
            if (extension == c.extension && file.parent_path() == deviceFolder(c.folder)) return &c;
        return nullptr;
    }

    // INI text as the program writes it: parsing and writing it again gives the same bytes.
    bool checkIniText(const fs::path& file) {
        const auto text = readWhole(file);
        if (!text) {
            fault(file, "cannot be read");
            return false;
        }
        if (IniDocument::parse(*text).serialize() != *text) {
            fault(file, "does not read back as the same INI text");
            return false;
        }
        return true;
    }

    void checkProfile(const fs::path& file, const profiles::ProfileCategoryInfo& category) {
        ++result_.profiles;
        std::error_code ec;
        const auto size = fs::file_size(file, ec);
        if (ec || size != profiles::kProfileHeaderSize + category.payloadSize) {
            fault(file, "has " + std::to_string(size) + " bytes, not the header and " +
                            std::to_string(category.payloadSize) + " bytes of payload");
            return;
        }
        std::vector<std::uint8_t> payload(category.payloadSize);
        if (profiles::readProfileFile(file, payload) != profiles::ProfileReadResult::Ok) {
            fault(file, "has no profile header");
            return;
        }
        const auto bytes = readWhole(file);
        const unsigned type =
            bytes ? static_cast<std::uint8_t>((*bytes)[profiles::kHeaderDeviceTypeOffset]) |
                        static_cast<std::uint8_t>((*bytes)[profiles::kHeaderDeviceTypeOffset + 1]) << 8
                  : 0;
        if (type != static_cast<unsigned>(category.deviceType))
            fault(file, "says device type " + std::to_string(type) + ", not " +
                            std::to_string(static_cast<unsigned>(category.deviceType)));
    }

    // A category's list in its index: a count the names cover, a selection inside the list, and a file
    // for every name.
    void checkIndex(const profiles::ProfileCategoryInfo& category) {
        const fs::path index =
            platform::resolveCaseInsensitive(deviceFolder(category.folder), category.indexFile);
        std::error_code ec;
        if (!fs::is_regular_file(index, ec)) {
            fault(index, "is missing");
            return;
        }
        indexFiles_.insert(index);
        const profiles::ProfileIndex list(category.category, index);
        const std::string what = std::string(category.sections.name) + " ";
        const int count = list.count();
        if (count <= 0 || static_cast<std::size_t>(count) > list.namesPresent()) {
            fault(index, what + "count " + std::to_string(count) + " with " +
                             std::to_string(list.namesPresent()) + " names");
            return;
        }
        const int select = list.select();
        if (select < 0 || select >= count)
            fault(index, what + "selects " + std::to_string(select) + " of " + std::to_string(count));
        for (int i = 0; i < count; ++i) {
            const std::string name = list.name(i);
            if (name.empty()) {
                fault(index, what + std::to_string(i) + " is empty");
                continue;
            }
            const fs::path file = platform::resolveCaseInsensitive(deviceFolder(category.folder),
                                                                   name + std::string(category.extension));
            if (!fs::is_regular_file(file, ec))
                fault(index,
                      what + std::to_string(i) + " names " + file.filename().string() + ", which is missing");
        }
    }

    void checkMacroIndex(macros::MacroFamily family) {
        const fs::path folder =
            deviceFolder(family == macros::MacroFamily::Mouse ? platform::DeviceFolder::Mouse
                                                              : platform::DeviceFolder::Keyboard);
        const fs::path index = macros::macroIndexPath(folder, family);
        std::error_code ec;
        if (!fs::is_regular_file(index, ec)) return; // no macros yet
        indexFiles_.insert(index);
        for (const std::string& name : macros::readMacroIndex(folder, family))
            if (!macros::macroFilePath(folder, name))
                fault(index, "names the macro '" + name + "', which is no file name");
        if (family == macros::MacroFamily::Mouse)
            for (const auto& file : macros::cursorPathFiles(folder))
                if (!file || !fs::is_regular_file(*file, ec))
                    fault(index, "names a cursor path without its file");
    }

    // A macro or cursor-path file: the count it states is covered by its action lines, and each line
    // reads as an action that writes back as itself.
    void checkActionFile(const fs::path& file, bool cursorPath) {
        ++(cursorPath ? result_.cursorPaths : result_.macros);
        const auto text = readWhole(file);
        const IniDocument doc = IniDocument::parse(text ? *text : std::string());
        const auto countText = doc.find(macros::kSectionActionCount, macros::kKeyCount);
        long long count = 0;
        if (!countText || !wholeNumber(*countText, count)) {
            fault(file, "has no action count");
            return;
        }
        if (cursorPath && !macros::isImportableCursorPath(file))
            fault(file, "is no cursor path the program takes");
        for (long long i = 0; i < count; ++i) {
            const auto line = doc.find(macros::kSectionAction, std::to_string(i));
            if (!line) {
                fault(file,
                      "states " + std::to_string(count) + " actions and lacks action " + std::to_string(i));
                return;
            }
            const macros::MacroAction a = macros::parseActionLine(*line);
            if (macros::parseActionLine(macros::formatActionLine(a)) != a) {
                fault(file, "action " + std::to_string(i) + " does not write back as itself");
                return;
            }
        }
        if (macros::readMacroActions(file).size() != static_cast<std::size_t>(count))
            fault(file, "reads as another number of actions than it states");
    }

    fs::path folder_;
    DataFolderCheck result_;
    std::set<fs::path> indexFiles_;
};

} // namespace

DataFolderCheck checkDataFolder(const std::filesystem::path& dataFolder) {
    return Checker(dataFolder).run();
}

int runSoakCheck(const std::vector<std::string>& args, std::string& out, std::string& err) {
    if (args.size() != 1 || args[0].empty() || args[0].front() == '-') {
        err += "usage: zq70-soak-check DATA_FOLDER\n";
        return 2;
    }
    const DataFolderCheck r = checkDataFolder(args[0]);
    for (const std::string& f : r.faults) err += "zq70-soak-check: " + f + "\n";
    out += "data folder: " + std::to_string(r.profiles) + " profile files, " + std::to_string(r.indexes) +
           " index files, " + std::to_string(r.macros) + " macro files, " + std::to_string(r.cursorPaths) +
           " cursor-path files, " + std::to_string(r.otherIni) + " other INI files; " +
           (r.faults.empty() ? std::string("no fault") : std::to_string(r.faults.size()) + " faults") + "\n";
    return r.faults.empty() ? 0 : 1;
}

} // namespace zq::tools
