#pragma once
// Clients of the control socket for tests: the server runs on the test's (UI) thread and answers only
// while its event loop turns, so every client runs on a thread of its own while the test turns the loop,
// within a deadline.
#include <QEventLoop>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>

#include <gtest/gtest.h>

#include "support/bounded_wait.h"

#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace zq::test {

using namespace std::chrono_literals;

// Runs fn on a thread and the event loop here until it returns or the deadline passes (a failure).
// fn itself must be bounded (every client below is).
template <class Fn> auto whileServing(Fn fn, std::chrono::milliseconds deadline = 20s) {
    using Result = decltype(fn());
    Result result{};
    QEventLoop loop;
    bool done = false;
    QTimer::singleShot(deadline, &loop, &QEventLoop::quit);
    BoundedThread worker([&] {
        result = fn();
        QMetaObject::invokeMethod(
            &loop,
            [&] {
                done = true;
                loop.quit();
            },
            Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    EXPECT_TRUE(done) << "the client did not finish within " << deadline.count() << " ms";
    return result;
}

// Turns the event loop until pred holds or the limit passes; returns pred().
template <class Pred> bool serveUntil(Pred pred, std::chrono::milliseconds limit = 10s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!pred() && std::chrono::steady_clock::now() < end) {
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return pred();
}

inline QJsonObject parse(const std::string& line) {
    return QJsonDocument::fromJson(QByteArray::fromStdString(line)).object();
}

// A bare socket client that can misbehave: send anything, stop halfway, read what comes back.
class RawClient {
public:
    explicit RawClient(const std::string& path) {
        fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un a{};
        a.sun_family = AF_UNIX;
        std::strncpy(a.sun_path, path.c_str(), sizeof a.sun_path - 1);
        connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    }
    ~RawClient() { close(); }
    RawClient(const RawClient&) = delete;
    RawClient& operator=(const RawClient&) = delete;

    bool connected() const { return connected_; }
    // Sends as much as the server takes; false when it stopped taking (closed) before the end.
    bool send(const std::string& bytes, std::chrono::milliseconds limit = 5s) {
        const auto end = std::chrono::steady_clock::now() + limit;
        std::size_t sent = 0;
        while (sent < bytes.size()) {
            pollfd p{fd_, POLLOUT, 0};
            if (::poll(&p, 1, msLeft(end)) <= 0) return false;
            const ssize_t n =
                ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
            if (n <= 0) {
                if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
                return false;
            }
            sent += static_cast<std::size_t>(n);
        }
        return true;
    }
    // The next answer line (without newline), or "" when the connection ended or the limit passed.
    std::string readLine(std::chrono::milliseconds limit = 5s) {
        const auto end = std::chrono::steady_clock::now() + limit;
        for (;;) {
            if (const auto nl = pending_.find('\n'); nl != std::string::npos) {
                std::string line = pending_.substr(0, nl);
                pending_.erase(0, nl + 1);
                return line;
            }
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, msLeft(end)) <= 0) return {};
            char buffer[4096];
            const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
            if (n <= 0) return {};
            pending_.append(buffer, static_cast<std::size_t>(n));
        }
    }
    // True when the server closed the connection (end of stream) within the limit.
    bool closedByServer(std::chrono::milliseconds limit = 5s) {
        const auto end = std::chrono::steady_clock::now() + limit;
        for (;;) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, msLeft(end)) <= 0) return false;
            char buffer[4096];
            const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
            if (n == 0 || (n < 0 && errno == ECONNRESET)) return true;
            if (n < 0) return false;
        }
    }
    void close() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

private:
    static int msLeft(std::chrono::steady_clock::time_point end) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        return left.count() < 0 ? 0 : static_cast<int>(left.count());
    }
    int fd_ = -1;
    bool connected_ = false;
    std::string pending_;
};

} // namespace zq::test
