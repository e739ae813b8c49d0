#pragma once

#include <sys/types.h>

#include <chrono>
#include <vector>

namespace zq {

// Every process below this one: the web engine's network and web processes and the sandbox
// around them.
std::vector<pid_t> EngineProcesses();

// The processor time the engine's web processes have used so far (all of the engine's
// processes where none is known by name).
std::chrono::duration<double> WebProcessCpuTime();

}  // namespace zq
