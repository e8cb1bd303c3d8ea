#include "platform/Process.h"

#include <cstdio>
#include <cstdlib>

namespace platform {
namespace {
std::function<void(int)>& handler()
{
    static std::function<void(int)> current;
    return current;
}
} // namespace

void exitProcess(int code)
{
    if (handler()) {
        handler()(code);
        std::abort();
    }
    std::fflush(nullptr);
    std::_Exit(code);
}

void setExitHandler(std::function<void(int)> replacement)
{
    handler() = std::move(replacement);
}

} // namespace platform
