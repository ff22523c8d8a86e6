#pragma once

#include <atomic>

namespace mirla {

/// Routes Ctrl-C (SIGINT) to the engine's break request instead of ending the program, and
/// marks it for the line reader. With `interruptReads` a read in progress returns early, so
/// that Ctrl-C at the prompt can clear the line; otherwise reads resume.
void InstallInterruptHandler(std::atomic<bool>& breakRequested, bool interruptReads);

/// True when Ctrl-C was pressed since the last call; clears the mark.
bool TakeInterrupt();

} // namespace mirla
