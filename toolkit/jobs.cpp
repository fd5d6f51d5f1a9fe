// Jobs: a thread per job, a timer on its window for the ticks, and a message
// from the thread when its work has returned.
#include "toolkit/jobs.hpp"

#include <process.h>

#include <utility>

#include "toolkit/job_records.hpp"
#include "toolkit/toolkit_state.hpp"

namespace {

IdTable<JobRecord>& Jobs() {
  return Toolkit().jobs;
}

// No exception leaves the thread: a work that throws has failed.
unsigned __stdcall RunJob(void* argument) noexcept {
  auto& shared = *static_cast<JobShared*>(argument);
  try {
    shared.result = shared.work();
  } catch (...) {
    shared.result = false;
  }
  PostMessageA(shared.window, JobEndedMessage, static_cast<WPARAM>(shared.id), 0);
  return 0;
}

}  // namespace

int JobStart(int window, std::function<bool()> work) {
  HWND handle = static_cast<HWND>(WindowHandle(window));
  if (handle == nullptr || !work) return 0;
  JobRecord record;
  record.window = handle;
  record.shared = std::make_unique<JobShared>();
  record.shared->work = std::move(work);
  record.shared->window = handle;
  const int job = Jobs().Add(AutoId, std::move(record));
  JobRecord& added = *Jobs().Find(job);
  added.shared->id = job;
  // The timer first: the work may return before the thread call does.
  uintptr_t thread = 0;
  if (SetTimer(handle, static_cast<UINT_PTR>(job), JobTickMilliseconds, nullptr) != 0) {
    thread = _beginthreadex(nullptr, 0, RunJob, added.shared.get(), 0, nullptr);
  }
  if (thread == 0) {
    KillTimer(handle, static_cast<UINT_PTR>(job));
    Jobs().Remove(job);
    return 0;
  }
  added.thread.Reset(reinterpret_cast<HANDLE>(thread));
  return job;
}

bool JobFinish(int job) {
  JobRecord* record = Jobs().Find(job);
  if (record == nullptr) return false;
  KillTimer(record->window, static_cast<UINT_PTR>(job));
  record->thread.Reset(nullptr);
  const bool result = record->shared->result;
  Jobs().Remove(job);
  return result;
}

bool RecordJobEvent(HWND window, int windowId, UINT message, WPARAM wParam) {
  if (message != WM_TIMER && message != JobEndedMessage) return false;
  const int job = static_cast<int>(wParam);
  const JobRecord* record = Jobs().Find(job);
  if (record == nullptr || record->window != window) return false;
  RecordDirectEvent(JobEvent, job, windowId, message == WM_TIMER ? JobTick : JobEnded);
  return true;
}
