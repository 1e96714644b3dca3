// All-or-nothing output files. The new contents go to a temporary file in the target's
// directory, anonymous (O_TMPFILE) where the file system allows it, so that even a run killed
// outright leaves nothing behind; it gets a name only for the moment before the rename. While
// a named temporary exists, a terminating signal removes it before the process ends.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <optional>

#include "tools/file_io.h"
#include "tools/posix_file.h"
#include "tools/tool_error.h"

namespace kavrel::tool {

namespace {

// ---- removal of a named temporary on a terminating signal ----------------------------------

constexpr int kTerminatingSignals[] = {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGPIPE, SIGXFSZ};

// Read by the handler, so plain storage: a flag and a fixed buffer, never a std::string.
char g_pendingPath[PATH_MAX];
volatile sig_atomic_t g_pendingSet = 0;

extern "C" void RemovePendingTemporary(int signal) {
    if (g_pendingSet) ::unlink(g_pendingPath);
    // Die of the same signal, so the caller sees how the run ended.
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    ::sigaction(signal, &fallback, nullptr);
    ::raise(signal);
}

sigset_t TerminatingSet() {
    sigset_t set;
    sigemptyset(&set);
    for (int signal : kTerminatingSignals) sigaddset(&set, signal);
    return set;
}

// Holds the terminating signals off for a scope, so a name is never created without being
// registered, nor registered without existing.
class SignalsHeld {
public:
    SignalsHeld() {
        const sigset_t set = TerminatingSet();
        ::sigprocmask(SIG_BLOCK, &set, &previous_);
    }
    ~SignalsHeld() { ::sigprocmask(SIG_SETMASK, &previous_, nullptr); }
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

private:
    sigset_t previous_;
};

// Installs the handler for the life of one temporary, keeping a signal that the caller
// ignores (as nohup does) ignored, and puts the previous dispositions back afterwards.
class CleanupOnSignal {
public:
    CleanupOnSignal() {
        struct sigaction action {};
        action.sa_handler = RemovePendingTemporary;
        sigemptyset(&action.sa_mask);
        for (size_t i = 0; i < std::size(kTerminatingSignals); ++i) {
            ::sigaction(kTerminatingSignals[i], nullptr, &previous_[i]);
            if (previous_[i].sa_handler != SIG_IGN) ::sigaction(kTerminatingSignals[i], &action, nullptr);
        }
    }
    ~CleanupOnSignal() {
        Forget();
        for (size_t i = 0; i < std::size(kTerminatingSignals); ++i) {
            ::sigaction(kTerminatingSignals[i], &previous_[i], nullptr);
        }
    }
    CleanupOnSignal(const CleanupOnSignal&) = delete;
    CleanupOnSignal& operator=(const CleanupOnSignal&) = delete;

    // Call with the signals held.
    static void Remember(const std::string& path) {
        g_pendingSet = 0;
        path.copy(g_pendingPath, sizeof g_pendingPath - 1);
        g_pendingPath[path.size()] = '\0';
        g_pendingSet = 1;
    }
    static void Forget() { g_pendingSet = 0; }

private:
    struct sigaction previous_[std::size(kTerminatingSignals)];
};

// ---- the temporary file ------------------------------------------------------------------

ToolError WriteFailure(const std::string& name, const std::string& reason) {
    return ToolError("cannot write " + name + ": " + reason);
}

std::string DirectoryOf(const std::string& path) {
    const std::string parent = std::filesystem::path(path).parent_path().string();
    return parent.empty() ? "." : parent;
}

class TemporaryFile {
public:
    // name: the output as the user gave it, for messages; target: the file to replace.
    TemporaryFile(std::string name, const std::string& target)
        : name_(std::move(name)), base_(target + ".tmp." + std::to_string(::getpid())) {
        // A rename needs the temporary on the target's file system; the longest name tried
        // must fit the signal handler's buffer.
        if (base_.size() + 4 >= sizeof g_pendingPath) throw WriteFailure(name_, "the path is too long");
        fd_ = UniqueFd(::open(DirectoryOf(target).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
        if (!fd_.Valid()) CreateNamed();
    }
    ~TemporaryFile() {
        fd_ = UniqueFd();
        if (!path_.empty()) {
            SignalsHeld held;
            ::unlink(path_.c_str());
            CleanupOnSignal::Forget();
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int Fd() const { return fd_.Get(); }

    // Gives an anonymous temporary its name (a no-op for a named one), flushes and closes
    // it, every step checked; then it can be renamed.
    const std::string& Finish() {
        if (::fsync(fd_.Get()) != 0) throw WriteFailure(name_, SystemReason());
        if (path_.empty()) Link();
        if (const int error = fd_.Close(); error != 0) throw WriteFailure(name_, SystemReason(error));
        return path_;
    }

    // After a successful rename the name belongs to the output.
    void Release() {
        SignalsHeld held;
        path_.clear();
        CleanupOnSignal::Forget();
    }

private:
    // Tries base_, base_.1, ... so a name left by an earlier crash is never reused.
    template <class Create>
    void CreateUnderFreeName(Create create) {
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::string candidate = attempt == 0 ? base_ : base_ + "." + std::to_string(attempt);
            SignalsHeld held;
            if (create(candidate)) {
                path_ = candidate;
                CleanupOnSignal::Remember(path_);
                return;
            }
            if (errno != EEXIST) throw WriteFailure(name_, SystemReason());
        }
        throw WriteFailure(name_, "no free temporary name beside it");
    }

    // Where the file system has no anonymous files.
    void CreateNamed() {
        CreateUnderFreeName([this](const std::string& candidate) {
            fd_ = UniqueFd(::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666));
            return fd_.Valid();
        });
    }

    void Link() {
        const std::string self = "/proc/self/fd/" + std::to_string(fd_.Get());
        CreateUnderFreeName([&](const std::string& candidate) {
            if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, candidate.c_str(), AT_SYMLINK_FOLLOW) == 0) return true;
            // Without /proc, linking the descriptor itself needs a privilege some have.
            if (errno == ENOENT) return ::linkat(fd_.Get(), "", AT_FDCWD, candidate.c_str(), AT_EMPTY_PATH) == 0;
            return false;
        });
    }

    CleanupOnSignal cleanup_;
    std::string name_;
    std::string base_;
    UniqueFd fd_;
    std::string path_;  // the temporary's name while it has one and is not yet renamed
};

void WriteAll(int fd, std::string_view bytes, const std::string& name) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) throw WriteFailure(name, written < 0 ? SystemReason() : "nothing was written");
        bytes.remove_prefix(static_cast<size_t>(written));
    }
}

// Best effort: the rename itself reaches the disk with the directory. Its failure would not
// undo the replacement, which has happened by then.
void SyncDirectory(const std::string& directory) {
    UniqueFd dir(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Valid()) ::fsync(dir.Get());
}

void ReplaceRegularFile(const std::string& name, const std::string& target, std::string_view bytes,
                        std::optional<mode_t> keepMode) {
    TemporaryFile temporary(name, target);
    WriteAll(temporary.Fd(), bytes, name);
    if (keepMode && ::fchmod(temporary.Fd(), *keepMode) != 0) throw WriteFailure(name, SystemReason());
    const std::string& path = temporary.Finish();
    if (::rename(path.c_str(), target.c_str()) != 0) throw WriteFailure(name, SystemReason());
    temporary.Release();
    SyncDirectory(DirectoryOf(target));
}

// A device, a pipe or a socket: written into, never replaced by a regular file.
void WriteInPlace(const std::string& name, std::string_view bytes) {
    UniqueFd file(::open(name.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY));
    if (!file.Valid()) throw WriteFailure(name, SystemReason());
    WriteAll(file.Get(), bytes, name);
    if (const int error = file.Close(); error != 0) throw WriteFailure(name, SystemReason(error));
}

void WriteTo(const std::string& name, const std::string& target, const struct stat& status,
             std::string_view bytes) {
    if (S_ISDIR(status.st_mode)) throw WriteFailure(name, "it is a directory");
    if (S_ISREG(status.st_mode)) {
        ReplaceRegularFile(name, target, bytes, status.st_mode & 07777);
    } else {
        WriteInPlace(name, bytes);
    }
}

}  // namespace

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) {
        if (errno != ENOENT) throw WriteFailure(path, SystemReason());
        ReplaceRegularFile(path, path, bytes, std::nullopt);
        return;
    }
    if (!S_ISLNK(status.st_mode)) {
        WriteTo(path, path, status, bytes);
        return;
    }
    // Through a symbolic link: the file it names gets the contents and the link stays.
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr) {
        throw WriteFailure(path, errno == ENOENT ? "it is a symbolic link to a file that does not exist"
                                                 : SystemReason());
    }
    const std::string target = resolved;
    std::free(resolved);
    if (::stat(target.c_str(), &status) != 0) throw WriteFailure(path, SystemReason());
    WriteTo(path, target, status, bytes);
}

}  // namespace kavrel::tool
