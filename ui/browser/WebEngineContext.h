#pragma once

namespace zq {

// Sets up the context every web view of the program runs in: ephemeral, and sandboxed
// where the sandbox can run. Call before the first web view is created; returns whether
// the web engine's processes are sandboxed.
bool PrepareWebEngine();

// Removes what the web engine's sandbox leaves in the user's cache folder for this
// process (a launch description per web process, never removed by the engine itself).
void RemoveWebEngineLeftovers();

}  // namespace zq
