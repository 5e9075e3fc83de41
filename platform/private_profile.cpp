#include "platform/private_profile.h"

#include "platform/atomic_file.h"
#include "platform/debug.h"
#include "platform/ini_document.h"
#include "platform/utf8.h"

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

namespace zq::platform {

namespace {
namespace fs = std::filesystem;

constexpr std::size_t kMaxCachedFiles = 64;
// What the cache may hold in all, by costOf; a file is always kept while it is in use.
constexpr std::size_t kMaxCachedBytes = 16 * 1024 * 1024;

struct Stamp {
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    struct timespec mtime {};
    bool operator==(const Stamp& o) const {
        return dev == o.dev && ino == o.ino && size == o.size && mtime.tv_sec == o.mtime.tv_sec &&
               mtime.tv_nsec == o.mtime.tv_nsec;
    }
};

Stamp stampOf(const struct stat& st) {
    return {st.st_dev, st.st_ino, st.st_size, st.st_mtim};
}

struct Cached {
    Stamp stamp;
    IniDocument doc;
    std::string text; // as read, to tell a re-read of an unchanged file without parsing it again
    // Written by us: the content is exactly what we hold. Otherwise loadedAt tells whether the file
    // could still change without its stamp showing it (see isRacy).
    bool ours = false;
    struct timespec loadedAt {};
};

// File times move in ticks of the kernel's coarse clock, so a file rewritten in place with the same
// size within one tick keeps its stamp. A file loaded less than two ticks after its last change is
// read again at the next call (and parsed again only when its text differs), until the cache is
// clearly newer than the file.
long long nanos(const struct timespec& t) {
    return static_cast<long long>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

long long racyWindowNs() {
    static const long long window = [] {
        struct timespec res {};
        if (::clock_getres(CLOCK_REALTIME_COARSE, &res) != 0) return 20'000'000LL;
        return std::max(2 * (static_cast<long long>(res.tv_sec) * 1'000'000'000 + res.tv_nsec), 2'000'000LL);
    }();
    return window;
}

bool isRacy(const Cached& c) {
    return !c.ours && nanos(c.stamp.mtime) + racyWindowNs() > nanos(c.loadedAt);
}

// What a cached file costs, taken on the high side: its text as read, the text of its lines, and the
// most a line and its index entries cost (see IniDocument).
constexpr std::size_t kLineCost = 160;
std::size_t costOf(std::size_t textBytes, std::size_t lines) {
    return 2 * textBytes + kLineCost * lines;
}

struct Store {
    std::mutex lock;
    std::unordered_map<std::string, Cached> files;
};

// Makes room for a file of that cost: when the cache would grow past its bounds, every other file
// leaves it (they are read again when next used).
void makeRoom(Store& s, const std::string& key, std::size_t cost) {
    std::size_t total = cost;
    for (const auto& [k, c] : s.files)
        if (k != key) total += costOf(c.text.size(), c.doc.lineCount());
    if (total <= kMaxCachedBytes && (s.files.size() < kMaxCachedFiles || s.files.count(key))) return;
    std::erase_if(s.files, [&](const auto& entry) { return entry.first != key; });
}

Store& store() {
    static Store* s = new Store; // never destroyed: worker threads may read during shutdown
    return *s;
}

std::string keyOf(const fs::path& file) {
    return file.lexically_normal().string();
}

enum class Load { Ok, Missing, Failed };

// Returns the parsed file, from the cache when the file is unchanged. Caller holds the lock.
Load load(Store& s, const fs::path& file, const IniDocument*& doc) {
    const std::string key = keyOf(file);
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0) {
        s.files.erase(key);
        return errno == ENOENT || errno == ENOTDIR ? Load::Missing : Load::Failed;
    }
    if (!S_ISREG(st.st_mode)) return Load::Failed;
    if (auto it = s.files.find(key);
        it != s.files.end() && it->second.stamp == stampOf(st) && !isRacy(it->second)) {
        doc = &it->second.doc;
        return Load::Ok;
    }
    struct timespec loadedAt {};
    ::clock_gettime(CLOCK_REALTIME, &loadedAt);
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? Load::Missing : Load::Failed;
    // Stamp the descriptor we read, not the name, so a concurrent replacement is seen next time.
    if (::fstat(fd, &st) != 0) {
        ::close(fd);
        debugString("INI file unreadable: " + file.string());
        return Load::Failed;
    }
    if (st.st_size > static_cast<off_t>(kMaxProfileFileBytes)) {
        ::close(fd);
        s.files.erase(key);
        debugString("INI file over " + std::to_string(kMaxProfileFileBytes) +
                    " bytes, not read: " + file.string());
        return Load::Failed;
    }
    std::string text;
    text.resize(static_cast<std::size_t>(st.st_size));
    std::size_t got = 0;
    while (got < text.size()) {
        const ssize_t n = ::read(fd, text.data() + got, text.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    text.resize(got);
    const std::size_t lines = countIniLines(text);
    if (lines > kMaxProfileFileLines) {
        debugString("INI file over " + std::to_string(kMaxProfileFileLines) +
                    " lines, not read: " + file.string());
        s.files.erase(key);
        return Load::Failed;
    }
    makeRoom(s, key, costOf(text.size(), lines));
    auto& entry = s.files[key];
    entry.stamp = stampOf(st);
    if (entry.ours || entry.text != text || (text.empty() && !entry.doc.empty())) {
        entry.doc = IniDocument::parse(text);
        entry.text = std::move(text);
    }
    entry.ours = false;
    entry.loadedAt = loadedAt;
    doc = &entry.doc;
    return Load::Ok;
}

// Writes doc to file and keeps it in the cache under the new file's stamp. Caller holds the lock.
bool save(Store& s, const fs::path& file, IniDocument doc) {
    const std::string key = keyOf(file);
    // The stamp is that of the file we wrote, not of whatever stands at the path after the rename: a
    // replacement made in between by another program must not be taken for our own content.
    struct stat st {};
    const std::string text = doc.serialize();
    if (!writeFileAtomically(file, text, &st)) {
        s.files.erase(key);
        return false;
    }
    makeRoom(s, key, costOf(text.size(), doc.lineCount()));
    auto& entry = s.files[key];
    entry.stamp = stampOf(st);
    entry.doc = std::move(doc);
    entry.text.clear();
    entry.ours = true;
    return true;
}

template <typename Edit> bool edit(const fs::path& file, bool createWhenMissing, Edit&& change) {
    Store& s = store();
    std::lock_guard guard(s.lock);
    const IniDocument* current = nullptr;
    const Load l = load(s, file, current);
    if (l == Load::Failed) return false;
    if (l == Load::Missing && !createWhenMissing) return true;
    IniDocument doc = l == Load::Ok ? *current : IniDocument{};
    if (!change(doc) && l == Load::Ok) return true; // nothing changed: no write
    return save(s, file, std::move(doc));
}

// A default loses its trailing blanks (its leading ones stay), as a value read from the file does.
std::string defaultOf(std::string_view defaultValue) {
    const auto last = defaultValue.find_last_not_of(" \t");
    defaultValue = defaultValue.substr(0, last == defaultValue.npos ? 0 : last + 1);
    return std::string(cutToCharacters(defaultValue, kProfileStringMaxChars));
}

} // namespace

std::string readProfileString(const fs::path& file, std::string_view section, std::string_view key,
                              std::string_view defaultValue) {
    const std::string_view sectionName = trimBlanks(section);
    const std::string_view keyName = trimBlanks(key);
    Store& s = store();
    std::lock_guard guard(s.lock);
    const IniDocument* doc = nullptr;
    if (load(s, file, doc) == Load::Ok) {
        if (const auto v = doc->find(sectionName, keyName))
            return std::string(cutToCharacters(*v, kProfileStringMaxChars));
    }
    return defaultOf(defaultValue);
}

std::vector<std::string> readProfileStrings(const fs::path& file, std::string_view section,
                                            std::span<const std::string> keys,
                                            std::string_view defaultValue) {
    const std::string_view sectionName = trimBlanks(section);
    std::vector<std::string> values(keys.size(), defaultOf(defaultValue));
    Store& s = store();
    std::lock_guard guard(s.lock);
    const IniDocument* doc = nullptr;
    if (load(s, file, doc) != Load::Ok) return values;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (const auto v = doc->find(sectionName, trimBlanks(keys[i])))
            values[i] = std::string(cutToCharacters(*v, kProfileStringMaxChars));
    }
    return values;
}

bool writeProfileString(const fs::path& file, std::string_view section, std::string_view key,
                        std::string_view value) {
    section = trimBlanks(section);
    key = trimBlanks(key);
    if (!isValidIniSection(section) || !isValidIniKey(key) || !isValidIniValue(value)) {
        debugString("INI write refused (name or value cannot be stored): " + file.string());
        return false;
    }
    return edit(file, true, [&](IniDocument& doc) { return doc.set(section, key, value); });
}

bool writeProfileStrings(const fs::path& file, std::span<const ProfileStringWrite> writes) {
    for (const auto& w : writes) {
        if (!isValidIniSection(trimBlanks(w.section)) || !isValidIniKey(trimBlanks(w.key)) ||
            !isValidIniValue(w.value)) {
            debugString("INI write refused (name or value cannot be stored): " + file.string());
            return false;
        }
    }
    return edit(file, true, [&](IniDocument& doc) {
        bool changed = false;
        for (const auto& w : writes)
            changed = doc.set(trimBlanks(w.section), trimBlanks(w.key), w.value) || changed;
        return changed;
    });
}

std::vector<std::string> readProfileKeyNames(const fs::path& file, std::string_view section) {
    Store& s = store();
    std::lock_guard guard(s.lock);
    const IniDocument* doc = nullptr;
    if (load(s, file, doc) != Load::Ok) return {};
    return doc->keyNames(trimBlanks(section));
}

bool deleteProfileKey(const fs::path& file, std::string_view section, std::string_view key) {
    return edit(file, false,
                [&](IniDocument& doc) { return doc.removeKey(trimBlanks(section), trimBlanks(key)); });
}

bool deleteProfileSection(const fs::path& file, std::string_view section) {
    return edit(file, false, [&](IniDocument& doc) { return doc.removeSection(trimBlanks(section)); });
}

bool replaceProfileFile(const fs::path& file, std::string_view bytes) {
    Store& s = store();
    std::lock_guard guard(s.lock);
    s.files.erase(keyOf(file));
    return writeFileAtomically(file, bytes);
}

bool removeProfileFile(const fs::path& file) {
    Store& s = store();
    std::lock_guard guard(s.lock);
    s.files.erase(keyOf(file));
    return ::unlink(file.c_str()) == 0 || errno == ENOENT;
}

} // namespace zq::platform
