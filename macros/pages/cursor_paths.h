#pragma once
// The mouse's cursor-path page: four paths ("ms_gun_op_0" … "_3") of 30 steps ("ms_bullet_op_0" …
// "_29"), the step editor (pause, horizontal and vertical move), reset, import, export and the transfer
// of the four paths to the mouse.
#include "settings/pages/page_context.h"

#include <cstddef>
#include <filesystem>
#include <optional>

namespace zq::macros::pages {

using settings::pages::PageContext;

class CursorPathPage {
public:
    explicit CursorPathPage(PageContext& context);
    CursorPathPage(const CursorPathPage&) = delete;
    CursorPathPage& operator=(const CursorPathPage&) = delete;

    // Start-up: the default path files when the mouse index names none yet.
    void start();

    std::size_t slot() const { return slot_; }
    // The selected step, or nullopt when none is (the step editor is disabled then).
    std::optional<std::size_t> step() const { return step_; }
    bool transferRunning() const { return transferRunning_; }

private:
    void registerHandlers();
    void selectSlot(std::size_t slot);
    void selectStep(std::size_t step);
    void unselectStep();
    void loadStep();
    void saveStep();
    void clampEdit(const char* edit, unsigned maximum);
    void checkChanged(const char* check, const char* onText, const char* offText);
    void reset();
    void importPath();
    void exportPath();
    void transfer();

    std::filesystem::path mouseFolder() const;
    // The path file of the selected slot as the index names it (load and save of steps), and by its
    // fixed name (reset, import, export).
    std::optional<std::filesystem::path> indexedFile() const;
    std::filesystem::path fixedFile() const;

    PageContext& ctx_;
    std::size_t slot_ = 0;
    std::optional<std::size_t> step_;
    bool loading_ = false;
    bool transferRunning_ = false;
};

} // namespace zq::macros::pages
