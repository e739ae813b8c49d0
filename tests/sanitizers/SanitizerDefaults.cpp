// Compiled into every executable of a sanitized build, so that the test runner's own
// runs (listing the tests, for instance) use the same options as the tests themselves.

// Eight frames of allocation context: enough to see the leaking code, and short enough
// that a leak in the program's handlers is not matched by the GUI library frames deep
// below them in the event loop (the suppressions name those libraries).
extern "C" const char* __asan_default_options() { return "malloc_context_size=8"; }

extern "C" const char* __lsan_default_options() {
    return "suppressions=" ZENTRA_LSAN_SUPPRESSIONS ":print_suppressions=0";
}

extern "C" const char* __ubsan_default_options() { return "print_stacktrace=1:halt_on_error=1"; }

#if defined(__linux__)
#include <dlfcn.h>

// GL vendor libraries that the GL dispatch library unloads when the display closes, before
// the leak check at exit: what they keep until then would be reported from an unknown
// module, out of reach of the suppressions that name them. Kept loaded, they keep their
// names. (Mesa 25's GLX library, on Debian 13; absent elsewhere.)
namespace {
[[maybe_unused]] void* const kGlVendorPinned = ::dlopen("libGLX_mesa.so.0", RTLD_LAZY | RTLD_NODELETE);
}  // namespace
#endif
