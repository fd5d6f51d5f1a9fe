// Start-up and teardown of the toolkit services.
#include "toolkit/internal.hpp"

#include <commctrl.h>
#include <objbase.h>

#include "toolkit/menus.hpp"
#include "base/patterns.hpp"

namespace {

bool RegisterCommonControls() {
  INITCOMMONCONTROLSEX classes{};
  classes.dwSize = sizeof classes;
  // Tab, hot-key, date, ComboBoxEx and IP-address classes.
  classes.dwICC = 0x0B48;
  return InitCommonControlsEx(&classes) != FALSE;
}

bool comStarted = false;

}  // namespace

bool ToolkitStart() {
  StartImageService();
  StartWindowService();
  bool started = RegisterCommonControls();
  comStarted = SUCCEEDED(CoInitialize(nullptr));
  return started && comStarted;
}

void ToolkitStop() {
  ReleaseAllPatterns();
  StopWindowService();  // closing the windows destroys their controls first
  ReleaseAllPopupMenus();
  StopImageService();  // the windows showing images are gone
  ReleaseAllFonts();
  if (comStarted) CoUninitialize();
  comStarted = false;
}
