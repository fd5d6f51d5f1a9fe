// The two windows the main window opens on its buttons. Each disables the
// owner, runs its own event loop and enables the owner again before returning.
#pragma once

#include "calc/plan.hpp"
#include "toolkit/windows.hpp"

// Lists the sub-networks of `plan` (borrowed, read only) in a window with an
// inner size of width x height. Returns 0 when closed, also when it could not open.
int ShowSubnetsWindow(NativeHandle owner, SubnetPlan* plan, int width, int height);
// Shows the logo, name, version, maker, links and description in a width x
// height window.
void ShowAboutWindow(NativeHandle owner, int width, int height);
