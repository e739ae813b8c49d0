#pragma once

namespace zq {

// Making the web context sets up the system's graphics driver on the window's thread: the
// engine asks EGL for a display even for pages drawn without the GPU. Loading the driver's
// libraries is most of that cost (with a software driver and its code generator, over
// 300 ms on a slow machine). Done first on another thread, it leaves the window's thread
// only the part that needs the window's own display. Safe to call on any thread; does
// nothing where there is no EGL.
void PreloadGraphicsDriver();

}  // namespace zq
