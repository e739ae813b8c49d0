#pragma once

typedef struct _WebKitWebContext WebKitWebContext;

namespace zq {

// Starts the engine's network process (it comes with the program's website data) and calls
// `ready` from the event loop once the process answers, or after a time limit: the context
// made after that does not share the processor with the process's start, which on a slow
// machine doubled the time the window went unanswered.
void PrepareWebEngine(void (*ready)(void*), void* data);

// The one context every web view of the program runs in: ephemeral, with bounded memory,
// and sandboxed where the sandbox can run. Made at the first call; null when the web
// engine cannot make one.
WebKitWebContext* ProgramWebContext();

// Finds out, on any thread, whether the engine's sandbox can run here, and loads the
// graphics driver, so that making the context need not wait for either; the context makes
// sure of it otherwise.
void ProbeWebEngine();

// Removes what the web engine's sandbox leaves behind: this process's launch descriptions,
// and those of processes that are gone (a run that was killed or lost its display).
void RemoveWebEngineLeftovers();

}  // namespace zq
