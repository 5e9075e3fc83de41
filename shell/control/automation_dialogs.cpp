#include "shell/control/automation_dialogs.h"

#include "platform/debug.h"

namespace zq::control {

std::vector<std::string> AutomationDialogs::takeMessages() {
    std::vector<std::string> out;
    out.swap(messages_);
    return out;
}

std::vector<AutomationDialogs::DialogRecord> AutomationDialogs::takeDialogs() {
    std::vector<DialogRecord> out;
    out.swap(dialogs_);
    return out;
}

int AutomationDialogs::show(const ui::MessageRequest& request) {
    messages_.push_back(request.text);
    platform::debugString("automation: message box " + request.text);
    if (request.transient) return 0;
    if (answers_.empty()) return 1;
    const std::string answer = std::move(answers_.front());
    answers_.pop_front();
    return answer == "cancel" ? 0 : 1;
}

std::optional<std::string> AutomationDialogs::fileAnswer(const ui::FileDialogRequest& request, bool save) {
    std::optional<std::string> result;
    if (!answers_.empty()) {
        const std::string answer = std::move(answers_.front());
        answers_.pop_front();
        if (answer == "ok") {
            // What pressing OK does: take the name the dialog suggests, when it names one file.
            const std::string& name = request.initialName;
            if (!name.empty() && name.find_first_of("*?") == std::string::npos) {
                result = name.front() == '/' || request.folder.empty() ? name : request.folder + "/" + name;
            }
        } else if (answer != "cancel") {
            result = answer;
        }
    }
    if (result && save) result = ui::withDefaultExtension(std::move(*result), request.defaultExtension);
    dialogs_.push_back({save, request.title, result});
    platform::debugString(std::string("automation: ") + (save ? "save" : "open") + " dialog → " +
                          (result ? *result : std::string("cancelled")));
    return result;
}

std::optional<std::string> AutomationDialogs::openFile(const ui::FileDialogRequest& request) {
    return fileAnswer(request, false);
}

std::optional<std::string> AutomationDialogs::saveFile(const ui::FileDialogRequest& request) {
    return fileAnswer(request, true);
}

} // namespace zq::control
