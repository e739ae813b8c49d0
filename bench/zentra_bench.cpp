// Measures the program against a floor and a peer built in the same run, on the display it
// is given (a desktop-like one: a window manager runs and holds the X server):
//   start-up    exec to the window managed by the window manager, Entry state;
//   memory      PSS, and private memory beside it, summed over the process and every
//               process below it: in Entry (against the bare frame) and after the reveal
//               (against the plain peer);
//   load        exec to the page's load event, reported by the page itself;
//   stalls      the longest _NET_WM_PING round trip from the window's appearance until
//               after the reveal: how long the event loop did not answer; and from a
//               click on "Save & Check" (typed into with XTest) until six seconds later;
//   idle        context switches a second, over every thread of every process of the
//               tree, for 10 s from 12 s after a saved-number start: how often an open
//               window with its page shown wakes the machine.
// Program and baseline runs alternate, the order swapped every run. Each program runs
// under a private mount with a throwaway home folder (root only).
//
//   zentra_bench <program> <bare frame> <plain peer> <port> [runs]

#include <httplib.h>  // before Xlib, whose macros clash with its names

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <pwd.h>
#include <sched.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

// At half speed (ZQ_BENCH_CORE set by run.sh) every measured program, and every process it
// starts, runs on that one core, which a busy process shares.
void ConfineToGivenCore() {
    const char* core = std::getenv("ZQ_BENCH_CORE");
    if (!core || !*core) return;
    cpu_set_t set;
    CPU_ZERO(&set);
    CPU_SET(std::atoi(core), &set);
    ::sched_setaffinity(0, sizeof set, &set);
}

using Clock = std::chrono::steady_clock;

double MillisSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The page the program and the peer load; it reports its own load event.
class PageServer {
public:
    explicit PageServer(int port) {
        server_.set_keep_alive_max_count(1);
        server_.Get("/dev/ci/info/usage_bar_new/(.*)", [](const httplib::Request&, httplib::Response& response) {
            response.set_content(
                "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><style>body{margin:0;font:13px sans-serif;"
                "background:#f4f8fc}main{width:185px;padding:14px 8px}.bar{height:14px;background:#d7e3f4}"
                ".bar div{height:100%;width:62%;background:#1565c0}</style></head><body><main>"
                "<h1>Pemakaian Kuota</h1><p>18,6 GB dari 30 GB</p><div class=\"bar\"><div></div></div>"
                "<p>Terpakai 62% &middot; sisa 11,4 GB</p></main>"
                "<script>addEventListener('load', function() { fetch('/loaded'); });</script></body></html>",
                "text/html; charset=utf-8");
        });
        server_.Get("/loaded", [this](const httplib::Request&, httplib::Response& response) {
            std::lock_guard lock(mutex_);
            loaded_ = Clock::now();
            response.set_content("", "text/plain");
        });
        if (!server_.bind_to_port("127.0.0.1", port)) {
            std::fprintf(stderr, "cannot listen on 127.0.0.1:%d\n", port);
            std::exit(1);
        }
        thread_ = std::thread([this] { server_.listen_after_bind(); });
    }
    ~PageServer() {
        server_.stop();
        thread_.join();
    }
    void Reset() {
        std::lock_guard lock(mutex_);
        loaded_.reset();
    }
    std::optional<Clock::time_point> Loaded() {
        std::lock_guard lock(mutex_);
        return loaded_;
    }

private:
    httplib::Server server_;
    std::thread thread_;
    std::mutex mutex_;
    std::optional<Clock::time_point> loaded_;
};

// The process and all below it, through /proc/PID/task/PID/children.
std::vector<std::string> Tree(int root) {
    std::vector<std::string> tree{std::to_string(root)};
    for (std::size_t i = 0; i < tree.size(); ++i) {
        std::ifstream children("/proc/" + tree[i] + "/task/" + tree[i] + "/children");
        for (std::string child; children >> child;) tree.push_back(child);
    }
    return tree;
}

// Context switches, voluntary and not, of every thread of the tree, by thread.
std::map<std::string, double> TreeSwitches(int root) {
    std::map<std::string, double> switches;
    for (const std::string& pid : Tree(root)) {
        std::error_code error;
        for (const auto& task : std::filesystem::directory_iterator("/proc/" + pid + "/task", error)) {
            std::ifstream status(task.path() / "status");
            double& count = switches[task.path().string()];
            for (std::string line; std::getline(status, line);) {
                if (line.rfind("voluntary_ctxt_switches:", 0) == 0 || line.rfind("nonvoluntary_ctxt_switches:", 0) == 0) {
                    count += std::stod(line.substr(line.find(':') + 1));
                }
            }
        }
    }
    return switches;
}

// Switches between two looks: a thread's own since the first, all of a thread's that
// started in between (one that ended in between is not counted).
double SwitchesBetween(const std::map<std::string, double>& before, const std::map<std::string, double>& after) {
    double total = 0;
    for (const auto& [thread, count] : after) {
        const auto earlier = before.find(thread);
        total += count - (earlier == before.end() ? 0 : earlier->second);
    }
    return total;
}

struct Memory {
    double pssMb = 0;
    double privateMb = 0;
    int processes = 0;
};

Memory TreeMemory(int root) {
    Memory memory;
    for (const std::string& pid : Tree(root)) {
        std::ifstream rollup("/proc/" + pid + "/smaps_rollup");
        bool read = false;
        for (std::string line; std::getline(rollup, line);) {
            const auto kb = [&](const char* key) {
                return line.rfind(key, 0) == 0 ? std::stod(line.substr(std::string(key).size())) / 1024.0 : 0.0;
            };
            memory.pssMb += kb("Pss:");
            memory.privateMb += kb("Private_Clean:") + kb("Private_Dirty:");
            read = true;
        }
        memory.processes += read ? 1 : 0;
    }
    return memory;
}

std::string HomeFolder() {
    const passwd* entry = ::getpwuid(::getuid());
    return entry ? entry->pw_dir : "/root";
}

// One run of a program: started under a private mount over the home folder, found on the
// X server by its process id once the window manager manages its window, and pinged from
// then on.
class Run {
public:
    Run(const std::vector<std::string>& command, const std::string& settingContent) {
        home_ = std::filesystem::temp_directory_path() / ("zentra-bench-" + std::to_string(::getpid()));
        std::filesystem::remove_all(home_);
        std::filesystem::create_directories(home_);
        if (!settingContent.empty()) std::ofstream(home_ / "setting.cfg", std::ios::binary) << settingContent;

        display_ = XOpenDisplay(nullptr);
        root_ = DefaultRootWindow(display_);
        clientList_ = XInternAtom(display_, "_NET_CLIENT_LIST", False);
        wmPid_ = XInternAtom(display_, "_NET_WM_PID", False);
        protocols_ = XInternAtom(display_, "WM_PROTOCOLS", False);
        ping_ = XInternAtom(display_, "_NET_WM_PING", False);
        // Property changes of the client list, and the pings' answers, which clients send
        // to the root window.
        XSelectInput(display_, root_, PropertyChangeMask | SubstructureNotifyMask);
        XSync(display_, True);

        started_ = Clock::now();
        pid_ = ::fork();
        if (pid_ == 0) {
            ConfineToGivenCore();
            std::vector<std::string> argv = {"unshare", "-m", "sh", "-c",
                                             "mount --bind \"$0\" \"$1\" && shift && exec \"$@\"", home_.string(),
                                             HomeFolder()};
            argv.insert(argv.end(), command.begin(), command.end());
            std::vector<char*> raw;
            for (auto& a : argv) raw.push_back(a.data());
            raw.push_back(nullptr);
            ::execvp("unshare", raw.data());
            _exit(127);
        }
    }

    ~Run() {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
        XCloseDisplay(display_);
        std::filesystem::remove_all(home_);
    }

    Run(const Run&) = delete;
    Run& operator=(const Run&) = delete;

    // Milliseconds from exec to the window managed; -1 if it never came.
    double WaitForWindow() {
        while (MillisSince(started_) < 20000) {
            if (FindWindow()) return MillisSince(started_);
            Events(10);
        }
        return -1;
    }

    // Pings the window until the given time since exec; the longest round trip so far.
    double PingUntil(double msSinceStart) {
        while (MillisSince(started_) < msSinceStart) {
            if (!pending_) SendPing();
            Events(5);
            if (pending_) longest_ = std::max(longest_, MillisSince(sent_));
        }
        return longest_;
    }

    // Waits without pinging, so that nothing of the bench's wakes the program.
    void SleepUntil(double msSinceStart) const {
        const double left = msSinceStart - MillisSince(started_);
        if (left > 0) std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(left));
    }

    // Types keys into the window that has the keyboard (the window manager gave it the
    // new window), as a user's keyboard does.
    void Type(const std::string& keys) {
        for (const char key : keys) {
            Press(XStringToKeysym(std::string(1, key).c_str()));
        }
    }
    void Press(KeySym symbol) {
        const KeyCode code = XKeysymToKeycode(display_, symbol);
        XTestFakeKeyEvent(display_, code, True, CurrentTime);
        XTestFakeKeyEvent(display_, code, False, CurrentTime);
        XFlush(display_);
        Events(30);
    }
    void ForgetStalls() { longest_ = 0; }

    double ElapsedMs() const { return MillisSince(started_); }
    Clock::time_point Started() const { return started_; }
    int Pid() const { return pid_; }

private:
    bool FindWindow() {
        Atom type;
        int format;
        unsigned long count = 0, after;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display_, root_, clientList_, 0, 1024, False, XA_WINDOW, &type, &format, &count,
                               &after, &data) != Success || !data) {
            return false;
        }
        const auto* windows = reinterpret_cast<const Window*>(data);
        for (unsigned long i = 0; i < count && !window_; ++i) {
            unsigned char* pidData = nullptr;
            unsigned long pidCount = 0;
            if (XGetWindowProperty(display_, windows[i], wmPid_, 0, 1, False, XA_CARDINAL, &type, &format,
                                   &pidCount, &after, &pidData) == Success && pidData) {
                if (pidCount == 1 && static_cast<int>(*reinterpret_cast<const unsigned long*>(pidData)) == pid_) {
                    window_ = windows[i];
                }
                XFree(pidData);
            }
        }
        XFree(data);
        return window_ != 0;
    }

    void SendPing() {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window_;
        event.xclient.message_type = protocols_;
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(ping_);
        event.xclient.data.l[1] = ++stamp_;
        event.xclient.data.l[2] = static_cast<long>(window_);
        XSendEvent(display_, window_, False, NoEventMask, &event);
        XFlush(display_);
        sent_ = Clock::now();
        pending_ = true;
    }

    void Events(int waitMs) {
        const auto until = Clock::now() + std::chrono::milliseconds(waitMs);
        do {
            while (XPending(display_)) {
                XEvent event;
                XNextEvent(display_, &event);
                if (event.type == ClientMessage && pending_ && static_cast<Atom>(event.xclient.data.l[0]) == ping_ &&
                    event.xclient.data.l[1] == stamp_) {
                    const double roundTrip = MillisSince(sent_);
                    longest_ = std::max(longest_, roundTrip);
                    pending_ = false;
                    // ZQ_BENCH_STALLS=1: when each long stall began, to find its cause.
                    if (roundTrip > 50 && std::getenv("ZQ_BENCH_STALLS")) {
                        std::fprintf(stderr, "stall %.0f ms from %.0f ms after exec\n", roundTrip,
                                     MillisSince(started_) - roundTrip);
                    }
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        } while (Clock::now() < until);
    }

    std::filesystem::path home_;
    Display* display_ = nullptr;
    Window root_ = 0, window_ = 0;
    Atom clientList_ = 0, wmPid_ = 0, protocols_ = 0, ping_ = 0;
    Clock::time_point started_, sent_;
    long stamp_ = 0;
    bool pending_ = false;
    double longest_ = 0;
    pid_t pid_ = -1;
};

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Figures {
    std::vector<double> startMs, entryPss, entryPrivate, entryProcesses, entryStallMs;
    std::vector<double> revealedPss, revealedPrivate, loadMs, revealedStallMs, idleWakeups, clickStallMs;
};

constexpr const char* kSaved = " 370370367036 \r\n";

void MeasureEntry(const std::vector<std::string>& command, Figures& figures) {
    Run run(command, "");
    figures.startMs.push_back(run.WaitForWindow());
    figures.entryStallMs.push_back(run.PingUntil(run.ElapsedMs() + 1500));
    const Memory memory = TreeMemory(run.Pid());
    figures.entryPss.push_back(memory.pssMb);
    figures.entryPrivate.push_back(memory.privateMb);
    figures.entryProcesses.push_back(memory.processes);
}

// With a saved number: the page is requested at start and revealed four seconds later.
void MeasureRevealed(const std::vector<std::string>& command, PageServer& server, Figures& figures) {
    server.Reset();
    Run run(command, kSaved);
    run.WaitForWindow();
    figures.revealedStallMs.push_back(run.PingUntil(6000));
    if (const auto loaded = server.Loaded()) {
        figures.loadMs.push_back(std::chrono::duration<double, std::milli>(*loaded - run.Started()).count());
    }
    const Memory memory = TreeMemory(run.Pid());
    figures.revealedPss.push_back(memory.pssMb);
    figures.revealedPrivate.push_back(memory.privateMb);
    run.SleepUntil(12000);
    const auto before = TreeSwitches(run.Pid());
    run.SleepUntil(22000);
    figures.idleWakeups.push_back(SwitchesBetween(before, TreeSwitches(run.Pid())) / 10);
}

// A typed number, then the button pressed (the focus moved to it at the twelfth
// character): the longest stall from there on, while the engine starts and the page loads.
void MeasureClick(const std::vector<std::string>& command, PageServer& server, Figures& figures) {
    server.Reset();
    Run run(command, "");
    run.WaitForWindow();
    run.PingUntil(run.ElapsedMs() + 1000);
    run.Type("123456789012");
    run.ForgetStalls();
    run.Press(XK_space);
    figures.clickStallMs.push_back(run.PingUntil(run.ElapsedMs() + 6000));
}

// Median of program / baseline, run by run.
double PairedRatio(const std::vector<double>& program, const std::vector<double>& baseline) {
    std::vector<double> ratios;
    for (std::size_t i = 0; i < std::min(program.size(), baseline.size()); ++i) {
        if (baseline[i] > 0) ratios.push_back(program[i] / baseline[i]);
    }
    return Median(ratios);
}

void Row(const char* what, const std::vector<double>& program, const std::vector<double>& baseline,
         const char* target) {
    std::printf("%-34s %9.1f %9.1f %8.3f   %s\n", what, Median(program), Median(baseline), PairedRatio(program, baseline),
                target);
}

// A figure of the program's alone, against a limit.
void Limit(const char* what, const std::vector<double>& program, double limit, const char* unit) {
    const auto over = std::count_if(program.begin(), program.end(), [limit](double v) { return v > limit; });
    std::printf("%-34s %9.1f %9s %8s   <= %g %s: %s\n", what, Median(program), "", "", limit, unit,
                over ? (std::to_string(over) + " of " + std::to_string(program.size()) + " runs over, not met").c_str()
                     : "met in every run");
}

void Samples(const char* what, const std::vector<double>& values) {
    std::fprintf(stderr, "%-30s", what);
    for (const double v : values) std::fprintf(stderr, " %7.1f", v);
    std::fprintf(stderr, "\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s <program> <bare frame> <plain peer> <port> [runs]\n", argv[0]);
        return 2;
    }
    const std::string program = argv[1], bareFrame = argv[2], plainPeer = argv[3];
    const int port = std::atoi(argv[4]);
    const int runs = argc > 5 ? std::atoi(argv[5]) : 15;
    const std::string page = "http://127.0.0.1:" + std::to_string(port) + "/dev/ci/info/usage_bar_new/123456789012";

    // Windows in the client list can be gone by the time they are read.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    PageServer server(port);
    // The toolkit's first client on a display probes its visuals and leaves the result on
    // the root window; one unmeasured run pays for it, as a desktop session has long since.
    {
        Figures warmUp;
        MeasureEntry({bareFrame}, warmUp);
    }
    Figures ours, frame, peer;
    for (int i = 0; i < runs; ++i) {
        std::fprintf(stderr, "run %d of %d\n", i + 1, runs);
        if (i % 2 == 0) {
            MeasureEntry({program}, ours);
            MeasureEntry({bareFrame}, frame);
            MeasureRevealed({program}, server, ours);
            MeasureRevealed({plainPeer, page}, server, peer);
        } else {
            MeasureEntry({bareFrame}, frame);
            MeasureEntry({program}, ours);
            MeasureRevealed({plainPeer, page}, server, peer);
            MeasureRevealed({program}, server, ours);
        }
        MeasureClick({program}, server, ours);
    }

    Samples("start-up ms, program", ours.startMs);
    Samples("start-up ms, bare frame", frame.startMs);
    Samples("Entry PSS MB, program", ours.entryPss);
    Samples("Entry PSS MB, bare frame", frame.entryPss);
    Samples("revealed PSS MB, program", ours.revealedPss);
    Samples("revealed PSS MB, plain peer", peer.revealedPss);
    Samples("longest stall ms, program", ours.revealedStallMs);
    Samples("longest stall ms, plain peer", peer.revealedStallMs);
    Samples("stall after a click ms, program", ours.clickStallMs);
    Samples("idle wakeups/s, program", ours.idleWakeups);
    Samples("idle wakeups/s, plain peer", peer.idleWakeups);

    std::printf("Medians of %d alternating runs   program  baseline    ratio   target\n", runs);
    std::printf("Against the bare frame (the floor):\n");
    Row("  exec to window managed (ms)", ours.startMs, frame.startMs, "<= 1.10");
    Row("  PSS in Entry (MB)", ours.entryPss, frame.entryPss, "<= 1.10");
    Row("  private memory in Entry (MB)", ours.entryPrivate, frame.entryPrivate, "");
    Row("  processes in Entry", ours.entryProcesses, frame.entryProcesses, "1: no web engine");
    Row("  longest stall, Entry (ms)", ours.entryStallMs, frame.entryStallMs, "< 100 ms");
    std::printf("Against the plain peer (wxWebView with WebKit's defaults, made at start):\n");
    Row("  PSS after the reveal (MB)", ours.revealedPss, peer.revealedPss, "<= 0.80");
    Row("  private memory after reveal (MB)", ours.revealedPrivate, peer.revealedPrivate, "");
    Row("  exec to page loaded (ms)", ours.loadMs, peer.loadMs, "");
    Row("  longest stall, saved-number start (ms)", ours.revealedStallMs, peer.revealedStallMs, "< 100 ms");
    Row("  idle wakeups a second, page shown", ours.idleWakeups, peer.idleWakeups, "<= 25 a second");
    std::printf("The program's own, in every run:\n");
    Limit("  longest stall, saved-number start", ours.revealedStallMs, 100, "ms");
    Limit("  longest stall after a click", ours.clickStallMs, 100, "ms");
    Limit("  idle wakeups a second, page shown", ours.idleWakeups, 25, "a second");
    return 0;
}
