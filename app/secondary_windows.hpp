// The two windows the main window opens on its buttons. Each disables the
// owner, runs its own event loop and enables the owner again before returning.
#pragma once

#include <string>

#include "calc/plan.hpp"
#include "toolkit/windows.hpp"

// Lists the sub-networks of `plan` (borrowed, read only) in a window with an
// inner size of width x height. Returns 0 when closed, also when it could not open.
int ShowSubnetsWindow(NativeHandle owner, SubnetPlan* plan, int width, int height);
// Shows the logo, name, version, maker, links and description in a width x
// height window.
void ShowAboutWindow(NativeHandle owner, int width, int height);

// The go-to dialog over `owner`: true with the typed index or address when
// the user confirmed, false when cancelled.
bool AskGoToTarget(NativeHandle owner, std::string& typed);
// Asks for a file and saves every sub-network of `plan` there as CSV,
// showing the progress in the label `progressLabel`; tells the user when the
// file could not be written. The caller shows its own text in the label again.
void SaveSubnetsAsCsv(NativeHandle owner, const SubnetPlan& plan, int progressLabel);
