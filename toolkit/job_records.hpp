// What the toolkit keeps of a job: the part its thread uses, the thread and
// the tick timer. Used inside the toolkit only.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "toolkit/win32_holders.hpp"

// Posted by a job's thread to its window when the work has returned; wParam
// is the job's id.
constexpr UINT JobEndedMessage = WM_APP + 0x2A0;

// Written by the UI thread before the job's thread starts, and `result` by
// that thread before it ends: nothing in it is shared while both run.
struct JobShared {
  std::function<bool()> work;
  HWND window = nullptr;
  int id = 0;
  bool result = false;
};

inline void JoinThreadHandle(HANDLE thread) {
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
}
// Releasing a thread waits for it to end.
using ThreadHolder = UniqueHandle<HANDLE, JoinThreadHandle>;

// The thread goes (joined) before the part it uses.
struct JobRecord {
  std::unique_ptr<JobShared> shared;
  ThreadHolder thread;
  HWND window = nullptr;  // the timer's window too; its id is the job's
};

// Turns a job's tick (WM_TIMER) or end message to `window` into the JobEvent
// of the running dispatch; false for any other message.
bool RecordJobEvent(HWND window, int windowId, UINT message, WPARAM wParam);
