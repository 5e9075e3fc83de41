#include "platform/host_mouse_settings.h"

#include "platform/data_folders.h"
#include "platform/debug.h"
#include "platform/private_profile.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <spawn.h>
#include <string>
#include <sys/wait.h>

extern char** environ;

namespace zq::platform {

namespace {
namespace fs = std::filesystem;

constexpr std::string_view kFallbackSection = "HOST MOUSE";
constexpr std::string_view kPointerSpeedKey = "PointerSpeed";
constexpr std::string_view kWheelLinesKey = "WheelScrollLines";
constexpr std::string_view kKdeMouseSection = "Mouse";

int readNumber(const fs::path& file, std::string_view section, std::string_view key, int fallback) {
    const std::string v = readProfileString(file, section, key, "");
    char* end = nullptr;
    const long n = std::strtol(v.c_str(), &end, 10);
    return (v.empty() || end == v.c_str()) ? fallback : static_cast<int>(std::clamp<long>(n, -1000, 1000));
}

bool kdeRuns() {
    for (const char* var : {"XDG_CURRENT_DESKTOP", "XDG_SESSION_DESKTOP", "DESKTOP_SESSION"}) {
        const char* v = std::getenv(var);
        if (v && std::string_view(v).find("KDE") != std::string_view::npos) return true;
    }
    const char* full = std::getenv("KDE_FULL_SESSION");
    return full && std::string_view(full) == "true";
}

// KDE applications reread their mouse settings on this session-bus signal (settings changed, mouse).
void notifyKde() {
    const char* argv[] = {
        "dbus-send", "--session", "--type=signal", "/KGlobalSettings", "org.kde.KGlobalSettings.notifyChange",
        "int32:3",   "int32:0",   nullptr};
    pid_t pid = 0;
    if (::posix_spawnp(&pid, "dbus-send", nullptr, nullptr, const_cast<char* const*>(argv), environ) != 0) {
        debugString("wheel lines changed, but dbus-send could not be started");
        return;
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
}

class DesktopHostMouseSettings final : public HostMouseSettings {
public:
    explicit DesktopHostMouseSettings(HostMouseBackends b) : b_(std::move(b)) {}

    int pointerSpeed() override {
        if (b_.x11Pointer) {
            if (const int s = x11PointerSpeed(); s > 0) return s;
        }
        return std::clamp(
            readNumber(b_.fallbackFile, kFallbackSection, kPointerSpeedKey, kPointerSpeedUnaccelerated),
            kPointerSpeedMin, kPointerSpeedMax);
    }

    bool setPointerSpeed(int speed) override {
        speed = std::clamp(speed, kPointerSpeedMin, kPointerSpeedMax);
        if (b_.x11Pointer && x11SetPointerSpeed(speed)) return true;
        return writeProfileString(b_.fallbackFile, kFallbackSection, kPointerSpeedKey, std::to_string(speed));
    }

    int wheelScrollLines() override {
        const bool kde = !b_.kdeInputConfig.empty();
        const int v =
            kde ? readNumber(b_.kdeInputConfig, kKdeMouseSection, kWheelLinesKey, kWheelLinesDefault)
                : readNumber(b_.fallbackFile, kFallbackSection, kWheelLinesKey, kWheelLinesDefault);
        return std::clamp(v, kWheelLinesMin, kWheelLinesMax);
    }

    bool setWheelScrollLines(int lines) override {
        lines = std::clamp(lines, kWheelLinesMin, kWheelLinesMax);
        if (b_.kdeInputConfig.empty())
            return writeProfileString(b_.fallbackFile, kFallbackSection, kWheelLinesKey,
                                      std::to_string(lines));
        if (!writeProfileString(b_.kdeInputConfig, kKdeMouseSection, kWheelLinesKey, std::to_string(lines)))
            return false;
        if (b_.notifyWheelChange) b_.notifyWheelChange();
        return true;
    }

private:
    HostMouseBackends b_;
};
} // namespace

PointerAcceleration accelerationForSpeed(int speed) {
    return {std::clamp(speed, kPointerSpeedMin, kPointerSpeedMax), kPointerSpeedUnaccelerated};
}

int speedForAcceleration(PointerAcceleration a) {
    if (a.denominator <= 0 || a.numerator <= 0) return kPointerSpeedUnaccelerated;
    const double speed = std::round(10.0 * a.numerator / a.denominator);
    return static_cast<int>(std::clamp(speed, double(kPointerSpeedMin), double(kPointerSpeedMax)));
}

HostMouseBackends detectHostMouseBackends() {
    HostMouseBackends b;
    b.x11Pointer = x11PointerSpeed() > 0;
    if (kdeRuns()) {
        const char* xdg = std::getenv("XDG_CONFIG_HOME");
        const char* home = std::getenv("HOME");
        const fs::path config = (xdg && *xdg) ? fs::path(xdg) : fs::path(home ? home : "/tmp") / ".config";
        b.kdeInputConfig = config / "kcminputrc";
        b.notifyWheelChange = notifyKde;
    }
    b.fallbackFile = configFolder() / "settings.ini";
    return b;
}

std::unique_ptr<HostMouseSettings> makeHostMouseSettings(HostMouseBackends backends) {
    return std::make_unique<DesktopHostMouseSettings>(std::move(backends));
}

std::unique_ptr<HostMouseSettings> makeHostMouseSettings() {
    return makeHostMouseSettings(detectHostMouseBackends());
}

int FakeHostMouseSettings::pointerSpeed() {
    std::lock_guard lock(mutex_);
    return speed_;
}
bool FakeHostMouseSettings::setPointerSpeed(int speed) {
    std::lock_guard lock(mutex_);
    if (fail_) return false;
    speed_ = std::clamp(speed, kPointerSpeedMin, kPointerSpeedMax);
    ++speedChanges_;
    return true;
}
int FakeHostMouseSettings::wheelScrollLines() {
    std::lock_guard lock(mutex_);
    return lines_;
}
bool FakeHostMouseSettings::setWheelScrollLines(int lines) {
    std::lock_guard lock(mutex_);
    if (fail_) return false;
    lines_ = std::clamp(lines, kWheelLinesMin, kWheelLinesMax);
    ++wheelChanges_;
    return true;
}
int FakeHostMouseSettings::pointerSpeedChanges() const {
    std::lock_guard lock(mutex_);
    return speedChanges_;
}
int FakeHostMouseSettings::wheelChanges() const {
    std::lock_guard lock(mutex_);
    return wheelChanges_;
}
void FakeHostMouseSettings::failWrites(bool fail) {
    std::lock_guard lock(mutex_);
    fail_ = fail;
}

} // namespace zq::platform
