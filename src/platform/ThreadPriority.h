#pragma once
// Thread priorities for work that must not hold up the window.
namespace ThreadPriority {

// Makes the calling thread give way to the window when both want the processor (on Linux a
// thread has its own nice value); it still runs at full speed on a processor that is free.
// Takes effect once per thread.
void giveWayToWindow();

} // namespace ThreadPriority
