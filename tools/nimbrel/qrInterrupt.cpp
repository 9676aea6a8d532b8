#include "qrInterrupt.h"

#include <unistd.h>

#include <array>
#include <csignal>
#include <cstring>
#include <stdexcept>

namespace Quarn::Cli {

namespace {

std::atomic<bool> gInterrupted {false};
static_assert(std::atomic<bool>::is_always_lock_free, "the flag is raised in a signal handler");

// A name is copied in before its slot is marked used, so the handler only
// ever reads complete names.
struct TemporarySlot {
    std::atomic<bool> used {false};
    char path[4096] = {};
};
std::array<TemporarySlot, 8> gTemporaries;

void removeTemporaries()
{
    for (TemporarySlot& slot : gTemporaries)
        if (slot.used.load())
            ::unlink(slot.path);
}

void say(const char* text)
{
    const ssize_t ignored = ::write(STDERR_FILENO, text, std::strlen(text));
    (void)ignored;
}

extern "C" void onSignal(int signal)
{
    // The first Ctrl-C asks for a clean cancel; anything after it, and the
    // signals that ask a program to end, stop it now.
    if (signal == SIGINT && !gInterrupted.exchange(true))
        return;
    removeTemporaries();
    say(signal == SIGINT ? "nimbrel: interrupted again; stopped, unfinished files removed\n"
                         : "nimbrel: terminated; stopped, unfinished files removed\n");
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

}  // namespace

const std::atomic<bool>& installInterruptHandler()
{
    for (int signal : {SIGINT, SIGTERM})
        std::signal(signal, onSignal);
    // Neither exists on Windows.
#ifdef SIGHUP
    std::signal(SIGHUP, onSignal);
#endif
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    return gInterrupted;
}

int registerTemporary(const std::string& path)
{
    if (path.size() >= sizeof(TemporarySlot::path))
        throw std::length_error(path + ": the name is too long for a temporary file");
    for (std::size_t i = 0; i < gTemporaries.size(); ++i) {
        // Files are written from one thread at a time, so finding a free
        // slot needs no lock.
        TemporarySlot& slot = gTemporaries[i];
        if (slot.used.load())
            continue;
        std::memcpy(slot.path, path.c_str(), path.size() + 1);
        slot.used.store(true);
        return int(i);
    }
    throw std::length_error(path + ": too many files written at once");
}

void forgetTemporary(int slot)
{
    gTemporaries.at(std::size_t(slot)).used.store(false);
}

}  // namespace Quarn::Cli
