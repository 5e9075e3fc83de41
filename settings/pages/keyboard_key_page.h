#pragma once
// The keyboard's button-assignment page: the key list up to the keyboard's key count, the labels of
// the layout's 126 key positions, the function editor and its defaults.
#include "settings/key_entry.h"
#include "settings/pages/page_context.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace zq::settings::pages {

class KeyboardKeyPage {
public:
    explicit KeyboardKeyPage(PageContext& context);
    KeyboardKeyPage(const KeyboardKeyPage&) = delete;
    KeyboardKeyPage& operator=(const KeyboardKeyPage&) = delete;
    ~KeyboardKeyPage();

    // Fills the key labels from the key table (after a load, a read-back, a reset).
    void refresh();
    // Ends a key capture that runs (navigation, deactivation, exit).
    void stopCapture();

    // How many entries of the table are keys: the keyboard's own count, 126 while it has not told it.
    std::size_t keyCount() const;
    std::optional<std::size_t> selectedKey() const { return selected_; }

private:
    void onKeyClicked(int key);
    void selectKey(std::size_t key);
    void chooseCategory(int category, bool build);
    void showCategory(int category);
    void build();
    void onEdit(int number);
    void onCapturedKey(std::uint32_t virtualKey, std::uint32_t flags);
    void restoreDefault();
    void refreshLabels();
    void refreshMacroList();
    void tableChanged();
    void sendKeyTable();
    int editValue(int number) const;
    KeyAssignmentTable table() const;
    void setEntry(std::size_t key, KeyEntry entry);
    std::vector<std::string> macroNames() const;

    PageContext& ctx_;
    std::optional<std::size_t> selected_;
    int category_ = 0;
    // What the last captured key gives, while category 6 runs.
    std::optional<KeyEntry> captured_;
    bool capturing_ = false;
    // One key-table write at a time; a change made while one runs sends the table once more after it.
    bool sending_ = false;
    bool sendAgain_ = false;
};

} // namespace zq::settings::pages
