// Start-up and teardown of the program around the main window's event loop.
#include <windows.h>

#include "app/main_window.hpp"
#include "calc/plan.hpp"
#include "toolkit/fonts.hpp"
#include "toolkit/menus.hpp"
#include "toolkit/toolkit_start.hpp"
#include "toolkit/windows.hpp"

namespace {

constexpr const char* ReportFontFace = "Courier New";
constexpr int ReportFontPoints = 8;

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // The class and method tables are compile-time constants, so start-up only
  // has to bring up the toolkit, the report font and the calculator.
  MainWindow window;
  if (ToolkitStart()) {
    window.reportFont = CreateTextFont(AutoId, ReportFontFace, ReportFontPoints, 0);
    window.plan = CreateSubnetPlan();
    // A window that cannot open ends the program silently, like a closed one.
    if (window.plan != nullptr && OpenMainWindow(window)) RunMainLoop(window);
  }
  // Closes every window and frees the report font.
  ToolkitStop();
  if (window.plan != nullptr) window.plan->Release();
  return 0;
}
