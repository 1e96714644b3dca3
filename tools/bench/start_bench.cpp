// kavrel_start_bench: how long a Windows program takes under Wine from its start to a given
// caption, timed from X events on the virtual display (Wine mirrors a top-level window's
// caption into the X window's _NET_WM_NAME as UTF-8). It starts `wine PROGRAM` itself, watches
// every new top-level X window for its name, closes the window that shows the caption
// (WM_DELETE_WINDOW, the close box) and waits for the program to end. The two programs run
// in turn, several times, and the medians go to standard output as JSON.
//   kavrel_start_bench RUNS EMPTY_EXE EMPTY_CAPTION PROGRAM_EXE PROGRAM_DIR PROGRAM_CAPTION
// The environment (DISPLAY, WINEPREFIX, the locale) is the caller's; a warm Wine session in
// the prefix is the caller's too.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

double NowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// What X saw of one top-level window, in ms since the program was started.
struct WindowSeen {
    double created = -1, mapped = -1, firstName = -1, matched = -1;
    int names = 0;  // changes of _NET_WM_NAME seen
};

struct Run {
    bool ok = false;
    WindowSeen window;
};

class Watcher {
public:
    Watcher() : display_(XOpenDisplay(nullptr)) {
        if (display_ == nullptr) throw std::runtime_error("no X display");
        netWmName_ = XInternAtom(display_, "_NET_WM_NAME", False);
        utf8_ = XInternAtom(display_, "UTF8_STRING", False);
        protocols_ = XInternAtom(display_, "WM_PROTOCOLS", False);
        deleteWindow_ = XInternAtom(display_, "WM_DELETE_WINDOW", False);
        XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask);
        XSync(display_, False);
    }
    ~Watcher() { XCloseDisplay(display_); }

    // Starts `wine exe` in dir and waits for a top-level window whose name holds caption.
    Run Measure(const std::string& exe, const std::string& dir, const std::string& caption, double timeoutMs) {
        Drain();
        seen_.clear();
        const double start = NowMs();
        const pid_t pid = fork();
        if (pid < 0) throw std::runtime_error("fork failed");
        if (pid == 0) {
            if (!dir.empty() && chdir(dir.c_str()) != 0) _exit(126);
            execlp("wine", "wine", exe.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        Run run;
        Window found = 0;
        while (found == 0 && NowMs() - start < timeoutMs) {
            if (!WaitForEvent(50)) continue;
            XEvent event;
            XNextEvent(display_, &event);
            const double at = NowMs() - start;
            if (event.type == CreateNotify) {
                const Window w = event.xcreatewindow.window;
                seen_[w].created = at;
                XSelectInput(display_, w, PropertyChangeMask | StructureNotifyMask);
                found = Check(w, caption, at);  // the name may have come before the selection
            } else if (event.type == MapNotify && seen_.count(event.xmap.window)) {
                if (seen_[event.xmap.window].mapped < 0) seen_[event.xmap.window].mapped = at;
            } else if (event.type == PropertyNotify && event.xproperty.atom == netWmName_) {
                WindowSeen& w = seen_[event.xproperty.window];
                ++w.names;
                if (w.firstName < 0) w.firstName = at;
                found = Check(event.xproperty.window, caption, at);
            }
        }
        if (found != 0) {
            run.ok = true;
            run.window = seen_[found];
            Close(found);
        }
        End(pid, found != 0);
        return run;
    }

private:
    bool WaitForEvent(int ms) {
        if (XPending(display_) > 0) return true;
        pollfd fd{ConnectionNumber(display_), POLLIN, 0};
        return poll(&fd, 1, ms) > 0 && XPending(display_) > 0;
    }

    void Drain() {
        XSync(display_, False);
        while (XPending(display_) > 0) {
            XEvent event;
            XNextEvent(display_, &event);
        }
    }

    std::string NameOf(Window w) {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        std::string name;
        if (XGetWindowProperty(display_, w, netWmName_, 0, 4096, False, utf8_, &type, &format, &count, &after,
                               &data) == Success && data != nullptr) {
            name.assign(reinterpret_cast<char*>(data), count);
            XFree(data);
        }
        return name;
    }

    Window Check(Window w, const std::string& caption, double at) {
        if (NameOf(w).find(caption) == std::string::npos) return 0;
        seen_[w].matched = at;
        return w;
    }

    void Close(Window w) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = w;
        event.xclient.message_type = protocols_;
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(deleteWindow_);
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(display_, w, False, NoEventMask, &event);
        XFlush(display_);
    }

    // Waits for the program to end after its close; one that does not is killed.
    static void End(pid_t pid, bool closed) {
        const double deadline = NowMs() + (closed ? 15000 : 0);
        int status = 0;
        while (waitpid(pid, &status, WNOHANG) == 0) {
            if (NowMs() > deadline) {
                kill(pid, SIGKILL);
                waitpid(pid, &status, 0);
                return;
            }
            usleep(10000);
        }
    }

    Display* display_;
    Atom netWmName_, utf8_, protocols_, deleteWindow_;
    std::map<Window, WindowSeen> seen_;
};

double Median(std::vector<double> values) {
    if (values.empty()) return -1;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Series {
    std::vector<double> matched, created, mapped, firstName, names;
    int failed = 0;
    void Add(const Run& run) {
        if (!run.ok) {
            ++failed;
            return;
        }
        matched.push_back(run.window.matched);
        created.push_back(run.window.created);
        mapped.push_back(run.window.mapped);
        firstName.push_back(run.window.firstName);
        names.push_back(run.window.names);
    }
    std::string Json() const {
        char buffer[512];
        std::snprintf(buffer, sizeof buffer,
                      "{\"caption_ms\": %.1f, \"window_created_ms\": %.1f, \"window_mapped_ms\": %.1f, "
                      "\"first_caption_ms\": %.1f, \"captions_seen\": %.0f, \"runs\": %zu, \"failed\": %d}",
                      Median(matched), Median(created), Median(mapped), Median(firstName), Median(names),
                      matched.size(), failed);
        return buffer;
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 7) {
        std::fprintf(stderr,
                     "usage: kavrel_start_bench RUNS EMPTY_EXE EMPTY_CAPTION PROGRAM_EXE PROGRAM_DIR PROGRAM_CAPTION\n");
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[1]));
    try {
        Watcher watcher;
        constexpr double kTimeoutMs = 60000;
        // One start of each first, untimed: the files come into the page cache.
        watcher.Measure(argv[2], "", argv[3], kTimeoutMs);
        watcher.Measure(argv[4], argv[5], argv[6], kTimeoutMs);
        Series empty, program;
        for (int i = 0; i < runs; ++i) {
            // Alternating which goes first, so a slow spell of the machine hits both.
            if (i % 2 == 0) {
                empty.Add(watcher.Measure(argv[2], "", argv[3], kTimeoutMs));
                program.Add(watcher.Measure(argv[4], argv[5], argv[6], kTimeoutMs));
            } else {
                program.Add(watcher.Measure(argv[4], argv[5], argv[6], kTimeoutMs));
                empty.Add(watcher.Measure(argv[2], "", argv[3], kTimeoutMs));
            }
        }
        const double ratio = Median(program.matched) / Median(empty.matched);
        std::printf("{\"empty\": %s, \"program\": %s, \"ratio\": %.3f}\n", empty.Json().c_str(),
                    program.Json().c_str(), ratio);
        return empty.failed + program.failed == 0 ? 0 : 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kavrel_start_bench: %s\n", error.what());
        return 1;
    }
}
