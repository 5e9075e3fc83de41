#include "shell/control/user_arguments.h"

#include <algorithm>
#include <charconv>

namespace zq::control {

namespace {

constexpr const char* kDpiUsage = "usage: dpi LEVEL VALUE (level 1 to 5, value 200 to 6200 in steps of 100)";
constexpr const char* kLightingUsage =
    "usage: lighting mouse|pad|keyboard [--mode N] [--colour RRGGBB] [--brightness 0-4] [--speed 0-4] "
    "[--direction left|right] [--cycle on|off]";
constexpr const char* kProfileUsage = "usage: profile list [CATEGORY] | profile select CATEGORY N|NAME | "
                                      "profile export CATEGORY N|NAME FILE | profile import CATEGORY FILE";
constexpr const char* kCategoryList = "ms_device, ms_deng, ms_key, kb_device, kb_deng, kb_key or mp_deng";

// A plain decimal number without sign or spaces, within [minimum, maximum].
bool decimal(std::string_view text, int minimum, int maximum, int& out) {
    if (text.empty() || text.front() < '0' || text.front() > '9') return false;
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < minimum || value > maximum)
        return false;
    out = value;
    return true;
}

bool hexColour(std::string_view text, std::uint32_t& out) {
    if (!text.empty() && text.front() == '#') text.remove_prefix(1);
    if (text.size() != 6) return false;
    std::uint32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (ec != std::errc() || end != text.data() + text.size()) return false;
    out = value;
    return true;
}

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    return true;
}

std::string range(const char* what, int low, int high) {
    return std::string(what) + " takes " + std::to_string(low) + " to " + std::to_string(high);
}

} // namespace

std::string parseDpi(const UserArgs& args, DpiRequest& out) {
    if (args.size() != 2) return kDpiUsage;
    DpiRequest r;
    if (!decimal(args[0], 1, kDpiLevels, r.level)) return "the DPI level is 1 to 5, not " + args[0];
    if (!decimal(args[1], kDpiMinimum, kDpiMaximum, r.dpi) || r.dpi % kDpiStep != 0)
        return "the DPI value is 200 to 6200 in steps of 100, not " + args[1];
    out = r;
    return {};
}

std::string parseSlot(const UserArgs& args, int& slot) {
    if (args.size() != 1 || !decimal(args[0], 0, kHighestSlot, slot)) return "the slot is 0 to 5";
    return {};
}

std::string parseLighting(const UserArgs& args, LightingRequest& out) {
    if (args.empty()) return kLightingUsage;
    LightingRequest r;
    const auto named = std::find_if(device::kDeviceClasses.begin(), device::kDeviceClasses.end(),
                                    [&](device::DeviceClass c) { return args[0] == device::deviceKey(c); });
    if (named == device::kDeviceClasses.end()) return "the device is mouse, pad or keyboard, not " + args[0];
    r.device = *named;
    for (std::size_t i = 1; i < args.size(); i += 2) {
        const std::string& option = args[i];
        const bool known = option == "--mode" || option == "--colour" || option == "--color" ||
                           option == "--brightness" || option == "--speed" || option == "--direction" ||
                           option == "--cycle";
        if (!known) return "unknown option " + option + " (" + kLightingUsage + ")";
        if (i + 1 >= args.size()) return option + " needs a value";
        const std::string& value = args[i + 1];
        int n = 0;
        std::uint32_t rgb = 0;
        if (option == "--mode") {
            // The upper end depends on the device's effect list; the command checks it.
            if (!decimal(value, 0, 255, n)) return "--mode takes an effect number from 0";
            r.mode = n;
        } else if (option == "--colour" || option == "--color") {
            if (!hexColour(value, rgb)) return "--colour takes RRGGBB, six hexadecimal digits";
            r.colour = rgb;
        } else if (option == "--brightness") {
            if (!decimal(value, 0, kLightingLevelMax, n)) return range("--brightness", 0, kLightingLevelMax);
            r.brightness = n;
        } else if (option == "--speed") {
            if (!decimal(value, 0, kLightingLevelMax, n)) return range("--speed", 0, kLightingLevelMax);
            r.speed = n;
        } else if (option == "--direction") {
            if (value != "left" && value != "right") return "--direction takes left or right";
            r.left = value == "left";
        } else {
            if (value != "on" && value != "off") return "--cycle takes on or off";
            r.cycle = value == "on";
        }
    }
    out = r;
    return {};
}

std::optional<profiles::ProfileCategory> profileCategory(std::string_view key) {
    for (const auto& [category, name] : kProfileCategoryKeys)
        if (key == name) return category;
    return std::nullopt;
}

std::string parseProfile(const UserArgs& args, ProfileRequest& out) {
    if (args.empty()) return kProfileUsage;
    ProfileRequest r;
    const std::string& what = args[0];
    std::size_t wanted = 0;
    if (what == "list") {
        r.action = ProfileRequest::Action::List;
        if (args.size() > 2) return kProfileUsage;
        wanted = args.size();
    } else if (what == "select") {
        r.action = ProfileRequest::Action::Select;
        wanted = 3;
    } else if (what == "export") {
        r.action = ProfileRequest::Action::Export;
        wanted = 4;
    } else if (what == "import") {
        r.action = ProfileRequest::Action::Import;
        wanted = 3;
    } else {
        return kProfileUsage;
    }
    if (args.size() != wanted) return kProfileUsage;
    if (args.size() >= 2) {
        r.category = profileCategory(args[1]);
        if (!r.category) return "the category is " + std::string(kCategoryList) + ", not " + args[1];
        r.categoryKey = args[1];
    }
    if (r.action == ProfileRequest::Action::Select || r.action == ProfileRequest::Action::Export)
        r.profile = args[2];
    if (r.action == ProfileRequest::Action::Export) r.file = args[3];
    if (r.action == ProfileRequest::Action::Import) r.file = args[2];
    if ((r.action == ProfileRequest::Action::Export || r.action == ProfileRequest::Action::Import) &&
        r.file.empty())
        return "the file name is empty";
    out = r;
    return {};
}

std::optional<int> profilePosition(const std::vector<std::string>& names, std::string_view text) {
    int n = 0;
    if (!names.empty() && decimal(text, 0, static_cast<int>(names.size()) - 1, n)) return n;
    for (std::size_t i = 0; i < names.size(); ++i)
        if (equalIgnoringCase(names[i], text)) return static_cast<int>(i);
    return std::nullopt;
}

} // namespace zq::control
