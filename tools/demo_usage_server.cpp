// A stand-in for the provider's usage server, on 127.0.0.1 only: for any number under the
// usage path it serves a plausible usage page, with figures that depend on the number.
//
//   demo_usage_server [--port N]     (0 or no port: any free port; the port is printed)

#include <httplib.h>

#include <pthread.h>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <string_view>
#include <thread>

namespace {

constexpr std::string_view kUsagePath = "/dev/ci/info/usage_bar_new/";

std::string EscapeHtml(std::string_view text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
            case '&': escaped += "&amp;"; break;
            case '<': escaped += "&lt;"; break;
            case '>': escaped += "&gt;"; break;
            case '"': escaped += "&quot;"; break;
            case '\'': escaped += "&#39;"; break;
            default: escaped += c;
        }
    }
    return escaped;
}

std::string UsagePage(const std::string& number) {
    const std::size_t seed = std::hash<std::string>{}(number);
    const int quotaGb = 10 * (2 + static_cast<int>(seed % 5));    // 20 to 60 GB
    const int usedTenths = static_cast<int>((seed / 7) % (quotaGb * 10));
    const int percent = usedTenths * 10 / quotaGb;
    char figures[160];
    std::snprintf(figures, sizeof figures,
                  "<p class=\"big\">%d,%d GB <small>dari %d GB</small></p>"
                  "<div class=\"bar\"><div style=\"width:%d%%\"></div></div>"
                  "<p>Terpakai %d%% &middot; sisa %d,%d GB</p>",
                  usedTenths / 10, usedTenths % 10, quotaGb, percent, percent,
                  (quotaGb * 10 - usedTenths) / 10, (quotaGb * 10 - usedTenths) % 10);
    return std::string(
               "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Pemakaian Kuota</title>"
               "<style>"
               "body{margin:0;font:13px sans-serif;color:#1d2b3a;background:#f4f8fc}"
               "main{width:185px;padding:14px 8px}"
               "h1{font-size:16px;margin:0 0 4px;color:#0d3c78}"
               ".num{color:#567;margin:0 0 18px;word-break:break-all}"
               ".big{font-size:22px;font-weight:bold;margin:0 0 8px}"
               ".big small{font-size:12px;font-weight:normal;color:#567}"
               ".bar{height:14px;background:#d7e3f4;border-radius:7px;overflow:hidden}"
               ".bar div{height:100%;background:#1565c0}"
               "footer{margin-top:24px;font-size:11px;color:#789}"
               "</style></head><body><main><h1>Pemakaian Kuota</h1><p class=\"num\">No. Zentra ") +
           EscapeHtml(number) + "</p>" + figures +
           "<footer>Server demo, bukan data sebenarnya.</footer></main></body></html>";
}

}  // namespace

int main(int argc, char** argv) {
    int port = 0;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string_view(argv[i]) == "--port") port = std::atoi(argv[i + 1]);
    }

    httplib::Server server;
    server.Get(std::string(kUsagePath) + "(.*)", [](const httplib::Request& request, httplib::Response& response) {
        response.set_content(UsagePage(request.matches[1]), "text/html; charset=utf-8");
    });

    const int bound = port > 0 ? (server.bind_to_port("127.0.0.1", port) ? port : -1)
                               : server.bind_to_any_port("127.0.0.1");
    if (bound <= 0) {
        std::fprintf(stderr, "demo_usage_server: cannot listen on 127.0.0.1:%d\n", port);
        return 1;
    }
    std::printf("%d\n", bound);
    std::fflush(stdout);

    // Stop cleanly on SIGTERM or SIGINT: a thread waits for them, never a signal handler.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::thread([&server, stopSignals] {
        int received = 0;
        sigwait(&stopSignals, &received);
        server.stop();
    }).detach();
    return server.listen_after_bind() ? 0 : 1;
}
