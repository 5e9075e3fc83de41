#pragma once
// The dialogs the pages ask, with a way for a zq70ctl command to answer them itself: while a command
// runs a page operation, the file dialog takes the path the command was given (once) and messages are
// collected for the command's answer instead of waiting for a click. Otherwise every request goes to
// the user's own dialogs.
#include "ui/file_dialogs.h"
#include "ui/message_presenter.h"

#include <optional>
#include <string>
#include <vector>

namespace zq::shell {

class CommandDialogs final : public ui::FileDialogs, public ui::MessagePresenter {
public:
    CommandDialogs(ui::FileDialogs& files, ui::MessagePresenter& messages)
        : files_(files), messages_(messages) {}

    // For one command: the answer of the next file dialog (none: a dialog is cancelled). The scope
    // ends when it goes, and gives back the messages the operation showed.
    class Scope {
    public:
        Scope(CommandDialogs& dialogs, std::optional<std::string> fileAnswer);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
        // The messages shown so far, as text ids or texts.
        const std::vector<ui::MessageRequest>& messages() const { return dialogs_.shown_; }
        // True when the operation asked for a file.
        bool fileAsked() const { return dialogs_.fileAsked_; }
        // The path the dialog answered with (a save's default extension added).
        const std::string& answeredPath() const { return dialogs_.answeredPath_; }

    private:
        CommandDialogs& dialogs_;
    };

    std::optional<std::string> openFile(const ui::FileDialogRequest& request) override;
    std::optional<std::string> saveFile(const ui::FileDialogRequest& request) override;
    int show(const ui::MessageRequest& request) override;

private:
    std::optional<std::string> answer(const ui::FileDialogRequest& request, bool save);

    ui::FileDialogs& files_;
    ui::MessagePresenter& messages_;
    bool active_ = false;
    bool fileAsked_ = false;
    std::optional<std::string> fileAnswer_;
    std::string answeredPath_;
    std::vector<ui::MessageRequest> shown_;
};

} // namespace zq::shell
