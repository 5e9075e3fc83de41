#pragma once
// The one modal message box, behind an interface: the real one is the skin's message window (shell),
// the test double records what was shown and answers from a script.
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace zq::ui {

struct MessageRequest {
    std::string text; // a text id of the language file, or a ready text
    bool isTextId = true;
    bool transient = false; // closes itself after half a second
    bool question = false;  // confirm and cancel; a notice has one button
};

inline constexpr const char* kTransientMessageId = "message_text_20";

class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;
    // 1 when the user confirmed; 0 for cancel, close, or a box that closed itself.
    virtual int show(const MessageRequest& request) = 0;

    // A notice: the caller goes on whatever the user does.
    int showMessage(std::string_view textId) { return show({std::string(textId), true, false}); }
    // A question: 1 when the user confirmed.
    int ask(std::string_view textId) { return show({std::string(textId), true, false, true}); }
    int showText(std::string_view text) { return show({std::string(text), false, false}); }
    int showTransientMessage() { return show({kTransientMessageId, true, true}); }
};

class ScriptedMessagePresenter final : public MessagePresenter {
public:
    void answer(int result) { answers_.push_back(result); }
    void setDefaultAnswer(int result) { defaultAnswer_ = result; }
    int show(const MessageRequest& request) override {
        shown_.push_back(request);
        if (request.transient) return 0;
        if (answers_.empty()) return defaultAnswer_;
        const int result = answers_.front();
        answers_.pop_front();
        return result;
    }
    const std::vector<MessageRequest>& shown() const { return shown_; }
    std::vector<std::string> textIds() const {
        std::vector<std::string> ids;
        for (const auto& r : shown_)
            if (r.isTextId) ids.push_back(r.text);
        return ids;
    }
    void clear() { shown_.clear(); }

private:
    std::deque<int> answers_;
    int defaultAnswer_ = 0;
    std::vector<MessageRequest> shown_;
};

} // namespace zq::ui
