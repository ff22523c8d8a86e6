#include "cli/Interrupts.h"

#include <csignal>

namespace mirla {

namespace {

std::atomic<bool>* g_breakRequested = nullptr;
volatile std::sig_atomic_t g_interrupted = 0;

static_assert(std::atomic<bool>::is_always_lock_free, "the break flag is set from a signal handler");

void OnInterrupt(int /*signal*/) {
    g_interrupted = 1;
    if (g_breakRequested != nullptr) {
        g_breakRequested->store(true);
    }
}

} // namespace

void InstallInterruptHandler(std::atomic<bool>& breakRequested, bool interruptReads) {
    g_breakRequested = &breakRequested;
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = interruptReads ? 0 : SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
}

bool TakeInterrupt() {
    const bool interrupted = g_interrupted != 0;
    g_interrupted = 0;
    return interrupted;
}

} // namespace mirla
