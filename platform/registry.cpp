#include "platform/registry.h"

#include "platform/data_folders.h"
#include "platform/private_profile.h"

namespace zq::platform {

std::filesystem::path registryFile() {
    return configFolder() / "registry.ini";
}

RegistryValue readRegistryValue(std::string_view name) {
    // A NUL cannot be in a stored value, so it tells "never written" apart from any real value.
    static constexpr std::string_view kAbsent("\0", 1);
    std::string v = readProfileString(registryFile(), kRegistrySection, name, kAbsent);
    if (v == kAbsent) return {};
    return {true, std::move(v)};
}

bool writeRegistryValue(std::string_view name, std::string_view value) {
    return writeProfileString(registryFile(), kRegistrySection, name, value);
}

} // namespace zq::platform
