// INI text of any shape: parsing never fails, serialising is stable, edits land where they are looked
// up, and the file API reads what the document holds, cut to the buffer.
#include "platform/ini_document.h"
#include "platform/private_profile.h"
#include "platform/utf8.h"
#include "tests/fuzz/scratch_file.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {
void check(bool ok) {
    if (!ok) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zq::platform;
    const std::string text(reinterpret_cast<const char*>(data), size);
    IniDocument doc = IniDocument::parse(text);
    const std::string once = doc.serialize();
    const IniDocument reread = IniDocument::parse(once);
    check(reread.serialize() == once);

    // Names taken from the input itself, so the edits hit existing sections and keys.
    const auto firstLine = text.substr(0, text.find('\n'));
    const std::string section(trimBlanks(firstLine.substr(0, std::min<std::size_t>(firstLine.size(), 8))));
    const std::string key = size > 2 ? std::string(1, static_cast<char>(data[size / 2] | 0x40)) : "k";
    const std::string value(trimBlanks(text.substr(text.size() / 3, 12)));
    if (isValidIniSection(section) && isValidIniKey(key) && isValidIniValue(value)) {
        doc.set(section, key, value);
        auto found = doc.find(section, key);
        check(found && *found == value);
        IniDocument again = IniDocument::parse(doc.serialize());
        found = again.find(section, key);
        check(found && *found == value);
        doc.removeKey(section, key);
        doc.removeSection(section);
    }
    for (const auto& name : doc.keyNames(section)) check(doc.find(section, name).has_value());
    // No value may change through a rewrite: the keys of the first section read the same after it.
    const auto open = text.find('[');
    const auto close = open == text.npos ? text.npos : text.find(']', open);
    const std::string firstSection =
        close == text.npos ? section : std::string(trimBlanks(text.substr(open + 1, close - open - 1)));
    const IniDocument original = IniDocument::parse(text);
    for (const std::string& s : {section, firstSection})
        for (const auto& name : original.keyNames(s)) check(original.find(s, name) == reread.find(s, name));

    const zq::fuzz::ScratchFile file(".ini", data, size);
    const std::string read = readProfileString(file.path(), section, key, "0");
    check(read.find_first_of("\r\n") == std::string::npos);
    const IniDocument direct = IniDocument::parse(text);
    const auto expected = direct.find(section, key);
    check(read == (expected ? std::string(cutToCharacters(*expected, kProfileStringMaxChars)) : "0"));
    return 0;
}
