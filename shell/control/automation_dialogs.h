#pragma once
// The message box and the file dialogs while scripts drive the program (--simulate or
// ZQ70_AUTOMATION=1): nothing modal ever opens. Every message box shown is recorded ("ui messages"
// reads and clears the record); answers come from one queue in the order "ui answer" filled it, each
// box or dialog taking the oldest:
//   message box:  "ok" or a path → 1, "cancel" → 0; with an empty queue: 1 (OK)
//   file dialog:  a path → that path (a save gets the default extension when it has none), "cancel" →
//                 cancelled, "ok" → the name the dialog suggests when it is a real name, else cancelled;
//                 with an empty queue: cancelled
// A box that closes itself (the transient message) is recorded and takes no answer. UI thread only.
#include "ui/file_dialogs.h"
#include "ui/message_presenter.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace zq::control {

class AutomationDialogs final : public ui::MessagePresenter, public ui::FileDialogs {
public:
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

    int show(const ui::MessageRequest& request) override;
    std::optional<std::string> openFile(const ui::FileDialogRequest& request) override;
    std::optional<std::string> saveFile(const ui::FileDialogRequest& request) override;

private:
    std::optional<std::string> fileAnswer(const ui::FileDialogRequest& request, bool save);

    std::deque<std::string> answers_;
    std::vector<std::string> messages_;
    std::vector<DialogRecord> dialogs_;
};

} // namespace zq::control
