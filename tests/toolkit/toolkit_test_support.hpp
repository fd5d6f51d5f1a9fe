// Helpers for toolkit tests in real windows: bounded waits on the event
// stream, real keyboard and mouse input (SendInput) and a helper thread.
#pragma once

#include <windows.h>

#include <functional>

// Calls EventWait until it returns `kind` (true) or `milliseconds` pass (false).
// A thread timer wakes EventWait meanwhile; the current event is the one found.
bool WaitForEvent(int kind, int milliseconds = 2000);
// Calls EventWait for `milliseconds` and counts the events of `kind` (and, when
// `source` is not -1, of that source) that it returns.
int CountEvents(int kind, int source, int milliseconds);
// Dispatches everything that arrives for `milliseconds` through EventWait.
void PumpEvents(int milliseconds);
// Pumps until `done` holds or `milliseconds` pass; returns `done()`.
bool PumpUntil(const std::function<bool()>& done, int milliseconds = 2000);

// Makes `window` the foreground and active window, waiting until it is.
bool MakeForeground(HWND window);

// Real key press and release, with modifiers held around it.
void PressKey(WORD key, bool shift = false, bool ctrl = false, bool alt = false);
// Real left (or right) click at a screen point.
void ClickAt(POINT screen, bool right = false);
// Centre of a window in screen coordinates.
POINT CentreOf(HWND window);
// Moves the pointer to a screen point (real input).
void MovePointerTo(POINT screen);

// Runs `body` on a new thread; Join waits for it (bounded).
class HelperThread {
 public:
  explicit HelperThread(std::function<void()> body);
  HelperThread(const HelperThread&) = delete;
  HelperThread& operator=(const HelperThread&) = delete;
  ~HelperThread();
  bool Join(int milliseconds = 10000);

 private:
  static DWORD WINAPI Run(LPVOID self);
  std::function<void()> body_;
  HANDLE thread_ = nullptr;
};

// GDI and USER objects of this process, for leak checks. `contexts` counts
// the device contexts and regions among the GDI objects, where the count can
// tell them apart (under Wine), and is 0 elsewhere.
struct GuiCounts {
  long gdi;
  long user;
  long contexts;
};
GuiCounts CurrentGuiCounts();
bool RunningOnWine();

// Polls `found` from any thread every 10 ms until it holds or time runs out.
bool PollFor(const std::function<bool()>& found, int milliseconds = 3000);
