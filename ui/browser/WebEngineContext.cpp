#include "ui/browser/WebEngineContext.h"

#include <glib.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <charconv>
#include <filesystem>
#include <string>
#include <string_view>

#include <webkit2/webkit2.h>

#include "ui/browser/GraphicsDriverPreload.h"

namespace zq {

namespace {

// WebKit's sandbox runs its web processes under bubblewrap; inside some containers
// bubblewrap cannot create its namespaces, and a web process that fails to start would
// leave the page blank. Try it once the way WebKit would need it.
bool SandboxCanRun() {
    gchar* bwrap = g_find_program_in_path("bwrap");
    if (!bwrap) return false;
    const gchar* argv[] = {bwrap, "--ro-bind", "/", "/", "--unshare-all", "--die-with-parent",
                           "true", nullptr};
    gint status = -1;
    const gboolean ran = g_spawn_sync(nullptr, const_cast<gchar**>(argv), nullptr,
                                      static_cast<GSpawnFlags>(G_SPAWN_STDOUT_TO_DEV_NULL | G_SPAWN_STDERR_TO_DEV_NULL),
                                      nullptr, nullptr, nullptr, nullptr, &status, nullptr);
    g_free(bwrap);
    return ran && g_spawn_check_wait_status(status, nullptr);
}

std::once_flag probed;
bool sandboxCanRun = false;

// Past these, the engine's processes are told to free memory and, if `ended`, are ended at
// the limit; a usage page needs a small fraction of either.
WebKitMemoryPressureSettings* MemoryLimit(guint megabytes, bool ended) {
    WebKitMemoryPressureSettings* settings = webkit_memory_pressure_settings_new();
    webkit_memory_pressure_settings_set_memory_limit(settings, megabytes);
    webkit_memory_pressure_settings_set_conservative_threshold(settings, 0.33);
    webkit_memory_pressure_settings_set_strict_threshold(settings, 0.5);
    webkit_memory_pressure_settings_set_kill_threshold(settings, ended ? 1.0 : 0.0);
    // The program's own watch bounds what a page takes; this is the engine's own second
    // line, which need not wake an idle window twice a second.
    webkit_memory_pressure_settings_set_poll_interval(settings, 5.0);
    return settings;
}

void CancelDownload(WebKitWebContext*, WebKitDownload* download, gpointer) {
    webkit_download_cancel(download);
}

WebKitWebContext* MakeContext() {
    // An ended network process leaves the view with a failed load or no answer at all,
    // depending on the engine's version, never with the reason: the program's own watch
    // bounds it together with the others and names the cause.
    WebKitMemoryPressureSettings* networkLimit = MemoryLimit(150, false);
    webkit_website_data_manager_set_memory_pressure_settings(networkLimit);
    webkit_memory_pressure_settings_free(networkLimit);

    // Ephemeral: no cache, cookies, local storage or HSTS list is written to disk.
    WebKitWebsiteDataManager* data = webkit_website_data_manager_new_ephemeral();
    // A certificate the system does not trust ends the load; the page is never shown anyway.
    webkit_website_data_manager_set_tls_errors_policy(data, WEBKIT_TLS_ERRORS_POLICY_FAIL);
    // An ended web process is reported as having exceeded its memory limit.
    WebKitMemoryPressureSettings* webLimit = MemoryLimit(250, true);
    auto* context = WEBKIT_WEB_CONTEXT(g_object_new(WEBKIT_TYPE_WEB_CONTEXT, "website-data-manager", data,
                                                    "memory-pressure-settings", webLimit, nullptr));
    webkit_memory_pressure_settings_free(webLimit);
    g_object_unref(data);
    if (!context) return nullptr;
    webkit_web_context_set_cache_model(context, WEBKIT_CACHE_MODEL_DOCUMENT_VIEWER);
    ProbeWebEngine();
    if (sandboxCanRun) webkit_web_context_set_sandbox_enabled(context, TRUE);
    g_signal_connect(context, "download-started", G_CALLBACK(CancelDownload), nullptr);
    return context;
}

// The sandbox's launch descriptions live in the runtime folder of a login session, else
// in the cache folder, one folder per web process: webkit-PID-N, PID being ours.
void RemoveLaunchDescriptions(bool othersThatAreGone) {
    namespace fs = std::filesystem;
    const std::string ours = "webkit-" + std::to_string(::getpid()) + "-";
    for (const char* base : {g_get_user_runtime_dir(), g_get_user_cache_dir()}) {
        const fs::path folder = fs::path(base) / ".flatpak";
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(folder, error)) {
            const std::string name = entry.path().filename().string();
            bool remove = name.starts_with(ours);
            if (!remove && othersThatAreGone && name.starts_with("webkit-")) {
                const std::string_view rest = std::string_view(name).substr(7);
                pid_t pid = 0;
                const auto [end, failed] = std::from_chars(rest.data(), rest.data() + rest.size(), pid);
                remove = failed == std::errc() && end != rest.data() && *end == '-' && pid > 0 &&
                         ::kill(pid, 0) != 0 && errno == ESRCH;
            }
            if (remove) fs::remove_all(entry.path(), error);
        }
        fs::remove(folder, error);  // only when nothing else is left in it
    }
}

}  // namespace

void ProbeWebEngine() {
    std::call_once(probed, [] {
        PreloadGraphicsDriver();
        sandboxCanRun = SandboxCanRun();
    });
}

WebKitWebContext* ProgramWebContext() {
    static WebKitWebContext* const context = [] {
        RemoveLaunchDescriptions(true);
        return MakeContext();
    }();
    return context;
}

void RemoveWebEngineLeftovers() { RemoveLaunchDescriptions(false); }

}  // namespace zq
