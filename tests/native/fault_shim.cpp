// A library preloaded into kavrel-tool by the process test to cause the faults that a disk,
// a network file system or an operator cause: set in the environment, one word each.
//   KAVREL_FAULT_READ=PATH:OFFSET  reads of the file PATH (also when it is standard input)
//                                  fail with EIO from byte OFFSET on
//   KAVREL_FAULT=LIST              comma-separated; each applies to files opened for writing
//                                  (descriptors above 2):
//     write     write fails with ENOSPC          fsync   fsync fails with EIO
//     close     close closes, then reports EIO   tmpfile O_TMPFILE is refused (EOPNOTSUPP)
//     stall:MARKER  the first write creates the file MARKER and waits for a signal forever
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

template <class F>
F Next(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

bool FaultListed(const char* fault) {
    const char* list = std::getenv("KAVREL_FAULT");
    if (list == nullptr) return false;
    const size_t length = std::strlen(fault);
    for (const char* p = list; *p != '\0';) {
        const char* end = std::strchr(p, ',');
        if (end == nullptr) end = p + std::strlen(p);
        if (static_cast<size_t>(end - p) >= length && std::strncmp(p, fault, length) == 0 &&
            (p[length] == ',' || p[length] == ':' || p[length] == '\0')) {
            return true;
        }
        p = *end == ',' ? end + 1 : end;
    }
    return false;
}

// The argument after "stall:", up to the next comma.
std::string StallMarker() {
    const char* list = std::getenv("KAVREL_FAULT");
    const char* at = list == nullptr ? nullptr : std::strstr(list, "stall:");
    if (at == nullptr) return {};
    std::string marker(at + 6);
    return marker.substr(0, marker.find(','));
}

// A regular file that this process may write: the outputs, not stdin/stdout/stderr.
bool IsOutputFile(int fd) {
    if (fd <= 2) return false;
    struct stat status {};
    const int flags = fcntl(fd, F_GETFL);
    return fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && flags >= 0 && (flags & O_ACCMODE) != O_RDONLY;
}

// The byte of the faulty file from which reads fail, when fd is that file.
bool ReadFaultOffset(int fd, off_t& offset) {
    const char* fault = std::getenv("KAVREL_FAULT_READ");
    const char* colon = fault == nullptr ? nullptr : std::strrchr(fault, ':');
    if (colon == nullptr) return false;
    char link[64];
    char target[PATH_MAX];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t length = readlink(link, target, sizeof target - 1);
    if (length < 0) return false;
    target[length] = '\0';
    if (std::string(fault, colon) != target) return false;
    offset = static_cast<off_t>(std::strtoll(colon + 1, nullptr, 10));
    return true;
}

// Whether a write to fd must fail (after stalling first, when asked to).
bool WriteFaults(int fd) {
    if (!IsOutputFile(fd)) return false;
    static bool stalled = false;
    const std::string marker = StallMarker();
    if (!marker.empty() && !stalled) {
        stalled = true;
        const int file = Next<int (*)(const char*, int, ...)>("open")(marker.c_str(), O_WRONLY | O_CREAT, 0644);
        if (file >= 0) close(file);
        for (;;) pause();
    }
    if (!FaultListed("write")) return false;
    errno = ENOSPC;
    return true;
}

int OpenWith(const char* name, const char* path, int flags, va_list args) {
    mode_t mode = 0;
    if ((flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE) mode = static_cast<mode_t>(va_arg(args, int));
    if ((flags & O_TMPFILE) == O_TMPFILE && FaultListed("tmpfile")) {
        errno = EOPNOTSUPP;
        return -1;
    }
    return Next<int (*)(const char*, int, ...)>(name)(path, flags, mode);
}

}  // namespace

extern "C" {

int open(const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const int fd = OpenWith("open", path, flags, args);
    va_end(args);
    return fd;
}

int open64(const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const int fd = OpenWith("open64", path, flags, args);
    va_end(args);
    return fd;
}

ssize_t read(int fd, void* buffer, size_t count) {
    static const auto real = Next<ssize_t (*)(int, void*, size_t)>("read");
    off_t failAt = 0;
    if (ReadFaultOffset(fd, failAt)) {
        const off_t at = lseek(fd, 0, SEEK_CUR);
        if (at >= failAt) {
            errno = EIO;
            return -1;
        }
        // Deliver the bytes before the fault first, as a disk would.
        if (at >= 0 && static_cast<off_t>(count) > failAt - at) count = static_cast<size_t>(failAt - at);
    }
    return real(fd, buffer, count);
}

ssize_t write(int fd, const void* buffer, size_t count) {
    static const auto real = Next<ssize_t (*)(int, const void*, size_t)>("write");
    return WriteFaults(fd) ? -1 : real(fd, buffer, count);
}

// Streams of the C++ library write through writev.
ssize_t writev(int fd, const struct iovec* parts, int count) {
    static const auto real = Next<ssize_t (*)(int, const struct iovec*, int)>("writev");
    return WriteFaults(fd) ? -1 : real(fd, parts, count);
}

int fsync(int fd) {
    static const auto real = Next<int (*)(int)>("fsync");
    if (IsOutputFile(fd) && FaultListed("fsync")) {
        errno = EIO;
        return -1;
    }
    return real(fd);
}

int close(int fd) {
    static const auto real = Next<int (*)(int)>("close");
    const bool fail = IsOutputFile(fd) && FaultListed("close");
    const int result = real(fd);
    if (fail) {
        errno = EIO;
        return -1;
    }
    return result;
}

}  // extern "C"
