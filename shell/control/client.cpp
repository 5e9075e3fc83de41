#include "shell/control/client.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace zq::control {

namespace {

using Clock = std::chrono::steady_clock;

std::string systemError(const std::string& what, int error) {
    return what + ": " + std::strerror(error);
}

int msLeft(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left <= 0 ? 0 : static_cast<int>(std::min<long long>(left, 1 << 30));
}

// Closes the descriptor whichever way the exchange ends.
struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
};

// Waits for the event or the deadline; false on timeout or error (errno set, 0 on timeout).
bool waitFor(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        pollfd p{fd, events, 0};
        const int n = ::poll(&p, 1, msLeft(deadline));
        if (n > 0) return true;
        if (n == 0) {
            errno = 0;
            return false;
        }
        if (errno != EINTR) return false;
    }
}

} // namespace

SocketLocation socketLocation() {
    return socketLocation(std::getenv("XDG_RUNTIME_DIR"), "/tmp", ::geteuid());
}

SocketLocation socketLocation(const char* runtimeDir, std::string_view tmpBase, uid_t uid) {
    SocketLocation where;
    if (runtimeDir && runtimeDir[0] == '/') {
        where.folder = runtimeDir;
        while (where.folder.size() > 1 && where.folder.back() == '/') where.folder.pop_back();
    } else {
        where.folder = std::string(tmpBase) + "/zephran-q70-" + std::to_string(uid);
        where.privateFallback = true;
    }
    where.path = (where.folder == "/" ? std::string() : where.folder) + "/" + kSocketName;
    return where;
}

std::string checkFolder(const SocketLocation& where, uid_t uid, bool create) {
    const std::string& folder = where.folder;
    if (create && where.privateFallback && ::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        return systemError("cannot create " + folder, errno);
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0) return systemError(folder, errno);
    if (!S_ISDIR(st.st_mode)) return folder + " is not a folder (a link or a file); not using it";
    if (st.st_uid != uid)
        return folder + " belongs to user " + std::to_string(st.st_uid) + ", not to you; not using it";
    if (where.privateFallback && (st.st_mode & 077) != 0) {
        // Ours, but others could reach into it: tighten it before a socket goes there.
        if (!create) return folder + " can be reached by other users; not using it";
        if (::chmod(folder.c_str(), 0700) != 0) return systemError("cannot restrict " + folder, errno);
    }
    return {};
}

PathState inspectPath(const std::string& path, uid_t uid, std::string* why) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
        if (errno == ENOENT) return PathState::Missing;
        if (why) *why = systemError(path, errno);
        return PathState::Foreign;
    }
    if (!S_ISSOCK(st.st_mode)) {
        if (why) *why = path + " exists and is not a socket; it is left alone";
        return PathState::Foreign;
    }
    if (st.st_uid != uid) {
        if (why)
            *why = path + " belongs to user " + std::to_string(st.st_uid) + ", not to you; it is left alone";
        return PathState::Foreign;
    }
    return PathState::OwnSocket;
}

ExchangeResult exchangeLine(const std::string& path, std::string_view line, std::chrono::milliseconds limit) {
    ExchangeResult result;
    const uid_t uid = ::geteuid();
    const auto deadline = Clock::now() + limit;

    std::string why;
    switch (inspectPath(path, uid, &why)) {
    case PathState::Missing:
        result.status = ExchangeStatus::NotRunning;
        return result;
    case PathState::Foreign:
        result.error = why;
        return result;
    case PathState::OwnSocket:
        break;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof(address.sun_path)) {
        result.error = path + ": the path is too long for a socket";
        return result;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);

    Descriptor s;
    s.fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (s.fd < 0) {
        result.error = systemError("socket", errno);
        return result;
    }
    // A blocking connect waits while the listener's queue is full; the send time-out bounds that wait.
    timeval tv{};
    const int ms = std::max(1, msLeft(deadline));
    tv.tv_sec = ms / 1000;
    tv.tv_usec = (ms % 1000) * 1000;
    ::setsockopt(s.fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
    int rc;
    do {
        rc = ::connect(s.fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const int e = errno;
        if (e == ECONNREFUSED || e == ENOENT) {
            result.status = ExchangeStatus::NotRunning; // a socket file left behind by a program that died
        } else if (e == EAGAIN || e == ETIMEDOUT || e == EINPROGRESS) {
            result.status = ExchangeStatus::NoAnswer;
            result.error = "the program on " + path + " does not take connections";
        } else {
            result.error = systemError("connect to " + path, e);
        }
        return result;
    }
    ucred peer{};
    socklen_t peerLength = sizeof peer;
    if (::getsockopt(s.fd, SOL_SOCKET, SO_PEERCRED, &peer, &peerLength) != 0 || peer.uid != uid) {
        result.error = "the program listening on " + path + " runs as another user";
        return result;
    }
    ::fcntl(s.fd, F_SETFL, ::fcntl(s.fd, F_GETFL) | O_NONBLOCK);

    std::string request(line);
    request.push_back('\n');
    std::size_t sent = 0;
    std::string sendError;
    while (sent < request.size() && sendError.empty()) {
        const ssize_t n = ::send(s.fd, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (waitFor(s.fd, POLLOUT, deadline)) continue;
            if (errno != 0) {
                result.error = systemError("send", errno);
                return result;
            }
            result.status = ExchangeStatus::NoAnswer;
            result.error = "the program did not take the request in time";
            return result;
        }
        // The program stopped reading (it refused the request): its answer may still be waiting.
        sendError = systemError("the program closed the connection", errno);
    }

    std::string answer;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::recv(s.fd, buffer, sizeof buffer, 0);
        if (n > 0) {
            const auto* end =
                static_cast<const char*>(std::memchr(buffer, '\n', static_cast<std::size_t>(n)));
            answer.append(buffer, end ? static_cast<std::size_t>(end - buffer) : static_cast<std::size_t>(n));
            if (end) break;
            if (answer.size() > kMaxAnswerBytes) {
                result.error = "the answer is longer than " + std::to_string(kMaxAnswerBytes) + " bytes";
                return result;
            }
            continue;
        }
        if (n == 0) {
            result.status = ExchangeStatus::NoAnswer;
            result.error =
                sendError.empty() ? "the program closed the connection without an answer" : sendError;
            return result;
        }
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            if (waitFor(s.fd, POLLIN, deadline)) continue;
            if (errno != 0) {
                result.error = systemError("receive", errno);
                return result;
            }
            result.status = ExchangeStatus::NoAnswer;
            result.error = "no answer in time";
            return result;
        }
        result.status = ExchangeStatus::NoAnswer;
        result.error = systemError("receive", errno);
        return result;
    }
    if (!answer.empty() && answer.back() == '\r') answer.pop_back();
    result.status = ExchangeStatus::Answered;
    result.reply = std::move(answer);
    return result;
}

} // namespace zq::control
