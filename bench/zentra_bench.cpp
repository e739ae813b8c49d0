// Measures the program against baselines built in the same run, on the display it is given:
//   start-up   exec to the window first mapped, Entry state (no setting file);
//   memory     resident size of the process and all its descendants, in Entry and after
//              the reveal (a saved number is checked at start);
//   load       exec to the page's load event, reported by the page itself;
//   idle CPU   CPU time of the process tree in 10 s after the reveal.
// Each program runs under a private mount with a throwaway home folder (root only).
//
//   zentra_bench <program> <bare frame> <bare web view> <port> [runs]

#include <httplib.h>  // before Xlib, whose macros clash with its names

#include <X11/Xlib.h>
#include <dirent.h>
#include <poll.h>
#include <pwd.h>
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
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double MillisSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The page both the program and the baseline load; it reports its own load event.
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

struct ProcessStat {
    int parent = 0;
    long rssPages = 0;
    long cpuTicks = 0;
};

std::map<int, ProcessStat> AllProcesses() {
    std::map<int, ProcessStat> all;
    DIR* proc = ::opendir("/proc");
    while (const dirent* entry = ::readdir(proc)) {
        const int pid = std::atoi(entry->d_name);
        if (pid <= 0) continue;
        std::ifstream stat("/proc/" + std::string(entry->d_name) + "/stat");
        std::string line;
        if (!std::getline(stat, line)) continue;
        std::istringstream rest(line.substr(line.rfind(')') + 2));
        std::string field;
        std::vector<std::string> fields;
        while (rest >> field) fields.push_back(field);
        if (fields.size() < 22) continue;
        // After "pid (comm) ": state ppid ... utime(12) stime(13) ... rss(22)
        all[pid] = {std::stoi(fields[1]), std::stol(fields[21]), std::stol(fields[11]) + std::stol(fields[12])};
    }
    ::closedir(proc);
    return all;
}

std::vector<int> Tree(int root, const std::map<int, ProcessStat>& all) {
    std::vector<int> tree{root};
    for (std::size_t i = 0; i < tree.size(); ++i) {
        for (const auto& [pid, stat] : all) {
            if (stat.parent == tree[i]) tree.push_back(pid);
        }
    }
    return tree;
}

struct TreeUsage {
    double rssMb = 0;
    long cpuTicks = 0;
    int processes = 0;
};

TreeUsage Usage(int root) {
    const auto all = AllProcesses();
    TreeUsage usage;
    for (const int pid : Tree(root, all)) {
        const auto found = all.find(pid);
        if (found == all.end()) continue;
        usage.rssMb += found->second.rssPages * (::sysconf(_SC_PAGESIZE) / 1024.0) / 1024.0;
        usage.cpuTicks += found->second.cpuTicks;
        ++usage.processes;
    }
    return usage;
}

std::string HomeFolder() {
    const passwd* entry = ::getpwuid(::getuid());
    return entry ? entry->pw_dir : "/root";
}

// One run of a program: started under a private mount over the home folder, watched on
// the X server for its window.
class Run {
public:
    Run(const std::vector<std::string>& command, const std::string& settingContent) {
        home_ = std::filesystem::temp_directory_path() / ("zentra-bench-" + std::to_string(::getpid()));
        std::filesystem::remove_all(home_);
        std::filesystem::create_directories(home_);
        if (!settingContent.empty()) std::ofstream(home_ / "setting.cfg", std::ios::binary) << settingContent;

        display_ = XOpenDisplay(nullptr);
        XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask);
        XSync(display_, True);

        started_ = Clock::now();
        pid_ = ::fork();
        if (pid_ == 0) {
            std::vector<std::string> argv = {"unshare", "-m", "sh", "-c", "mount --bind \"$0\" \"$1\" && shift && exec \"$@\"",
                                             home_.string(), HomeFolder()};
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

    // Milliseconds from exec to the first top-level window mapped.
    double WaitForWindow() {
        const int fd = ConnectionNumber(display_);
        while (MillisSince(started_) < 20000) {
            while (XPending(display_)) {
                XEvent event;
                XNextEvent(display_, &event);
                if (event.type != MapNotify || event.xmap.override_redirect) continue;
                // The frame: a titled top-level window (toolkits map untitled helpers too).
                char* title = nullptr;
                if (XFetchName(display_, event.xmap.window, &title) && title) {
                    const double ms = MillisSince(started_);
                    XFree(title);
                    return ms;
                }
            }
            pollfd wait{fd, POLLIN, 0};
            ::poll(&wait, 1, 50);
        }
        return -1;
    }

    double ElapsedMs() const { return MillisSince(started_); }
    Clock::time_point Started() const { return started_; }
    // The program itself: unshare and sh exec into it, so the pid stays the same.
    int Pid() const { return pid_; }

private:
    std::filesystem::path home_;
    Display* display_ = nullptr;
    Clock::time_point started_;
    pid_t pid_ = -1;
};

void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Figures {
    std::vector<double> startMs, entryMb, entryProcesses, revealedMb, loadMs, idleCpuPercent;
};

constexpr const char* kSaved = " 370370367036 \r\n";

void MeasureEntry(const std::vector<std::string>& command, Figures& figures) {
    Run run(command, "");
    figures.startMs.push_back(run.WaitForWindow());
    SleepMs(1500);
    const TreeUsage usage = Usage(run.Pid());
    figures.entryMb.push_back(usage.rssMb);
    figures.entryProcesses.push_back(usage.processes);
}

void MeasureRevealed(const std::vector<std::string>& command, PageServer& server, Figures& figures) {
    server.Reset();
    Run run(command, kSaved);
    run.WaitForWindow();
    while (!server.Loaded() && run.ElapsedMs() < 20000) SleepMs(5);
    if (const auto loaded = server.Loaded()) {
        figures.loadMs.push_back(std::chrono::duration<double, std::milli>(*loaded - run.Started()).count());
    }
    while (run.ElapsedMs() < 5000) SleepMs(20);  // the program reveals at its fourth tick
    figures.revealedMb.push_back(Usage(run.Pid()).rssMb);
    const long before = Usage(run.Pid()).cpuTicks;
    SleepMs(10000);
    const long used = Usage(run.Pid()).cpuTicks - before;
    figures.idleCpuPercent.push_back(100.0 * used / ::sysconf(_SC_CLK_TCK) / 10.0);
}

void Print(const char* what, double program, double baseline, const char* unit, const char* target) {
    std::printf("%-32s %10.1f %10.1f %8.3f   %s\n", what, program, baseline, baseline > 0 ? program / baseline : 0,
                target);
    (void)unit;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s <program> <bare frame> <bare web view> <port> [runs]\n", argv[0]);
        return 2;
    }
    const std::string program = argv[1], bareFrame = argv[2], bareWebView = argv[3];
    const int port = std::atoi(argv[4]);
    const int runs = argc > 5 ? std::atoi(argv[5]) : 5;
    const std::string page = "http://127.0.0.1:" + std::to_string(port) + "/dev/ci/info/usage_bar_new/123456789012";

    PageServer server(port);
    Figures ours, frame, webView;
    for (int i = 0; i < runs; ++i) {
        std::fprintf(stderr, "run %d of %d\n", i + 1, runs);
        MeasureEntry({program}, ours);
        MeasureEntry({bareFrame}, frame);
        MeasureRevealed({program}, server, ours);
        MeasureRevealed({bareWebView, page}, server, webView);
    }

    auto samples = [](const char* what, const std::vector<double>& values) {
        std::fprintf(stderr, "%-28s", what);
        for (const double v : values) std::fprintf(stderr, " %8.1f", v);
        std::fprintf(stderr, "\n");
    };
    samples("start-up, program", ours.startMs);
    samples("start-up, bare frame", frame.startMs);
    samples("Entry MB, program", ours.entryMb);
    samples("Entry MB, bare frame", frame.entryMb);
    samples("load ms, program", ours.loadMs);
    samples("load ms, bare web view", webView.loadMs);
    std::printf("Medians of %d runs          program   baseline    ratio   target\n", runs);
    Print("start-up to window (ms)", Median(ours.startMs), Median(frame.startMs), "ms", "<= 1.15 (bare frame)");
    Print("memory in Entry (MB)", Median(ours.entryMb), Median(frame.entryMb), "MB", "<= 1.10 (bare frame)");
    std::printf("%-32s %10.0f %10.0f            %s\n", "processes in Entry", Median(ours.entryProcesses),
                Median(frame.entryProcesses), "1: no web engine process");
    Print("memory after reveal (MB)", Median(ours.revealedMb), Median(webView.revealedMb), "MB",
          "<= 1.10 (bare web view)");
    Print("exec to page loaded (ms)", Median(ours.loadMs), Median(webView.loadMs), "ms", "<= 1.10 (bare web view)");
    std::printf("%-32s %10.2f %10.2f            %s\n", "idle CPU after reveal (%core)", Median(ours.idleCpuPercent),
                Median(webView.idleCpuPercent), "< 1% of a core");
    return 0;
}
