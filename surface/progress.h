#pragma once

// How a long drawing is watched and stopped: shared by the engine's
// recursions and every surface that reports progress.

#include <atomic>

// Set by another thread to abandon a drawing; read (relaxed) at every element.
using StopFlag = std::atomic<bool>;

// Called every 50000 counted elements with its argument.
using ProgressFn = void (*)(void*);
