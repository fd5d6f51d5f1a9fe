// What the two secondary windows share: they behave modally by hand (the owner
// is disabled while they run) and end on Close, Escape or the close request.
#pragma once

#include "toolkit/windows.hpp"

// Escape is bound to this menu item in every secondary window.
constexpr int EscapeKey = 27;
constexpr int EscapeCommand = 1000;

// Enables or disables the owner's input (EnableWindow).
void SetOwnerEnabled(NativeHandle owner, bool enabled);
// Waits for the next event of `window`, dropping events of every other window,
// and returns its kind.
int WaitForOwnEvent(int window);
// The current event (of kind `kind`) asks the window to close: its close
// request, the Escape shortcut, or a click of `closeButton`.
bool IsDismissal(int kind, int closeButton);
