#include "shell/theme.h"

#include "platform/private_profile.h"
#include "shell/language.h"

#include <algorithm>
#include <array>

namespace zq::shell {

ThemeBroadcaster& ThemeBroadcaster::instance() {
    static ThemeBroadcaster broadcaster;
    return broadcaster;
}

int ThemeBroadcaster::add(Receiver receiver) {
    receivers_.push_back({next_, std::move(receiver)});
    return next_++;
}

void ThemeBroadcaster::remove(int id) {
    std::erase_if(receivers_, [id](const Entry& e) { return e.id == id; });
}

void ThemeBroadcaster::broadcast(const SkinChange& change) const {
    const auto copy = receivers_; // a receiver may remove itself
    for (const auto& e : copy) e.receiver(change);
}

RememberedSkin readRememberedSkin() {
    const auto file = mainIniFile();
    if (platform::readProfileString(file, kSkinSection, "FLAGS", "0") != "1") return {};
    return {true, platform::readProfileString(file, kSkinSection, "IMAGE", "0")};
}

void rememberPicture(const std::string& picture) {
    const std::array<platform::ProfileStringWrite, 2> writes{{
        {kSkinSection, "FLAGS", "1"},
        {kSkinSection, "IMAGE", picture},
    }};
    platform::writeProfileStrings(mainIniFile(), writes);
}

void rememberReset() {
    const std::array<platform::ProfileStringWrite, 2> writes{{
        {kSkinSection, "FLAGS", "0"},
        {kSkinSection, "IMAGE", kDefaultBackground},
    }};
    platform::writeProfileStrings(mainIniFile(), writes);
}

} // namespace zq::shell
