#include "sim/factory.h"

#include <algorithm>
#include <array>

namespace zq::sim {

namespace {

using Rgb = std::array<std::uint8_t, 3>;

// A different colour per slot, so a switch of slots shows on the device.
constexpr std::array<Rgb, 5> kSlotColours{
    {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}, {0, 255, 255}}};
// Indicator colours of DPI levels 1..5.
constexpr std::array<Rgb, 5> kDpiColours{
    {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 0, 255}, {255, 255, 0}}};

// Mouse button tables per slot: right-handed, left-handed, both sides (3 bytes per button: type, p1, p2).
constexpr std::uint8_t kMouseButton = 0x10;
constexpr std::uint8_t kDpiKey = 0x13;
using ButtonTable = std::array<std::uint8_t, 27>;
constexpr ButtonTable kRightHanded{kMouseButton, 0x01, 0, kMouseButton, 0x04, 0, kMouseButton, 0x02, 0,
                                   kMouseButton, 0x10, 0, kMouseButton, 0x08, 0, kDpiKey,      0x01, 0,
                                   kDpiKey,      0x02, 0, kMouseButton, 0x00, 0, kMouseButton, 0x00, 0};
constexpr ButtonTable kLeftHanded{kMouseButton, 0x02, 0, kMouseButton, 0x04, 0, kMouseButton, 0x01, 0,
                                  kMouseButton, 0x00, 0, kMouseButton, 0x00, 0, kDpiKey,      0x01, 0,
                                  kDpiKey,      0x02, 0, kMouseButton, 0x10, 0, kMouseButton, 0x08, 0};
constexpr ButtonTable kBothSides{kMouseButton, 0x01, 0, kMouseButton, 0x04, 0, kMouseButton, 0x02, 0,
                                 kMouseButton, 0x10, 0, kMouseButton, 0x08, 0, kDpiKey,      0x01, 0,
                                 kDpiKey,      0x02, 0, kMouseButton, 0x10, 0, kMouseButton, 0x08, 0};

// Keyboard keys: type 0x20 (key), no modifier, the key's own usage.
constexpr std::uint8_t kKeyboardKey = 0x20;
constexpr std::uint8_t kFirstKeyUsage = 0x04;

void fillLighting(std::uint8_t* r, std::size_t slot) {
    r[rec::kLightMode] = 0;
    r[rec::kBrightness] = kFactoryBrightness;
    r[rec::kLightSpeed] = kFactoryLightSpeed;
    r[rec::kDirection] = 1;
    r[rec::kSevenColour] = 1;
    const Rgb& c = kSlotColours[slot % kSlotColours.size()];
    std::copy(c.begin(), c.end(), r + rec::kLightRgb);
}

void fillMouse(std::uint8_t* r) {
    r[rec::kReportRate] = kFactoryReportRate;
    std::copy_n(kFactoryDpiCodes.begin(), 4, r + rec::kDpiCodes);
    r[rec::kDpiLevel] = kFactoryDpiLevel;
    r[rec::kDpiCode5] = kFactoryDpiCodes[4];
    for (std::size_t i = 0; i < kDpiColours.size(); ++i)
        std::copy(kDpiColours[i].begin(), kDpiColours[i].end(), r + rec::kDpiRgb + 3 * i);
}

} // namespace

std::vector<std::uint8_t> factoryRecords(const DeviceModel& model) {
    std::vector<std::uint8_t> records(recordAreaSize(model), 0);
    for (std::size_t k = 0; k < model.profileSlots; ++k) {
        std::uint8_t* r = records.data() + k * kRecordSize;
        r[rec::kSlot] = static_cast<std::uint8_t>(k);
        fillLighting(r, k);
        if (model.kind == DeviceKind::Mouse) fillMouse(r);
    }
    return records; // byte 0 (the current-slot register) is 0: slot 0 is current
}

std::vector<std::uint8_t> factoryKeyArea(const DeviceModel& model) {
    std::vector<std::uint8_t> area(keyAreaSize(model), kKeyFiller);
    if (area.empty()) return area;
    if (model.kind == DeviceKind::Mouse) {
        const std::array<const ButtonTable*, kKeyPageCount> pages{&kRightHanded, &kLeftHanded, &kBothSides,
                                                                  &kRightHanded, &kRightHanded};
        for (std::size_t p = 0; p < kKeyPageCount; ++p)
            std::copy(pages[p]->begin(), pages[p]->end(),
                      area.begin() + static_cast<long>(p * kKeyPageStride));
    } else {
        // One table for the whole key block; later pages overlap it, as on the device.
        const std::size_t keys = std::min<std::size_t>(model.keyCount, model.keyBlockLength / 3);
        for (std::size_t k = 0; k < keys; ++k) {
            area[3 * k] = kKeyboardKey;
            area[3 * k + 1] = 0;
            area[3 * k + 2] = static_cast<std::uint8_t>(kFirstKeyUsage + k);
        }
    }
    return area;
}

} // namespace zq::sim
