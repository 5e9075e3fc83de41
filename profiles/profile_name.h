#pragma once
// Names typed by the user become file names (name + extension in the category's folder). A name that
// would leave the folder, could not be a file name, or would not read back from the index as it was
// written is refused before anything is written.
#include <string_view>

namespace zq::profiles {

enum class NameProblem {
    None,
    Empty,
    Separator,         // holds '/'
    Nul,               // holds a NUL character
    DotName,           // "." or ".."
    ControlCharacter,  // a line break or other control character: the index keeps one name per line
    SurroundingBlanks, // the index drops them, so the name would not read back
    InvalidUtf8,
    TooLong, // name + extension longer than a file name may be (255 bytes)
};

inline constexpr std::size_t kMaxFileNameBytes = 255;

NameProblem checkProfileName(std::string_view name, std::string_view extension);

} // namespace zq::profiles
