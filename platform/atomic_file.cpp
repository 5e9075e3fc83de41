#include "platform/atomic_file.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace zq::platform {

namespace {
namespace fs = std::filesystem;

fs::path targetOf(const fs::path& file) {
    std::error_code ec;
    fs::path target = file;
    // Follow a chain of links, but not forever.
    for (int i = 0; i < 16 && fs::is_symlink(target, ec); ++i) {
        const fs::path link = fs::read_symlink(target, ec);
        if (ec) break;
        target = link.is_absolute() ? link : target.parent_path() / link;
    }
    return target;
}

bool writeAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

void syncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd); // best effort: the rename itself is already atomic
    ::close(fd);
}
} // namespace

bool writeFileAtomically(const fs::path& file, std::span<const std::uint8_t> bytes, struct ::stat* written) {
    static std::atomic<unsigned> counter{0};
    const fs::path target = targetOf(file);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");

    struct stat st {};
    const bool existed = ::stat(target.c_str(), &st) == 0;
    if (existed && S_ISDIR(st.st_mode)) return false;
    const mode_t mode = existed ? (st.st_mode & 07777) : 0666;

    fs::path temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = folder / (".zq70-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".tmp");
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd < 0 && errno != EEXIST) return false;
    }
    if (fd < 0) return false;

    bool ok = writeAll(fd, bytes.data(), bytes.size());
    // The umask narrowed a new file's mode; an existing file keeps exactly the mode it had.
    if (ok && existed) ok = ::fchmod(fd, mode) == 0 || errno == EPERM;
    if (ok) ok = ::fsync(fd) == 0;
    if (ok && written) ok = ::fstat(fd, written) == 0;
    if (::close(fd) != 0) ok = false;
    if (ok) ok = ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    syncFolder(folder);
    return true;
}

bool writeFileAtomically(const fs::path& file, std::string_view text, struct ::stat* written) {
    return writeFileAtomically(
        file, std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()),
        written);
}

} // namespace zq::platform
