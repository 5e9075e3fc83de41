#pragma once
// Single instance and control channel in one: the first instance listens on the per-user socket
// (client.h says where); a second instance sends "QUORBEN_004" and ends, and the first runs its
// bring-up; zq70ctl sends one JSON request per line and reads one JSON answer per line.
//
// Which process owns the name is decided by an exclusive lock on "<socket>.lock" beside the socket,
// held for the whole run and dropped by the kernel when the process dies. So a socket file found there
// while we hold the lock was left behind by a program that died: it is removed and taken over. A path
// that is not ours (not a socket, or another user's) is never removed.
//
// Everything runs on the thread that owns the server (the UI thread), driven by its event loop; no
// client can hold it up. Per connection: a request line longer than the limit gets an error and the
// connection is closed; a half line that never ends is dropped when the client goes or after the idle
// limit; too many connections at once are turned away with an error. Requests of one connection are
// answered in order; a handler that opens a nested event loop (a modal dialog) makes later requests of
// its connection wait, not run beside it.
//
// Start-up in main():
//   if (InstanceServer::signalRunningInstance()) return 0;     // before anything else
//   ... QApplication, command table ...
//   switch (server.listen()) { case Listening: break;
//       case AlreadyRunning:   // started at the same moment as another: it is still opening its socket
//           return InstanceServer::signalStartingInstance(server.path(), kStartRace) ? 0 : 1;
//       case Failed: report server.error() and run on without the channel, or end. }
#include "shell/control/client.h"
#include "shell/control/command_table.h"

#include <QObject>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <sys/types.h>

class QLocalServer;
class QLocalSocket;

namespace zq::control {

class InstanceServer final : public QObject {
    Q_OBJECT
public:
    struct Limits {
        qsizetype maxLineBytes = 64 * 1024;
        int maxClients = 16;
        std::chrono::milliseconds idle{30000}; // a connection with nothing to do is closed after this
    };
    enum class Outcome {
        Listening,
        AlreadyRunning, // another process owns the name: signal it instead
        Failed,         // error() says why
    };

    // How long a second instance waits for the first one's answer.
    static constexpr std::chrono::milliseconds kSignalLimit{5000};
    // After listen() said AlreadyRunning: the other instance may still be starting, give it this long.
    static constexpr std::chrono::milliseconds kStartRace{10000};

    InstanceServer(const CommandTable& commands, std::function<void()> onBringUp, QObject* parent = nullptr);
    ~InstanceServer() override;

    void setLimits(const Limits& limits) { limits_ = limits; }
    const Limits& limits() const { return limits_; }

    // At socketLocation() from the environment, or at a given place (tests).
    Outcome listen();
    Outcome listen(const SocketLocation& where);
    // Stops listening, closes every connection, removes our socket and releases the name.
    void close();
    bool isListening() const;
    const std::string& error() const { return error_; }
    const std::string& path() const { return path_; }
    int clientCount() const;

    // The second instance's side: true when a first instance took "QUORBEN_004" and answered.
    static bool signalRunningInstance(std::chrono::milliseconds limit = kSignalLimit);
    static bool signalRunningInstance(const std::string& socketPath, std::chrono::milliseconds limit);
    // signalRunningInstance, tried again until the limit for as long as another process holds the
    // name but does not answer yet (it is starting).
    static bool signalStartingInstance(const std::string& socketPath, std::chrono::milliseconds limit);

private:
    struct Client;
    Outcome fail(std::string why);
    void accept();
    void pump(const std::shared_ptr<Client>& client);
    void closeClient(const std::shared_ptr<Client>& client, const QByteArray& lastAnswer);
    void drop(const std::shared_ptr<Client>& client);
    void idleOut(const std::shared_ptr<Client>& client);
    QByteArray answer(const QByteArray& line);

    const CommandTable& commands_;
    std::function<void()> onBringUp_;
    Limits limits_;
    std::unique_ptr<QLocalServer> server_;
    std::vector<std::shared_ptr<Client>> clients_;
    std::string path_;
    std::string error_;
    int lockFd_ = -1;
    dev_t socketDevice_ = 0;
    ino_t socketInode_ = 0;
};

} // namespace zq::control
