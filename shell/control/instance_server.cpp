#include "shell/control/instance_server.h"

#include "platform/debug.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace zq::control {

namespace {

std::string systemError(const std::string& what, int error) {
    return what + ": " + std::strerror(error);
}

bool fillAddress(const std::string& path, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof(address.sun_path)) return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

// True when something accepts connections on the socket file.
bool somebodyListens(const sockaddr_un& address) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return false;
    const int rc = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    // A full queue (EAGAIN) still means a listener.
    const bool listens = rc == 0 || errno == EAGAIN || errno == EINPROGRESS;
    ::close(fd);
    return listens;
}

uid_t peerUid(QLocalSocket* socket) {
    ucred peer{};
    socklen_t length = sizeof peer;
    const int fd = static_cast<int>(socket->socketDescriptor());
    if (fd < 0 || ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) != 0)
        return static_cast<uid_t>(-1);
    return peer.uid;
}

} // namespace

struct InstanceServer::Client {
    QPointer<QLocalSocket> socket;
    QByteArray buffer;    // bytes of the line not yet complete
    bool busy = false;    // a request of this connection is being handled
    bool closing = false; // answered its last; takes nothing more
    bool gone = false;    // disconnected while busy: removed once the handler returns
    std::unique_ptr<QTimer> idle;
};

InstanceServer::InstanceServer(const CommandTable& commands, std::function<void()> onBringUp, QObject* parent)
    : QObject(parent), commands_(commands), onBringUp_(std::move(onBringUp)) {}

InstanceServer::~InstanceServer() {
    close();
}

InstanceServer::Outcome InstanceServer::fail(std::string why) {
    error_ = std::move(why);
    platform::debugString("control socket: " + error_);
    if (lockFd_ >= 0) {
        ::close(lockFd_);
        lockFd_ = -1;
    }
    return Outcome::Failed;
}

InstanceServer::Outcome InstanceServer::listen() {
    return listen(socketLocation());
}

InstanceServer::Outcome InstanceServer::listen(const SocketLocation& where) {
    close();
    error_.clear();
    path_ = where.path;
    const uid_t uid = ::geteuid();
    if (std::string why = checkFolder(where, uid, true); !why.empty()) return fail(why);
    sockaddr_un address{};
    if (!fillAddress(path_, address)) return fail(path_ + ": the path is too long for a socket");

    // The lock file sits in a folder only we can write to; still, never follow a link or take a file
    // someone else made.
    const std::string lockPath = path_ + ".lock";
    lockFd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (lockFd_ < 0) return fail(systemError("cannot open " + lockPath, errno));
    struct stat st {};
    if (::fstat(lockFd_, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != uid)
        return fail(lockPath + " is not a file of yours; it is left alone");
    if (::flock(lockFd_, LOCK_EX | LOCK_NB) != 0) {
        const int e = errno;
        if (e == EWOULDBLOCK) {
            ::close(lockFd_);
            lockFd_ = -1;
            error_ = "another zephran-q70 of yours owns " + path_;
            return Outcome::AlreadyRunning;
        }
        return fail(systemError("cannot lock " + lockPath, e));
    }

    std::string why;
    switch (inspectPath(path_, uid, &why)) {
    case PathState::Missing:
        break;
    case PathState::Foreign:
        return fail(why);
    case PathState::OwnSocket:
        // We hold the name, so no instance of ours listens there. Anything that still answers is some
        // other program's business.
        if (somebodyListens(address)) return fail(path_ + " is in use by another program; it is left alone");
        platform::debugString("control socket: removing the stale socket " + path_);
        if (::unlink(path_.c_str()) != 0 && errno != ENOENT)
            return fail(systemError("cannot remove the stale socket " + path_, errno));
        break;
    }

    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return fail(systemError("socket", errno));
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        const int e = errno;
        ::close(fd);
        return fail(systemError("cannot create the socket " + path_, e));
    }
    // The folder already keeps others out; the socket itself says so too.
    if (::chmod(path_.c_str(), 0600) != 0 || ::lstat(path_.c_str(), &st) != 0 || ::listen(fd, 32) != 0) {
        const int e = errno;
        ::close(fd);
        ::unlink(path_.c_str());
        return fail(systemError("cannot set up the socket " + path_, e));
    }
    socketDevice_ = st.st_dev;
    socketInode_ = st.st_ino;

    server_ = std::make_unique<QLocalServer>();
    if (!server_->listen(fd)) {
        const std::string reason = server_->errorString().toStdString();
        server_.reset();
        ::close(fd);
        ::unlink(path_.c_str());
        return fail("cannot listen on " + path_ + ": " + reason);
    }
    connect(server_.get(), &QLocalServer::newConnection, this, &InstanceServer::accept);
    return Outcome::Listening;
}

void InstanceServer::close() {
    for (const auto& c : clients_) {
        c->idle.reset();
        if (c->socket) {
            c->socket->disconnect(this);
            c->socket->abort();
            c->socket->deleteLater();
        }
        c->gone = true;
    }
    clients_.clear();
    if (server_) {
        server_->close();
        server_.reset();
        // Remove the socket only if it still is the one we made; nobody else can have replaced it while
        // we hold the lock, but a file we did not make is never ours to remove.
        struct stat st {};
        if (::lstat(path_.c_str(), &st) == 0 && st.st_dev == socketDevice_ && st.st_ino == socketInode_)
            ::unlink(path_.c_str());
    }
    if (lockFd_ >= 0) {
        ::close(lockFd_);
        lockFd_ = -1;
    }
}

bool InstanceServer::isListening() const {
    return server_ && server_->isListening();
}

int InstanceServer::clientCount() const {
    return static_cast<int>(clients_.size());
}

void InstanceServer::accept() {
    while (QLocalSocket* socket = server_ ? server_->nextPendingConnection() : nullptr) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // The folder keeps other users out; a peer of another user means it did not, so say no.
        const bool stranger = peerUid(socket) != ::geteuid();
        const bool full = static_cast<int>(clients_.size()) >= limits_.maxClients;
        if (stranger || full) {
            socket->write(Reply::failure(stranger ? "connections from other users are refused"
                                                  : "too many connections at once; try again")
                              .toLine());
            socket->flush();
            socket->disconnectFromServer();
            continue;
        }
        auto client = std::make_shared<Client>();
        client->socket = socket;
        // Qt holds at most one line's worth; the rest waits in the system until we want it.
        socket->setReadBufferSize(limits_.maxLineBytes + 1);
        client->idle = std::make_unique<QTimer>();
        client->idle->setSingleShot(true);
        client->idle->setInterval(limits_.idle);
        std::weak_ptr<Client> weak = client;
        connect(client->idle.get(), &QTimer::timeout, this, [this, weak] {
            if (auto c = weak.lock()) idleOut(c);
        });
        connect(socket, &QLocalSocket::readyRead, this, [this, weak] {
            if (auto c = weak.lock()) pump(c);
        });
        connect(socket, &QLocalSocket::disconnected, this, [this, weak] {
            if (auto c = weak.lock()) drop(c);
        });
        client->idle->start();
        clients_.push_back(client);
        if (socket->bytesAvailable() > 0) pump(client);
    }
}

void InstanceServer::pump(const std::shared_ptr<Client>& client) {
    // A request of this connection is running (and has entered a nested event loop): the loop of that
    // call takes the next line when the handler is done.
    if (client->busy) return;
    client->busy = true;
    const qsizetype limit = limits_.maxLineBytes;
    while (client->socket && !client->closing && !client->gone) {
        const qsizetype end = client->buffer.indexOf('\n');
        if (end < 0) {
            if (client->buffer.size() > limit) {
                closeClient(client, Reply::failure("the request line is longer than " +
                                                   std::to_string(limit) + " bytes; closing the connection")
                                        .toLine());
                break;
            }
            if (client->socket->bytesAvailable() <= 0) break;
            client->buffer += client->socket->read(limit + 1 - client->buffer.size());
            continue;
        }
        QByteArray line = client->buffer.left(end);
        client->buffer.remove(0, end + 1);
        if (line.endsWith('\r')) line.chop(1);
        const QByteArray reply = answer(line);
        if (!client->socket || client->gone) break; // the client left while its request ran
        client->socket->write(reply);
        client->socket->flush();
        if (client->idle) client->idle->start();
    }
    client->busy = false;
    if (client->gone) drop(client);
}

QByteArray InstanceServer::answer(const QByteArray& line) {
    if (line == kBringUpLine) {
        platform::debugString("control socket: another start brings this instance to the front");
        if (onBringUp_) onBringUp_();
        return Reply::success().toLine();
    }
    if (line.trimmed().isEmpty()) return Reply::failure("empty request").toLine();
    return commands_.runLine(line).toLine();
}

void InstanceServer::closeClient(const std::shared_ptr<Client>& client, const QByteArray& lastAnswer) {
    client->closing = true;
    client->buffer.clear();
    if (client->idle) client->idle->stop();
    if (!client->socket) return;
    client->socket->write(lastAnswer);
    client->socket->flush();
    // Anything it still sends is not read; the answer goes out first, then the connection closes.
    client->socket->disconnectFromServer();
}

void InstanceServer::drop(const std::shared_ptr<Client>& client) {
    client->gone = true;
    if (client->busy) return; // pump() comes back here when the running request is done
    client->idle.reset();
    // A half line dies with its connection; nothing of it was run.
    client->buffer.clear();
    clients_.erase(std::remove(clients_.begin(), clients_.end(), client), clients_.end());
}

void InstanceServer::idleOut(const std::shared_ptr<Client>& client) {
    if (client->busy) {
        client->idle->start(); // its request is still running; that is not idling
        return;
    }
    if (client->buffer.isEmpty() && (!client->socket || client->socket->bytesAvailable() == 0)) {
        if (client->socket) client->socket->disconnectFromServer();
        return;
    }
    closeClient(client, Reply::failure("the request was not finished within " +
                                       std::to_string(limits_.idle.count()) + " ms; closing the connection")
                            .toLine());
}

bool InstanceServer::signalRunningInstance(std::chrono::milliseconds limit) {
    return signalRunningInstance(socketLocation().path, limit);
}

bool InstanceServer::signalRunningInstance(const std::string& socketPath, std::chrono::milliseconds limit) {
    const ExchangeResult r = exchangeLine(socketPath, kBringUpLine, limit);
    if (r.status != ExchangeStatus::Answered) {
        if (!r.error.empty()) platform::debugString("control socket: " + r.error);
        return false;
    }
    return r.reply.find("\"ok\":true") != std::string::npos;
}

bool InstanceServer::signalStartingInstance(const std::string& socketPath, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left <= std::chrono::milliseconds(0)) return false;
        const ExchangeResult r = exchangeLine(socketPath, kBringUpLine, left);
        if (r.status == ExchangeStatus::Answered) return r.reply.find("\"ok\":true") != std::string::npos;
        if (r.status != ExchangeStatus::NotRunning) return false;
        // The other instance holds the name but has not opened its socket yet.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

} // namespace zq::control
