// The capture chain: the first backend that starts serves; the reasons of those that did not are kept.
#include "platform/injected_input_hooks.h"
#include "platform/input_hook_evdev.h"
#include "platform/input_hook_service.h"
#include "platform/input_hook_x11.h"
#include "unit/platform/hook_test_support.h"

#include <gtest/gtest.h>

namespace {
using namespace zq::platform;
using zq::test::QueuedPoster;

std::unique_ptr<InputHookService> failingEvdev(QueuedPoster& q) {
    return std::make_unique<EvdevInputHooks>(q.poster(), EvdevOptions{"/nonexistent/input", {}, {}});
}
std::unique_ptr<InputHookService> failingX11(QueuedPoster& q) {
    return std::make_unique<X11InputHooks>(q.poster(), ":97531");
}

TEST(InputHookChain, FallsBackToTheNextBackendAndKeepsTheReasons) {
    QueuedPoster q;
    auto injected = std::make_unique<InjectedInputHooks>();
    InjectedInputHooks& last = *injected;
    std::vector<std::unique_ptr<InputHookService>> backends;
    backends.push_back(failingEvdev(q));
    backends.push_back(failingX11(q));
    backends.push_back(std::move(injected));
    InputHookChain chain(std::move(backends));
    EXPECT_EQ(chain.activeBackend(), HookBackendKind::None);

    std::vector<std::uint32_t> keys;
    HookCallbacks callbacks;
    callbacks.key = [&](const KeyHookEvent& k) { keys.push_back(k.virtualKey); };
    ASSERT_TRUE(chain.install(HookMode::KeyCapture, callbacks));
    EXPECT_TRUE(chain.installed());
    EXPECT_EQ(chain.activeBackend(), HookBackendKind::Injected);
    EXPECT_FALSE(chain.holdsKeysBack());
    EXPECT_EQ(chain.lastError(),
              "evdev: /nonexistent/input does not exist; x11: cannot connect to the X display :97531");
    EXPECT_TRUE(last.key(0x41));
    EXPECT_EQ(keys, std::vector<std::uint32_t>{0x41});

    chain.removeAll();
    EXPECT_FALSE(chain.installed());
    EXPECT_FALSE(last.installed());
    EXPECT_FALSE(last.key(0x42));
    chain.removeAll(); // nothing installed: nothing to do
}

TEST(InputHookChain, WhenNoBackendStartsItFailsWithEveryReason) {
    QueuedPoster q;
    std::vector<std::unique_ptr<InputHookService>> backends;
    backends.push_back(failingEvdev(q));
    backends.push_back(failingX11(q));
    InputHookChain chain(std::move(backends));
    EXPECT_FALSE(
        chain.install(HookMode::Recording, {[](const KeyHookEvent&) {}, [](const MouseHookEvent&) {}}));
    EXPECT_FALSE(chain.installed());
    EXPECT_EQ(chain.activeBackend(), HookBackendKind::None);
    EXPECT_NE(chain.lastError().find("evdev: "), std::string::npos);
    EXPECT_NE(chain.lastError().find("; x11: "), std::string::npos);
    EXPECT_FALSE(InputHookChain({}).install(HookMode::KeyCapture, {}));
}

TEST(InputHookChain, ANewInstallReplacesTheOldOneAndStartsFromTheBest) {
    auto first = std::make_unique<InjectedInputHooks>();
    auto second = std::make_unique<InjectedInputHooks>();
    InjectedInputHooks& a = *first;
    InjectedInputHooks& b = *second;
    std::vector<std::unique_ptr<InputHookService>> backends;
    backends.push_back(std::move(first));
    backends.push_back(std::move(second));
    InputHookChain chain(std::move(backends));
    int recorded = 0;
    ASSERT_TRUE(chain.install(HookMode::Recording, {[&](const KeyHookEvent&) { ++recorded; }, {}}));
    ASSERT_TRUE(chain.install(HookMode::KeyCapture, {[](const KeyHookEvent&) {}, {}}));
    EXPECT_EQ(a.mode(), HookMode::KeyCapture);
    EXPECT_FALSE(b.installed());
    a.key(0x41);
    EXPECT_EQ(recorded, 0) << "the replaced callbacks are gone";
    EXPECT_EQ(chain.lastError(), "");
}

} // namespace
