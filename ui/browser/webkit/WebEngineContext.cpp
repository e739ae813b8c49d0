#include "ui/browser/webkit/WebEngineContext.h"

#include <glib.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <charconv>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>

#include <webkit2/webkit2.h>

#include "ui/browser/webkit/GraphicsDriverPreload.h"

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

// The program's website data: ephemeral, so no cache, cookies, local storage or HSTS list
// is written to disk. Making it starts the engine's network process.
WebKitWebsiteDataManager* ProgramWebsiteData() {
    static WebKitWebsiteDataManager* const data = [] {
        // An ended network process leaves the view with a failed load or no answer at all,
        // depending on the engine's version, never with the reason: the program's own watch
        // bounds it together with the others and names the cause.
        WebKitMemoryPressureSettings* networkLimit = MemoryLimit(150, false);
        webkit_website_data_manager_set_memory_pressure_settings(networkLimit);
        webkit_memory_pressure_settings_free(networkLimit);
        WebKitWebsiteDataManager* manager = webkit_website_data_manager_new_ephemeral();
        // A certificate the system does not trust ends the load; the page is never shown anyway.
        webkit_website_data_manager_set_tls_errors_policy(manager, WEBKIT_TLS_ERRORS_POLICY_FAIL);
        return manager;
    }();
    return data;
}

// Waits for the network process's first answer, or for a time limit if it never comes.
struct NetworkProcessWait {
    void (*ready)(void*);
    void* data;
    GCancellable* cancellable = g_cancellable_new();
    guint timeout = 0;

    void Ready() {
        if (auto* call = std::exchange(ready, nullptr)) call(data);
    }
    static void Answered(GObject* manager, GAsyncResult* result, gpointer self) {
        auto* wait = static_cast<NetworkProcessWait*>(self);
        if (GList* records = webkit_website_data_manager_fetch_finish(WEBKIT_WEBSITE_DATA_MANAGER(manager), result, nullptr)) {
            g_list_free_full(records, reinterpret_cast<GDestroyNotify>(webkit_website_data_unref));
        }
        if (wait->timeout) g_source_remove(wait->timeout);
        wait->Ready();
        g_object_unref(wait->cancellable);
        delete wait;
    }
    static gboolean TimedOut(gpointer self) {
        auto* wait = static_cast<NetworkProcessWait*>(self);
        wait->timeout = 0;
        wait->Ready();
        g_cancellable_cancel(wait->cancellable);  // its answer still comes, and ends the wait
        return G_SOURCE_REMOVE;
    }
};

WebKitWebContext* MakeContext() {
    WebKitWebsiteDataManager* data = ProgramWebsiteData();
    // An ended web process is reported as having exceeded its memory limit.
    WebKitMemoryPressureSettings* webLimit = MemoryLimit(250, true);
    auto* context = WEBKIT_WEB_CONTEXT(g_object_new(WEBKIT_TYPE_WEB_CONTEXT, "website-data-manager", data,
                                                    "memory-pressure-settings", webLimit, nullptr));
    webkit_memory_pressure_settings_free(webLimit);
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

void PrepareWebEngine(void (*ready)(void*), void* data) {
    auto* wait = new NetworkProcessWait{ready, data};
    // Two seconds: far longer than the process takes to start on a slow, busy machine.
    wait->timeout = g_timeout_add(2000, NetworkProcessWait::TimedOut, wait);
    webkit_website_data_manager_fetch(ProgramWebsiteData(), WEBKIT_WEBSITE_DATA_COOKIES, wait->cancellable,
                                      NetworkProcessWait::Answered, wait);
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
