#pragma once
// The colour palette dialog as the pages see it: opened at the cursor with a colour, giving the chosen
// colour on OK and nothing on cancel. No Qt type, so the page folders need no widget header.
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace zq::ui {

class ColourPicker {
public:
    virtual ~ColourPicker() = default;
    // `argb` is 0xAARRGGBB; the answer too.
    virtual std::optional<std::uint32_t> pick(std::uint32_t argb) = 0;
};

// Tests: answers from a script, remembers what it was opened with.
class ScriptedColourPicker final : public ColourPicker {
public:
    void answer(std::optional<std::uint32_t> argb) { answers_.push_back(argb); }
    std::optional<std::uint32_t> pick(std::uint32_t argb) override {
        opened_.push_back(argb);
        if (answers_.empty()) return std::nullopt;
        const auto a = answers_.front();
        answers_.pop_front();
        return a;
    }
    const std::vector<std::uint32_t>& opened() const { return opened_; }

private:
    std::deque<std::optional<std::uint32_t>> answers_;
    std::vector<std::uint32_t> opened_;
};

} // namespace zq::ui
