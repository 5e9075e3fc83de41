#pragma once
// Report descriptors of the emulated devices, node by node, laid out like those of a real composite
// device: a boot-protocol node (mouse or keyboard) and a second node that carries the consumer-control
// collection, the vendor collection of the command frames and, on the keyboard, system control.
#include <array>
#include <cstddef>
#include <cstdint>

namespace zq::sim {

// Report ids on the second node.
inline constexpr std::uint8_t kSystemControlReportId = 0x02;
inline constexpr std::uint8_t kConsumerReportId = 0x03;
inline constexpr std::uint8_t kVendorReportId = 0x04;

// Vendor collection: 63 data bytes after the report id in each direction, so a command frame is 64 bytes
// with its report id.
inline constexpr std::uint16_t kVendorUsagePage = 0xFF1C;
inline constexpr std::uint16_t kVendorUsage = 0x0092;
inline constexpr std::uint8_t kVendorDataBytes = 63;

// Consumer collection: one 16-bit usage array entry; the logical and usage maxima reach past 0x0403,
// the highest usage the devices announce.
inline constexpr std::uint16_t kConsumerUsageMax = 0x0FFF;
inline constexpr std::size_t kConsumerReportSize = 3; // id + one 16-bit usage

// Boot mouse: 5 buttons, 16-bit X/Y, wheel and horizontal pan; no report ids.
inline constexpr auto kMouseBootDescriptor = std::to_array<std::uint8_t>({
    0x05, 0x01,       // Usage Page (Generic Desktop)
    0x09, 0x02,       // Usage (Mouse)
    0xA1, 0x01,       // Collection (Application)
    0x09, 0x01,       //   Usage (Pointer)
    0xA1, 0x00,       //   Collection (Physical)
    0x05, 0x09,       //     Usage Page (Button)
    0x19, 0x01,       //     Usage Minimum (1)
    0x29, 0x05,       //     Usage Maximum (5)
    0x15, 0x00,       //     Logical Minimum (0)
    0x25, 0x01,       //     Logical Maximum (1)
    0x95, 0x05,       //     Report Count (5)
    0x75, 0x01,       //     Report Size (1)
    0x81, 0x02,       //     Input (Data, Variable, Absolute)
    0x95, 0x01,       //     Report Count (1)
    0x75, 0x03,       //     Report Size (3)
    0x81, 0x01,       //     Input (Constant)
    0x05, 0x01,       //     Usage Page (Generic Desktop)
    0x09, 0x30,       //     Usage (X)
    0x09, 0x31,       //     Usage (Y)
    0x16, 0x01, 0x80, //     Logical Minimum (-32767)
    0x26, 0xFF, 0x7F, //     Logical Maximum (32767)
    0x75, 0x10,       //     Report Size (16)
    0x95, 0x02,       //     Report Count (2)
    0x81, 0x06,       //     Input (Data, Variable, Relative)
    0x09, 0x38,       //     Usage (Wheel)
    0x15, 0x81,       //     Logical Minimum (-127)
    0x25, 0x7F,       //     Logical Maximum (127)
    0x75, 0x08,       //     Report Size (8)
    0x95, 0x01,       //     Report Count (1)
    0x81, 0x06,       //     Input (Data, Variable, Relative)
    0x05, 0x0C,       //     Usage Page (Consumer)
    0x0A, 0x38, 0x02, //     Usage (AC Pan)
    0x95, 0x01,       //     Report Count (1)
    0x81, 0x06,       //     Input (Data, Variable, Relative)
    0xC0,             //   End Collection
    0xC0,             // End Collection
});

// Boot keyboard as in the HID 1.11 documents: modifiers, reserved byte, 5 LED outputs, 6 key slots.
inline constexpr auto kKeyboardBootDescriptor = std::to_array<std::uint8_t>({
    0x05, 0x01, // Usage Page (Generic Desktop)
    0x09, 0x06, // Usage (Keyboard)
    0xA1, 0x01, // Collection (Application)
    0x05, 0x07, //   Usage Page (Keyboard)
    0x19, 0xE0, //   Usage Minimum (Left Control)
    0x29, 0xE7, //   Usage Maximum (Right GUI)
    0x15, 0x00, //   Logical Minimum (0)
    0x25, 0x01, //   Logical Maximum (1)
    0x75, 0x01, //   Report Size (1)
    0x95, 0x08, //   Report Count (8)
    0x81, 0x02, //   Input (Data, Variable, Absolute)
    0x95, 0x01, //   Report Count (1)
    0x75, 0x08, //   Report Size (8)
    0x81, 0x01, //   Input (Constant)
    0x95, 0x05, //   Report Count (5)
    0x75, 0x01, //   Report Size (1)
    0x05, 0x08, //   Usage Page (LEDs)
    0x19, 0x01, //   Usage Minimum (Num Lock)
    0x29, 0x05, //   Usage Maximum (Kana)
    0x91, 0x02, //   Output (Data, Variable, Absolute)
    0x95, 0x01, //   Report Count (1)
    0x75, 0x03, //   Report Size (3)
    0x91, 0x01, //   Output (Constant)
    0x95, 0x06, //   Report Count (6)
    0x75, 0x08, //   Report Size (8)
    0x15, 0x00, //   Logical Minimum (0)
    0x25, 0x65, //   Logical Maximum (101)
    0x05, 0x07, //   Usage Page (Keyboard)
    0x19, 0x00, //   Usage Minimum (0)
    0x29, 0x65, //   Usage Maximum (101)
    0x81, 0x00, //   Input (Data, Array, Absolute)
    0xC0,       // End Collection
});

inline constexpr auto kConsumerCollection = std::to_array<std::uint8_t>({
    0x05, 0x0C,       // Usage Page (Consumer)
    0x09, 0x01,       // Usage (Consumer Control)
    0xA1, 0x01,       // Collection (Application)
    0x85, 0x03,       //   Report ID (3)
    0x15, 0x00,       //   Logical Minimum (0)
    0x26, 0xFF, 0x0F, //   Logical Maximum (0x0FFF)
    0x19, 0x00,       //   Usage Minimum (0)
    0x2A, 0xFF, 0x0F, //   Usage Maximum (0x0FFF)
    0x75, 0x10,       //   Report Size (16)
    0x95, 0x01,       //   Report Count (1)
    0x81, 0x00,       //   Input (Data, Array, Absolute)
    0xC0,             // End Collection
});

inline constexpr auto kVendorCollection = std::to_array<std::uint8_t>({
    0x06, 0x1C, 0xFF, // Usage Page (0xFF1C)
    0x09, 0x92,       // Usage (0x92)
    0xA1, 0x01,       // Collection (Application)
    0x85, 0x04,       //   Report ID (4)
    0x15, 0x00,       //   Logical Minimum (0)
    0x26, 0xFF, 0x00, //   Logical Maximum (255)
    0x75, 0x08,       //   Report Size (8)
    0x95, 0x3F,       //   Report Count (63)
    0x09, 0x01,       //   Usage (1)
    0x81, 0x02,       //   Input (Data, Variable, Absolute)
    0x09, 0x02,       //   Usage (2)
    0x91, 0x02,       //   Output (Data, Variable, Absolute)
    0xC0,             // End Collection
});

inline constexpr auto kSystemControlCollection = std::to_array<std::uint8_t>({
    0x05, 0x01, // Usage Page (Generic Desktop)
    0x09, 0x80, // Usage (System Control)
    0xA1, 0x01, // Collection (Application)
    0x85, 0x02, //   Report ID (2)
    0x19, 0x81, //   Usage Minimum (System Power Down)
    0x29, 0x83, //   Usage Maximum (System Wake Up)
    0x15, 0x00, //   Logical Minimum (0)
    0x25, 0x01, //   Logical Maximum (1)
    0x75, 0x01, //   Report Size (1)
    0x95, 0x03, //   Report Count (3)
    0x81, 0x02, //   Input (Data, Variable, Absolute)
    0x95, 0x05, //   Report Count (5)
    0x81, 0x01, //   Input (Constant)
    0xC0,       // End Collection
});

template <std::size_t A, std::size_t B>
constexpr std::array<std::uint8_t, A + B> joinDescriptors(const std::array<std::uint8_t, A>& a,
                                                          const std::array<std::uint8_t, B>& b) {
    std::array<std::uint8_t, A + B> out{};
    for (std::size_t i = 0; i < A; ++i) out[i] = a[i];
    for (std::size_t i = 0; i < B; ++i) out[A + i] = b[i];
    return out;
}

// Mouse, second node: consumer control (col01), vendor (col02).
inline constexpr auto kMouseControlDescriptor = joinDescriptors(kConsumerCollection, kVendorCollection);

// Keyboard, second node: system control (col01), consumer control (col02), vendor (col03).
inline constexpr auto kKeyboardControlDescriptor =
    joinDescriptors(kSystemControlCollection, joinDescriptors(kConsumerCollection, kVendorCollection));

// Mouse pad: the vendor collection alone.
inline constexpr auto kPadDescriptor = kVendorCollection;

} // namespace zq::sim
