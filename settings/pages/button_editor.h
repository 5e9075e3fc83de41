#pragma once
// The mouse's button-assignment page: the button list, the function categories and their pages, the
// labels, and the key capture.
#include "settings/key_entry.h"
#include "settings/pages/page_context.h"

#include <optional>
#include <string>

namespace zq::platform {
struct KeyHookEvent;
}

namespace zq::settings::pages {

// The label that says how keys are captured while the keyboard-key category is shown.
inline constexpr const char* kCaptureStateLabel = "ms_key_capture_state";

class ButtonEditor {
public:
    explicit ButtonEditor(PageContext& context);
    ~ButtonEditor();
    ButtonEditor(const ButtonEditor&) = delete;
    ButtonEditor& operator=(const ButtonEditor&) = delete;

    // Fills the labels and pictures of the button page from the key table.
    void refresh();
    // Ends a key capture that runs (navigation, deactivation, exit).
    void stopCapture();

    // The button being edited (0..8), if any.
    std::optional<int> selectedButton() const;
    int category() const { return category_; }
    bool capturing() const { return capturing_; }

private:
    void selectButton(int button);
    void showEntry(KeyEntry entry);
    void chooseCategory(int category);
    void showCategory(int category);
    void parameterChanged(int edit);
    void buildEntry();
    std::optional<KeyEntry> entryFromControls() const;
    bool keyCaptured() const;
    void startCapture();
    void keyPressed(const platform::KeyHookEvent& event);
    void showCaptureState(const char* textId);
    std::optional<std::string> macroName(int number) const;
    KeyAssignmentTable table() const;
    int slot() const;

    PageContext& ctx_;
    // Whether the labels were asked for: a page built later shows them then (else the layout's own).
    bool refreshAsked_ = false;
    std::optional<int> selected_;
    KeyEntry edited_{};
    int category_ = 0;
    bool capturing_ = false;
};

} // namespace zq::settings::pages
