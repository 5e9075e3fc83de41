#include "shell/command_dialogs.h"

namespace zq::shell {

CommandDialogs::Scope::Scope(CommandDialogs& dialogs, std::optional<std::string> fileAnswer)
    : dialogs_(dialogs) {
    dialogs_.active_ = true;
    dialogs_.fileAsked_ = false;
    dialogs_.fileAnswer_ = std::move(fileAnswer);
    dialogs_.answeredPath_.clear();
    dialogs_.shown_.clear();
}

CommandDialogs::Scope::~Scope() {
    // Nothing of the command's is left behind for a later click.
    dialogs_.active_ = false;
    dialogs_.fileAnswer_.reset();
    dialogs_.shown_.clear();
}

std::optional<std::string> CommandDialogs::answer(const ui::FileDialogRequest& request, bool save) {
    if (!active_) return save ? files_.saveFile(request) : files_.openFile(request);
    fileAsked_ = true;
    std::optional<std::string> path = std::move(fileAnswer_);
    fileAnswer_.reset();
    if (path && save) *path = ui::withDefaultExtension(*path, request.defaultExtension);
    if (path) answeredPath_ = *path;
    return path;
}

std::optional<std::string> CommandDialogs::openFile(const ui::FileDialogRequest& request) {
    return answer(request, false);
}

std::optional<std::string> CommandDialogs::saveFile(const ui::FileDialogRequest& request) {
    return answer(request, true);
}

int CommandDialogs::show(const ui::MessageRequest& request) {
    if (!active_) return messages_.show(request);
    // The command reports what the page said; a question is not confirmed on the user's behalf.
    shown_.push_back(request);
    return 0;
}

} // namespace zq::shell
