#include "ui/browser/WebEngineContext.h"

#ifdef __WXGTK__

#include <glib.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include <webkit2/webkit2.h>

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

struct ProgramContext {
    WebKitWebContext* context;
    bool sandboxed;
};

// Ephemeral: no cache, cookies, local storage or HSTS list is written to disk.
const ProgramContext& TheContext() {
    static const ProgramContext program = [] {
        WebKitWebContext* context = webkit_web_context_new_ephemeral();
        webkit_web_context_set_cache_model(context, WEBKIT_CACHE_MODEL_DOCUMENT_VIEWER);
        const bool sandboxed = SandboxCanRun();
        if (sandboxed) webkit_web_context_set_sandbox_enabled(context, TRUE);
        return ProgramContext{context, sandboxed};
    }();
    return program;
}

}  // namespace

bool PrepareWebEngine() { return TheContext().sandboxed; }

void RemoveWebEngineLeftovers() {
    namespace fs = std::filesystem;
    const fs::path folder = fs::path(g_get_user_cache_dir()) / ".flatpak";
    const std::string ours = "webkit-" + std::to_string(::getpid()) + "-";
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        if (entry.path().filename().string().starts_with(ours)) fs::remove_all(entry.path(), error);
    }
    fs::remove(folder, error);  // only when nothing else is left in it
}

}  // namespace zq

// The toolkit creates its web views with webkit_web_view_new(), which ties them to WebKit's
// default context: a persistent one that keeps caches and site data in the user's folders.
// This definition in the executable comes first in the dynamic symbol lookup, so the
// toolkit's call lands here and every view gets the program's own context instead.
extern "C" GtkWidget* webkit_web_view_new() {
    return webkit_web_view_new_with_context(zq::TheContext().context);
}

#else

namespace zq {

bool PrepareWebEngine() { return false; }

void RemoveWebEngineLeftovers() {}

}  // namespace zq

#endif
