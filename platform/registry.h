#pragma once
// The one machine-wide value the program keeps outside its data folder, the interface language, lives
// in a small per-user INI file: configFolder()/registry.ini, section "ZEPHRAN Q70".
#include <filesystem>
#include <string>
#include <string_view>

namespace zq::platform {

inline constexpr std::string_view kRegistrySection = "ZEPHRAN Q70";
inline constexpr std::string_view kLanguageValue = "LANGUAGE";

std::filesystem::path registryFile();

// found is false when the value was never written.
struct RegistryValue {
    bool found = false;
    std::string value;
};
RegistryValue readRegistryValue(std::string_view name);
bool writeRegistryValue(std::string_view name, std::string_view value);

} // namespace zq::platform
