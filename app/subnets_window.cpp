// The Sub-networks window. For now it has only its Close button; the list of
// sub-networks and the paging come next.
#include <cstdint>

#include "app/modal.hpp"
#include "app/secondary_windows.hpp"
#include "toolkit/controls.hpp"
#include "toolkit/windows.hpp"

namespace {

constexpr const char* SubnetsTitle = "Velkor - IPv4 Subnetting - Sub-networks";

}  // namespace

int ShowSubnetsWindow(NativeHandle owner, SubnetPlan*, int width, int height) {
  int window =
      static_cast<int>(WindowOpen(AutoId, 0, 0, width, height, SubnetsTitle, CentreOnOwner, owner));
  if (window == 0) return 0;
  SetOwnerEnabled(owner, false);
  // The button row sits 5 pixels below the list (5 + height - 38).
  int close = static_cast<int>(CreatePushButton(AutoId, width - 80, height - 28, 75, 22, "Close"));
  WindowAddShortcut(window, EscapeKey, EscapeCommand);
  while (!IsDismissal(WaitForOwnEvent(window), close)) {
  }
  WindowClose(window);
  SetOwnerEnabled(owner, true);
  return 0;
}
