#include "platform/foreground.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string_view>

#include <unistd.h>

namespace zq::platform {

ForegroundApplication::Subscription::Subscription(ForegroundApplication& owner)
    : owner_(owner), changed_(std::make_shared<Event>(Event::Reset::Auto)) {
    std::lock_guard lock(owner_.mutex_);
    owner_.subscribers_.push_back(changed_);
}

ForegroundApplication::Subscription::~Subscription() {
    std::lock_guard lock(owner_.mutex_);
    std::erase(owner_.subscribers_, changed_);
}

void ForegroundApplication::changed() {
    std::lock_guard lock(mutex_);
    for (const auto& event : subscribers_) event->set();
}

std::optional<std::string> executableOfProcess(long pid, const std::string& procRoot) {
    if (pid <= 0) return std::nullopt;
    const std::string link = procRoot + "/" + std::to_string(pid) + "/exe";
    std::array<char, 4096> buffer{};
    const ssize_t n = ::readlink(link.c_str(), buffer.data(), buffer.size());
    // A path that fills the buffer may have been cut: better no answer than a wrong one.
    if (n <= 0 || static_cast<std::size_t>(n) >= buffer.size()) return std::nullopt;
    std::string path(buffer.data(), static_cast<std::size_t>(n));
    // An executable replaced on disk while it runs (an update) still names the program the user linked.
    constexpr std::string_view kDeleted = " (deleted)";
    if (path.size() > kDeleted.size() && path.ends_with(kDeleted)) path.resize(path.size() - kDeleted.size());
    if (path.empty() || path.front() != '/') return std::nullopt;
    return path;
}

namespace {

class UnavailableForeground final : public ForegroundApplication {
public:
    ForegroundBackendKind kind() const override { return ForegroundBackendKind::Unavailable; }
    std::optional<std::string> executablePath() override { return std::nullopt; }
};

} // namespace

std::unique_ptr<ForegroundApplication> makeUnavailableForeground() {
    return std::make_unique<UnavailableForeground>();
}

std::unique_ptr<ForegroundApplication> makeForegroundApplication() {
    if (auto x11 = makeX11Foreground()) return x11;
    return makeUnavailableForeground();
}

std::optional<std::string> FakeForegroundApplication::executablePath() {
    std::lock_guard lock(mutex_);
    ++reads_;
    return path_;
}

void FakeForegroundApplication::bringToFront(std::optional<std::string> path) {
    {
        std::lock_guard lock(mutex_);
        path_ = std::move(path);
    }
    changed();
}

int FakeForegroundApplication::reads() const {
    std::lock_guard lock(mutex_);
    return reads_;
}

} // namespace zq::platform
