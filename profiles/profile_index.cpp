#include "profiles/profile_index.h"

#include "platform/data_folders.h"
#include "platform/private_profile.h"

#include <climits>

namespace zq::profiles {

namespace {
constexpr std::string_view kCountKey = "count";
constexpr std::string_view kSelectKey = "select";
constexpr std::string_view kMissing = "0";
} // namespace

int parseIndexNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) break;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

ProfileIndex::ProfileIndex(ProfileCategory category, std::filesystem::path indexFile)
    : category_(category), file_(std::move(indexFile)) {}

ProfileIndex ProfileIndex::forCategory(ProfileCategory category) {
    const auto& info = categoryInfo(category);
    return {category,
            platform::resolveCaseInsensitive(platform::categoryFolder(info.folder), info.indexFile)};
}

std::string ProfileIndex::read(std::string_view section, std::string_view key) const {
    return platform::readProfileString(platform::resolveCaseInsensitive(file_), section, key, kMissing);
}

bool ProfileIndex::write(std::string_view section, std::string_view key, std::string_view value) const {
    return platform::writeProfileString(platform::resolveCaseInsensitive(file_), section, key, value);
}

int ProfileIndex::count() const {
    return parseIndexNumber(read(categoryInfo(category_).sections.count, kCountKey));
}
std::string ProfileIndex::name(int position) const {
    return read(categoryInfo(category_).sections.name, std::to_string(position));
}
int ProfileIndex::select() const {
    return parseIndexNumber(read(categoryInfo(category_).sections.select, kSelectKey));
}
std::string ProfileIndex::linkFlag(int position) const {
    return read(categoryInfo(category_).sections.linkFlag, std::to_string(position));
}
std::string ProfileIndex::linkPath(int position) const {
    return read(categoryInfo(category_).sections.linkPath, std::to_string(position));
}
std::size_t ProfileIndex::namesPresent() const {
    return platform::readProfileKeyNames(platform::resolveCaseInsensitive(file_),
                                         categoryInfo(category_).sections.name)
        .size();
}

bool ProfileIndex::setCount(int count) const {
    return write(categoryInfo(category_).sections.count, kCountKey, std::to_string(count));
}
bool ProfileIndex::setName(int position, std::string_view name) const {
    return write(categoryInfo(category_).sections.name, std::to_string(position), name);
}
bool ProfileIndex::setSelect(int position) const {
    return write(categoryInfo(category_).sections.select, kSelectKey, std::to_string(position));
}
bool ProfileIndex::setLinkFlag(int position, std::string_view flag) const {
    return write(categoryInfo(category_).sections.linkFlag, std::to_string(position), flag);
}
bool ProfileIndex::setLinkPath(int position, std::string_view path) const {
    return write(categoryInfo(category_).sections.linkPath, std::to_string(position), path);
}

bool ProfileIndex::writeFreshList(const std::vector<std::string>& names) const {
    const auto& sections = categoryInfo(category_).sections;
    const std::string count = std::to_string(names.size());
    std::vector<std::string> keys;
    for (std::size_t i = 0; i < names.size(); ++i) keys.push_back(std::to_string(i));
    std::vector<platform::ProfileStringWrite> writes{{sections.count, kCountKey, count},
                                                     {sections.linkFlag, "0", "0"}};
    for (std::size_t i = 0; i < names.size(); ++i) writes.push_back({sections.name, keys[i], names[i]});
    writes.push_back({sections.select, kSelectKey, "0"});
    return platform::writeProfileStrings(platform::resolveCaseInsensitive(file_), writes);
}

} // namespace zq::profiles
