#pragma once
// The message box and the file dialogs while scripts drive the program (--simulate or
// ZQ70_AUTOMATION=1): nothing modal ever opens. Every message box shown is recorded ("ui messages"
// reads and clears the record); answers come from one queue in the order "ui answer" filled it, each
// box or dialog taking the oldest:
//   message box:  "ok" or a path → 1, "cancel" → 0; with an empty queue: 1 (OK)
//   file dialog:  a path → that path (a save gets the default extension when it has none), "cancel" →
//                 cancelled, "ok" → the name the dialog suggests when it is a real name, else cancelled;
//                 with an empty queue: cancelled
// A box that closes itself (the transient message) is recorded and takes no answer.
// The colour palette dialog takes its answers from a queue of its own ("ui palette"), so a colour never
// lands in a message box: a colour → OK with that colour, "cancel" → cancelled; with an empty queue:
// cancelled (the opener's colour stays). UI thread only.
#include "ui/colour_picker.h"
#include "ui/file_dialogs.h"
#include "ui/message_presenter.h"

#include <cstdint>

#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zq::control {

class AutomationDialogs final : public ui::MessagePresenter, public ui::FileDialogs, public ui::ColourPicker {
public:
    struct PaletteRecord {
        std::uint32_t opened = 0;            // the colour the dialog started from (ARGB)
        std::optional<std::uint32_t> answer; // the colour chosen, nothing when cancelled
    };

    struct DialogRecord {
        bool save = false;
        std::string title;
        std::optional<std::string> answer;
    };

    // "ok", "cancel" or an absolute path.
    void queueAnswer(std::string answer) { answers_.push_back(std::move(answer)); }
    std::size_t pendingAnswers() const { return answers_.size(); }

    // The text ids (or ready texts) of the message boxes shown since the last call.
    std::vector<std::string> takeMessages();
    // The file dialogs asked for since the last call.
    std::vector<DialogRecord> takeDialogs();

    // A colour (ARGB) for the next palette dialog, or nothing to cancel it.
    void queuePaletteAnswer(std::optional<std::uint32_t> argb) { paletteAnswers_.push_back(argb); }
    std::size_t pendingPaletteAnswers() const { return paletteAnswers_.size(); }
    // The palette dialogs opened since the last call.
    std::vector<PaletteRecord> takePalettes();
    // "#RRGGBB", "RRGGBB" or "0xAARRGGBB" as an opaque or given ARGB colour; nothing when it is not one.
    static std::optional<std::uint32_t> parseColour(std::string_view text);

    int show(const ui::MessageRequest& request) override;
    std::optional<std::string> openFile(const ui::FileDialogRequest& request) override;
    std::optional<std::string> saveFile(const ui::FileDialogRequest& request) override;
    std::optional<std::uint32_t> pick(std::uint32_t argb) override;

private:
    std::optional<std::string> fileAnswer(const ui::FileDialogRequest& request, bool save);

    std::deque<std::string> answers_;
    std::vector<std::string> messages_;
    std::vector<DialogRecord> dialogs_;
    std::deque<std::optional<std::uint32_t>> paletteAnswers_;
    std::vector<PaletteRecord> palettes_;
};

} // namespace zq::control
