#pragma once
// The interface language: the registry value, "main.ini" section "SKINIMAGE" key "LANGUAGE", the table
// from that value to a language name and text file, and the switch the tray menu offers.
#include <filesystem>
#include <string>
#include <string_view>

namespace zq::shell {

inline constexpr std::string_view kSkinSection = "SKINIMAGE";
inline constexpr std::string_view kLanguageKey = "LANGUAGE";
inline constexpr std::string_view kLanguageFile = "lan_en.xml";

struct LanguageChoice {
    std::string name; // "en" or "cn_tw"
    std::string file; // the text file to load
};

// "0" and "1" → "en"; any other value → "cn_tw"; the text file is always "lan_en.xml".
LanguageChoice languageFor(std::string_view mainIniValue);

std::filesystem::path mainIniFile();
std::string mainIniLanguage(); // default "1", as the start-up step reads it

// Registry → main.ini: 2020 gives "1", any other number "0"; an unreadable value changes nothing.
void registryLanguageStep();
// main.ini → the language in force.
LanguageChoice mainIniLanguageStep();
// The switch's file steps: main.ini gets `value`, the registry "1010". Returns the language in force.
LanguageChoice switchLanguageFiles(std::string_view value);

} // namespace zq::shell
