#pragma once

#include <functional>

namespace platform {

// Ends the process at once with the given code, without running destructors.
[[noreturn]] void exitProcess(int code);

// Tests replace the ending with a handler that records the code and throws or returns control;
// an empty handler restores the real one. A handler that returns makes exitProcess abort.
void setExitHandler(std::function<void(int)> handler);

} // namespace platform
