#include "profiles/pages/profile_watchers.h"

#include "platform/clock.h"
#include "platform/debug.h"
#include "platform/event.h"
#include "platform/foreground.h"
#include "profiles/pages/application_links.h"
#include "profiles/profile_index.h"
#include "ui/page.h"

#include <algorithm>
#include <atomic>
#include <string>

namespace zq::profiles::pages {

struct ProfileWatchers::Watch {
    ProfileCategory category;
    platform::Event linksChanged{platform::Event::Reset::Auto};
    std::atomic<int> cycles{0};
    std::vector<LinkedPosition> links; // the watcher thread's, read before each cycle
};

bool isWatched(ProfileCategory category) {
    return std::find(kWatchedCategories.begin(), kWatchedCategories.end(), category) !=
           kWatchedCategories.end();
}

std::string_view watcherExitMessage(ProfileCategory category) {
    switch (category) {
    case ProfileCategory::MouseDevice:
        return "鼠标灯光进程侦测线程设定退出";
    case ProfileCategory::MouseKeys:
        return "鼠标按键进程线程设定退出";
    case ProfileCategory::KeyboardDevice:
        return "键盘灯光进程侦测线程设定退出";
    case ProfileCategory::KeyboardKeys:
        return "键盘按键进程侦测线程设定退出";
    case ProfileCategory::PadLighting:
        return "鼠标垫灯光进程侦测线程设定退出";
    case ProfileCategory::MouseLighting:
    case ProfileCategory::KeyboardLighting:
        break;
    }
    return {};
}

ProfileWatchers::ProfileWatchers(ui::Page& page, platform::ForegroundApplication& foreground,
                                 UiInvoker invokeOnUi)
    : page_(page), foreground_(foreground), invokeOnUi_(std::move(invokeOnUi)) {
    for (std::size_t i = 0; i < watches_.size(); ++i) {
        watches_[i] = std::make_unique<Watch>();
        watches_[i]->category = kProfileCategories[i].category;
    }
}

ProfileWatchers::~ProfileWatchers() = default;

void ProfileWatchers::linksChanged(ProfileCategory category) {
    watches_[static_cast<std::size_t>(category)]->linksChanged.set();
}

int ProfileWatchers::cycles(ProfileCategory category) const {
    return watches_[static_cast<std::size_t>(category)]->cycles.load();
}

void ProfileWatchers::run(ProfileCategory category, platform::Event& stop) {
    Watch& watch = *watches_[static_cast<std::size_t>(category)];
    const auto subscription = foreground_.subscribe();
    // Without a way to tell the application in front there is nothing to switch on: the watcher only
    // waits for its stop, however many links there are.
    const bool available = foreground_.available();
    std::string executable; // the last path that could be read; empty before the first
    bool hadLinks = false;
    while (!stop.isSet()) {
        if (available && isWatched(category)) {
            watch.links = linkedPositions(ProfileIndex::forCategory(category));
            // A category without links does nothing at all, except once after its last link went, to
            // give the user's own choice back if a linked profile was active.
            if (!watch.links.empty() || hadLinks) {
                if (auto path = foreground_.executablePath())
                    executable = std::move(*path);
                else
                    platform::debugString(kForegroundUnreadable);
                cycle(watch, executable, stop);
            }
            hadLinks = !watch.links.empty();
        }
        std::array<platform::Event*, 3> events{&stop, &subscription->changed(), &watch.linksChanged};
        const std::size_t waitOn = available ? events.size() : 1;
        platform::systemClock().waitAny(std::span(events.data(), waitOn), platform::Clock::kNoLimit);
    }
    platform::debugString(watcherExitMessage(category));
}

void ProfileWatchers::cycle(Watch& watch, const std::string& executable, platform::Event& stop) {
    const ProfileCategory category = watch.category;
    invokeOnUi_(
        [this, &watch, &executable, category] {
            ++watch.cycles;
            ui::ListLike list = page_.list(categoryInfo(category).listControl);
            if (!list.exists()) return;
            const int n = list.count();
            const ProfileIndex index = ProfileIndex::forCategory(category);
            // The user's own choice: selecting a linked entry writes its position to the select key, so
            // the key is put back afterwards, and saves keep going to the user's profile.
            const int saved = index.select();
            int target = firstLinkFor(watch.links, executable, n);
            if (target < 0) target = saved;
            if (target >= 0 && target < n) list.select(target, ui::Notify::Yes);
            if (index.select() != saved) index.setSelect(saved);
        },
        stop);
}

} // namespace zq::profiles::pages
