#include "ui/ui_thread.h"

#include "platform/debug.h"
#include "platform/event.h"

#include <QCoreApplication>
#include <QThread>

#include <array>
#include <chrono>
#include <memory>
#include <mutex>

namespace zq::ui {

bool UiThread::isUiThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

void UiThread::post(std::function<void()> fn) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) {
        platform::debugString("UiThread::post without an application: call dropped");
        return;
    }
    QMetaObject::invokeMethod(app, std::move(fn), Qt::QueuedConnection);
}

namespace {

struct InvokeState {
    enum class Stage { Pending, Running, Done, Cancelled };
    std::mutex mutex;
    Stage stage = Stage::Pending;
    platform::Event done{platform::Event::Reset::Manual};
    std::function<void()> fn;
};

} // namespace

bool UiThread::invoke(std::function<void()> fn, platform::Event& stop) {
    if (isUiThread()) {
        fn();
        return true;
    }
    if (stop.isSet()) return false;
    auto state = std::make_shared<InvokeState>();
    state->fn = std::move(fn);
    post([state] {
        {
            std::lock_guard lock(state->mutex);
            if (state->stage != InvokeState::Stage::Pending) return;
            state->stage = InvokeState::Stage::Running;
        }
        state->fn();
        std::lock_guard lock(state->mutex);
        state->stage = InvokeState::Stage::Done;
        state->done.set();
    });
    std::array<platform::Event*, 2> events{&state->done, &stop};
    for (;;) {
        const int which = platform::Event::waitAny(events, std::chrono::hours(1));
        if (which == 0) return true;
        if (which == 1) {
            {
                std::lock_guard lock(state->mutex);
                if (state->stage == InvokeState::Stage::Pending) {
                    state->stage = InvokeState::Stage::Cancelled;
                    state->fn = nullptr; // its captures may point at the caller's stack
                    return false;
                }
            }
            state->done.wait();
            return true;
        }
    }
}

} // namespace zq::ui
