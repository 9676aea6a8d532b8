#include "qrInterrupt.h"

#include <csignal>

namespace Quarn::Cli {

namespace {

std::atomic<bool> gInterrupted {false};
static_assert(std::atomic<bool>::is_always_lock_free, "the flag is raised in a signal handler");

extern "C" void onInterrupt(int signal)
{
    gInterrupted.store(true);
    std::signal(signal, SIG_DFL);
}

}  // namespace

const std::atomic<bool>& installInterruptHandler()
{
    std::signal(SIGINT, onInterrupt);
    std::signal(SIGTERM, onInterrupt);
    return gInterrupted;
}

}  // namespace Quarn::Cli
