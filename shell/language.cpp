#include "shell/language.h"

#include "platform/data_folders.h"
#include "platform/debug.h"
#include "platform/private_profile.h"
#include "platform/registry.h"

#include <charconv>

namespace zq::shell {

LanguageChoice languageFor(std::string_view value) {
    if (value == "0" || value == "1") return {"en", std::string(kLanguageFile)};
    return {"cn_tw", std::string(kLanguageFile)};
}

std::filesystem::path mainIniFile() {
    return platform::userDataFolder() / "main.ini";
}

std::string mainIniLanguage() {
    return platform::readProfileString(mainIniFile(), kSkinSection, kLanguageKey, "1");
}

void registryLanguageStep() {
    const platform::RegistryValue value = platform::readRegistryValue(platform::kLanguageValue);
    if (!value.found) {
        platform::debugString("读注册表失败了");
        return;
    }
    // The value is read as text of any type; a number that does not parse is "any other number".
    long number = 0;
    const char* first = value.value.data();
    const char* last = first + value.value.size();
    while (first < last && (*first == ' ' || *first == '\t')) ++first;
    const auto [end, error] = std::from_chars(first, last, number);
    const bool is2020 =
        error == std::errc() && number == 2020 && (end == last || *end == ' ' || *end == '\0');
    platform::writeProfileString(mainIniFile(), kSkinSection, kLanguageKey, is2020 ? "1" : "0");
}

LanguageChoice mainIniLanguageStep() {
    return languageFor(mainIniLanguage());
}

LanguageChoice switchLanguageFiles(std::string_view value) {
    platform::writeProfileString(mainIniFile(), kSkinSection, kLanguageKey, value);
    if (platform::writeRegistryValue(platform::kLanguageValue, "1010")) platform::debugString("写成功！");
    return {"en", std::string(kLanguageFile)};
}

} // namespace zq::shell
