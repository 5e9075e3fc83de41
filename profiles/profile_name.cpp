#include "profiles/profile_name.h"

#include "platform/utf8.h"

namespace zq::profiles {

NameProblem checkProfileName(std::string_view name, std::string_view extension) {
    if (name.empty()) return NameProblem::Empty;
    if (name.find('/') != name.npos) return NameProblem::Separator;
    if (name.find('\0') != name.npos) return NameProblem::Nul;
    if (name == "." || name == "..") return NameProblem::DotName;
    for (const char c : name)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return NameProblem::ControlCharacter;
    if (platform::trimBlanks(name).size() != name.size()) return NameProblem::SurroundingBlanks;
    if (!platform::isValidUtf8(name)) return NameProblem::InvalidUtf8;
    if (name.size() + extension.size() > kMaxFileNameBytes) return NameProblem::TooLong;
    return NameProblem::None;
}

} // namespace zq::profiles
