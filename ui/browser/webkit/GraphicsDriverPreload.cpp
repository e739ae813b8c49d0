#include "ui/browser/webkit/GraphicsDriverPreload.h"

#include <dlfcn.h>

#include <cstdint>
#include <cstring>

namespace zq {

namespace {

// The few EGL names needed, from the EGL 1.5 and EGL_MESA_platform_surfaceless registry,
// so that the program needs no EGL headers: the engine brings the library itself.
using EGLDisplay = void*;
using EGLBoolean = unsigned int;
using EGLint = std::int32_t;
constexpr EGLint kEglExtensions = 0x3055;
constexpr EGLint kEglPlatformSurfacelessMesa = 0x31DD;

using QueryString = const char* (*)(EGLDisplay, EGLint);
using GetProcAddress = void* (*)(const char*);
using GetPlatformDisplay = EGLDisplay (*)(unsigned int, void*, const EGLint*);
using Initialize = EGLBoolean (*)(EGLDisplay, EGLint*, EGLint*);

bool HasExtension(const char* extensions, const char* name) {
    const std::size_t length = std::strlen(name);
    for (const char* at = extensions; at && (at = std::strstr(at, name)); at += length) {
        const bool starts = at == extensions || at[-1] == ' ';
        if (starts && (at[length] == ' ' || at[length] == '\0')) return true;
    }
    return false;
}

}  // namespace

void PreloadGraphicsDriver() {
    // Kept loaded, as the engine keeps it.
    void* egl = ::dlopen("libEGL.so.1", RTLD_NOW | RTLD_LOCAL);
    if (!egl) return;
    auto queryString = reinterpret_cast<QueryString>(::dlsym(egl, "eglQueryString"));
    auto getProcAddress = reinterpret_cast<GetProcAddress>(::dlsym(egl, "eglGetProcAddress"));
    auto initialize = reinterpret_cast<Initialize>(::dlsym(egl, "eglInitialize"));
    if (!queryString || !getProcAddress || !initialize) return;
    // Loads the vendor's EGL library: the first half of the cost.
    const char* clientExtensions = queryString(nullptr, kEglExtensions);
    if (!HasExtension(clientExtensions, "EGL_MESA_platform_surfaceless")) return;
    auto getPlatformDisplay = reinterpret_cast<GetPlatformDisplay>(getProcAddress("eglGetPlatformDisplayEXT"));
    if (!getPlatformDisplay) return;
    // A display of its own, needing no window system, loads the same driver file the
    // engine's display will; it stays initialized so that the driver stays loaded.
    if (EGLDisplay display = getPlatformDisplay(kEglPlatformSurfacelessMesa, nullptr, nullptr)) {
        initialize(display, nullptr, nullptr);
    }
    // The engine's view loads the GL library for its drawing area.
    ::dlopen("libGLESv2.so.2", RTLD_NOW | RTLD_LOCAL);
}

}  // namespace zq
