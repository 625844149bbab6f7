#include "platform/TextFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "platform/RuntimeError.h"

namespace zemra {
namespace {

[[noreturn]] void RaiseErrno(int error) {
    Raise(error != 0 ? std::strerror(error) : "the file could not be written");
}

// The file a path names: a symbolic link is replaced by what it points to.
std::string ResolvedTarget(const std::string& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char resolved[PATH_MAX];
        if (realpath(path.c_str(), resolved)) return resolved;
    }
    return path;
}

// A fresh name beside the target, unique within this process and, through the process id,
// among processes.
std::string TemporaryName(const std::string& target) {
    static std::atomic<unsigned> counter{0};
    return target + ".tmp-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
}

bool WriteAll(int fd, const std::string& text) {
    const char* p = text.data();
    size_t left = text.size();
    while (left > 0) {
        const ssize_t n = write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

void WriteTextFile(const std::string& path, const std::string& text) {
    if (path.empty()) RaiseErrno(ENOENT);
    const std::string target = ResolvedTarget(path);
    struct stat existing {};
    const bool exists = stat(target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) RaiseErrno(EISDIR);

    const std::string temp = TemporaryName(target);
    const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) RaiseErrno(errno);
    // A replaced file keeps its permissions; a new one gets the usual ones (0666 less umask).
    if (exists) (void)fchmod(fd, existing.st_mode & 07777);
    const bool written = WriteAll(fd, text);
    int error = written ? 0 : errno;
    if (close(fd) != 0 && error == 0) error = errno;
    if (written && error == 0 && rename(temp.c_str(), target.c_str()) == 0) return;
    if (error == 0) error = errno;
    unlink(temp.c_str());
    RaiseErrno(error);
}

std::ifstream OpenRegularFile(const std::string& path) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (!std::filesystem::exists(status)) Raise(kFileNotFound);
    if (!std::filesystem::is_regular_file(status)) Raise(kPathAccessError);
    std::ifstream file(path, std::ios::binary);
    if (!file) Raise(kPathAccessError);
    return file;
}

std::string ReadTextFile(const std::string& path, size_t limit) {
    std::ifstream file = OpenRegularFile(path);
    std::string bytes(limit + 1, '\0');
    file.read(bytes.data(), static_cast<std::streamsize>(limit + 1));
    if (file.bad()) Raise("Device I/O error");
    bytes.resize(static_cast<size_t>(file.gcount()));
    if (bytes.size() > limit) Raise("File too large");
    return bytes;
}

}  // namespace zemra
