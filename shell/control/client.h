#pragma once
// The per-user control socket: where it lives, whether a path there is ours, and one request–answer
// exchange with the program listening on it. Plain POSIX and no Qt, so the second instance can signal
// the first before it builds anything and the command-line client stays small.
//
// The socket is "TARVIXDRVER1" in $XDG_RUNTIME_DIR (a folder only its user can enter). Without that
// variable it lives in a folder of our own under /tmp, named with the user id and kept at mode 0700.
// Two users on one machine therefore never reach each other's program.
#include <chrono>
#include <string>
#include <string_view>

#include <sys/types.h>

namespace zq::control {

inline constexpr const char* kSocketName = "TARVIXDRVER1";
// The line a second instance sends: the first one comes to the front.
inline constexpr const char* kBringUpLine = "QUORBEN_004";

struct SocketLocation {
    std::string folder;
    std::string path;             // folder + "/" + kSocketName
    bool privateFallback = false; // the folder is our own one under /tmp (we create it when needed)
};

// From the environment of this process and its real user id.
SocketLocation socketLocation();
// runtimeDir: the value of XDG_RUNTIME_DIR or null; one that is empty or not absolute counts as unset.
SocketLocation socketLocation(const char* runtimeDir, std::string_view tmpBase, uid_t uid);

// Empty when the folder exists, is a real directory (not a link) owned by uid and, for our own
// fallback folder, reachable by nobody else; otherwise why not. With create, a missing fallback folder
// is made (mode 0700) and one of ours with looser modes is tightened.
std::string checkFolder(const SocketLocation& where, uid_t uid, bool create);

enum class PathState {
    Missing,   // nothing there
    OwnSocket, // a socket owned by uid
    Foreign,   // something else: another file type, or another user's
};
// lstat of the path (a link is Foreign); why names the reason for Foreign and for errors.
PathState inspectPath(const std::string& path, uid_t uid, std::string* why);

enum class ExchangeStatus {
    Answered,   // reply holds the answer line without its newline
    NotRunning, // no socket, or nobody listens on it
    NoAnswer,   // connected, but no complete answer line within the limit
    Failed,     // the path is not ours, or the system refused: error says why
};
struct ExchangeResult {
    ExchangeStatus status = ExchangeStatus::Failed;
    std::string reply;
    std::string error;
};

// Upper bound on an answer line; a dump of the keyboard's memories is far below it.
inline constexpr std::size_t kMaxAnswerBytes = 64u << 20;

// Connects to the socket at path (only when it is ours and its peer runs as uid), sends line plus a
// newline, and reads one answer line, all within limit.
ExchangeResult exchangeLine(const std::string& path, std::string_view line, std::chrono::milliseconds limit);

} // namespace zq::control
