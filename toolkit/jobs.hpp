// Long work off the window thread: a job runs a function on a thread of its
// own while the caller's event loop keeps its windows painted and answering.
// The function must not touch windows, controls or any other toolkit object;
// it shares only data of the caller's with it (atomics, or what stays
// unchanged until the job is finished).
#pragma once

#include <functional>

// How often a running job's window hears from it.
constexpr int JobTickMilliseconds = 100;

// Runs `work` on a new thread. While it runs, `window` gets a JobEvent
// (EventSourceJob: the job) with detail JobTick every JobTickMilliseconds,
// and one with JobEnded once `work` has returned. Returns the new job's id; 0
// when the window is dead or no thread could be started (`work` never runs).
int JobStart(int window, std::function<bool()> work);
// Waits until the job's work has returned and releases the job. Returns what
// the work returned: false also when it threw, and for a dead id.
bool JobFinish(int job);
