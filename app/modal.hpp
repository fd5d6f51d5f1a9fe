// The modal contract of the secondary windows, kept in one place: the window
// is owned by the caller's window, the owner is disabled while it runs,
// events of other windows are dropped, and at the end the owner is enabled
// again before the window closes, so that the system activates the owner.
#pragma once

#include <cstdint>
#include <functional>

#include "toolkit/windows.hpp"

class ModalWindow {
 public:
  // Opens a window with an inner size of width x height, centred on `owner`
  // and owned by it; `style` adds Win32 window styles to its caption (a close
  // box: WS_CAPTION | WS_SYSMENU), or StartHidden for a window shown later.
  // Id() is 0 when it could not open.
  ModalWindow(NativeHandle owner, int width, int height, const char* title, uint32_t style = 0);
  // Close().
  ~ModalWindow();
  ModalWindow(const ModalWindow&) = delete;
  ModalWindow& operator=(const ModalWindow&) = delete;

  int Id() const { return window_; }
  // Disables the owner, lets `build` create the controls, then hands every
  // event of this window to `handle` (with its kind) until it returns false.
  // Does nothing when the window did not open.
  void Run(const std::function<void()>& build, const std::function<bool(int kind)>& handle);
  // Enables the owner when Run disabled it, then closes the window with its
  // controls. Later calls do nothing.
  void Close();

 private:
  NativeHandle owner_;
  int window_;
  bool ownerDisabled_ = false;
};

// The current event (of kind `kind`) asks the window to close: its close
// request, the Escape shortcut, or a click of `closeButton`.
bool IsDismissal(int kind, int closeButton);
