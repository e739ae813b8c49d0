#pragma once

#include <cstddef>

namespace zq {

// The resident memory of the web engine's processes: every process below this one (the
// network process, the web process and the sandbox around it). Read from /proc.
std::size_t EngineResidentBytes();

// Ends the engine's network process at once, with whatever it is receiving; the engine
// starts a new one when it next needs one.
void EndNetworkProcess();

}  // namespace zq
