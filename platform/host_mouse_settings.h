#pragma once
// The two desktop mouse settings the mouse page shows and changes: the pointer speed (1..20, 10 being
// the unaccelerated speed) and the wheel scroll lines (1..100).
//
// Where they live depends on the desktop: the pointer speed is the X server's pointer acceleration when
// an X display can be opened; the wheel lines are KDE's WheelScrollLines (kcminputrc) when KDE runs.
// Whatever the desktop does not offer is kept in configFolder()/settings.ini, so the page's values still
// round-trip. All calls may come from any thread.
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>

namespace zq::platform {

inline constexpr int kPointerSpeedMin = 1;
inline constexpr int kPointerSpeedMax = 20;
inline constexpr int kPointerSpeedUnaccelerated = 10;
inline constexpr int kWheelLinesMin = 1;
inline constexpr int kWheelLinesMax = 100;
inline constexpr int kWheelLinesDefault = 3;

class HostMouseSettings {
public:
    virtual ~HostMouseSettings() = default;
    virtual int pointerSpeed() = 0;
    // Clamped to 1..20. False when the setting could not be changed.
    virtual bool setPointerSpeed(int speed) = 0;
    virtual int wheelScrollLines() = 0;
    // Clamped to 1..100; running applications are told of the change where the desktop can be told.
    virtual bool setWheelScrollLines(int lines) = 0;
};

// Pointer speed ↔ X pointer acceleration (numerator / denominator): speed s accelerates by s / 10.
struct PointerAcceleration {
    int numerator = 1;
    int denominator = 1;
};
PointerAcceleration accelerationForSpeed(int speed);
int speedForAcceleration(PointerAcceleration acceleration);

// Where each setting is kept; detectHostMouseBackends() looks at the running desktop.
struct HostMouseBackends {
    bool x11Pointer = false;
    std::filesystem::path kdeInputConfig;    // kcminputrc when KDE runs, else empty
    std::filesystem::path fallbackFile;      // settings.ini for whatever the desktop does not keep
    std::function<void()> notifyWheelChange; // tells KDE applications to reread the wheel setting
};
HostMouseBackends detectHostMouseBackends();

std::unique_ptr<HostMouseSettings> makeHostMouseSettings(HostMouseBackends backends);
std::unique_ptr<HostMouseSettings> makeHostMouseSettings(); // for the running desktop

// The X server's pointer acceleration as a speed; 0 when no display can be opened.
int x11PointerSpeed();
bool x11SetPointerSpeed(int speed);

// For tests: keeps the values in memory and counts the changes.
class FakeHostMouseSettings final : public HostMouseSettings {
public:
    int pointerSpeed() override;
    bool setPointerSpeed(int speed) override;
    int wheelScrollLines() override;
    bool setWheelScrollLines(int lines) override;

    int pointerSpeedChanges() const;
    int wheelChanges() const;
    void failWrites(bool fail);

private:
    mutable std::mutex mutex_;
    int speed_ = kPointerSpeedUnaccelerated;
    int lines_ = kWheelLinesDefault;
    int speedChanges_ = 0;
    int wheelChanges_ = 0;
    bool fail_ = false;
};

} // namespace zq::platform
