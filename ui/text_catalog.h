#pragma once
// Interface texts by id, read from the language file (<texts><text id="...">...</text></texts>).
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace zq::ui {

class TextCatalog {
public:
    // Replaces the catalog with the file's texts; on failure the catalog is left as it was and the
    // reason is returned.
    std::optional<std::string> loadFile(const std::string& path);
    std::optional<std::string> loadXml(std::string_view xml);

    bool contains(std::string_view id) const;
    // The text of an id; an id the catalog lacks shows as the id itself, so a missing text is visible
    // instead of an empty control.
    std::string text(std::string_view id) const;
    std::size_t size() const { return texts_.size(); }
    const std::string& language() const { return language_; }

private:
    std::map<std::string, std::string, std::less<>> texts_;
    std::string language_;
};

} // namespace zq::ui
