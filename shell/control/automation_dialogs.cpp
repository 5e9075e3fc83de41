#include "shell/control/automation_dialogs.h"

#include "platform/debug.h"

#include <cctype>
#include <cstdio>

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

std::vector<AutomationDialogs::PaletteRecord> AutomationDialogs::takePalettes() {
    std::vector<PaletteRecord> out;
    out.swap(palettes_);
    return out;
}

std::optional<std::uint32_t> AutomationDialogs::parseColour(std::string_view text) {
    bool opaque = true;
    if (!text.empty() && text.front() == '#') {
        text.remove_prefix(1);
    } else if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        opaque = text.size() != 8; // 0xAARRGGBB gives its own alpha
    }
    if (text.size() != 6 && !(text.size() == 8 && !opaque)) return std::nullopt;
    std::uint32_t value = 0;
    for (char c : text) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
        const int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : std::tolower(c) - 'a' + 10;
        value = value << 4 | static_cast<std::uint32_t>(digit);
    }
    return opaque ? 0xFF000000u | value : value;
}

std::optional<std::uint32_t> AutomationDialogs::pick(std::uint32_t argb) {
    std::optional<std::uint32_t> answer;
    if (!paletteAnswers_.empty()) {
        answer = paletteAnswers_.front();
        paletteAnswers_.pop_front();
    }
    palettes_.push_back({argb, answer});
    char text[64];
    std::snprintf(text, sizeof text, "automation: palette %08X → %s", static_cast<unsigned>(argb),
                  answer ? "chosen" : "cancelled");
    platform::debugString(text);
    return answer;
}

} // namespace zq::control
