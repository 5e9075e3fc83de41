#pragma once
// The watchers that make a linked profile active while its application is in front and give the user's
// own choice back when it leaves: one thread per watched category. A watcher sleeps until the
// application in front changes or the category's links do; then it selects, on the UI thread, the first
// linked position of the application in front, else the user's choice, and writes the user's choice
// back to the select key (the selection itself writes the position it selects).
#include "profiles/profile_category.h"

#include <array>
#include <functional>
#include <memory>
#include <string_view>

namespace zq::platform {
class Event;
class ForegroundApplication;
} // namespace zq::platform

namespace zq::ui {
class Page;
}

namespace zq::profiles::pages {

// The watched categories in the order the window starts their threads.
inline constexpr std::array<ProfileCategory, 5> kWatchedCategories{
    ProfileCategory::KeyboardDevice, ProfileCategory::KeyboardKeys, ProfileCategory::MouseDevice,
    ProfileCategory::MouseKeys, ProfileCategory::PadLighting};

bool isWatched(ProfileCategory category);
// The debug line a watcher leaves when it ends.
std::string_view watcherExitMessage(ProfileCategory category);
inline constexpr std::string_view kForegroundUnreadable = "文件名字访问失败";

class ProfileWatchers {
public:
    // Runs work on the UI thread and waits for it; false, without running it, once stop is set.
    using UiInvoker = std::function<bool(std::function<void()> work, platform::Event& stop)>;

    ProfileWatchers(ui::Page& page, platform::ForegroundApplication& foreground, UiInvoker invokeOnUi);
    ~ProfileWatchers();
    ProfileWatchers(const ProfileWatchers&) = delete;
    ProfileWatchers& operator=(const ProfileWatchers&) = delete;

    // The thread body of a category's watcher: returns once stop is set.
    void run(ProfileCategory category, platform::Event& stop);
    // The category's link keys were written: its watcher looks again.
    void linksChanged(ProfileCategory category);
    // Cycles the category's watcher has completed on the UI thread (each one a look at the links and
    // the application in front).
    int cycles(ProfileCategory category) const;

private:
    struct Watch;
    // One look: which position to select for the application in front; selects it on the UI thread.
    void cycle(Watch& watch, const std::string& executable, platform::Event& stop);

    ui::Page& page_;
    platform::ForegroundApplication& foreground_;
    UiInvoker invokeOnUi_;
    std::array<std::unique_ptr<Watch>, kProfileCategoryCount> watches_;
};

} // namespace zq::profiles::pages
