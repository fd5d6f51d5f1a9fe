// Window DPIs and the conversion of designed rectangles into pixels.
#include "toolkit/dpi.hpp"

#include "base/scaling.hpp"
#include "toolkit/toolkit_state.hpp"

namespace {

template <typename Function>
void Find(HMODULE module, const char* name, Function& function) {
  function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

DpiFunctions& Functions() {
  return Toolkit().dpi;
}

// shcore's GetDpiForMonitor with MDT_EFFECTIVE_DPI (0), or 0.
int MonitorDpiOf(HWND window) {
  using MonitorDpi = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  auto monitorDpi = Functions().shcore.Find<MonitorDpi>("GetDpiForMonitor");
  UINT x = 0, y = 0;
  if (monitorDpi == nullptr ||
      FAILED(monitorDpi(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), 0, &x, &y))) {
    return 0;
  }
  return static_cast<int>(y);
}

}  // namespace

// user32 is loaded in every program with windows; only the lookups can fail.
// Wine: all of them exist, every process is per-monitor aware whatever its
// manifest says, and every window, GetDpiForSystem and the screen's
// LOGPIXELSY share the one DPI of LogPixels; WM_DPICHANGED is never sent.
DpiFunctions::DpiFunctions() {
  HMODULE user32 = GetModuleHandleA("user32.dll");
  Find(user32, "GetDpiForWindow", dpiForWindow);
  Find(user32, "GetDpiForSystem", dpiForSystem);
  Find(user32, "AdjustWindowRectExForDpi", adjustWindowRectForDpi);
  Find(user32, "GetSystemMetricsForDpi", systemMetricForDpi);
  Find(user32, "EnableNonClientDpiScaling", enableNonClientScaling);
}

// Without GetDpiForSystem the program is system aware (its manifest says
// so), and the screen answers with the system DPI.
int SystemDpi() {
  if (Functions().dpiForSystem != nullptr) return static_cast<int>(Functions().dpiForSystem());
  HDC screen = GetDC(nullptr);
  int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : DesignDpi;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : DesignDpi;
}

// Windows 10 knows each window's DPI, Windows 8.1 each monitor's; Windows 7
// and 8 have the system DPI only.
int NativeDpiOf(HWND window) {
  int dpi = Functions().dpiForWindow != nullptr ? static_cast<int>(Functions().dpiForWindow(window))
                                                : MonitorDpiOf(window);
  return dpi > 0 ? dpi : SystemDpi();
}

void ScaleFrameWithDpi(HWND window) {
  if (Functions().enableNonClientScaling != nullptr) Functions().enableNonClientScaling(window);
}

int SystemMetricAt(int index, int dpi) {
  if (Functions().systemMetricForDpi != nullptr) {
    return Functions().systemMetricForDpi(index, static_cast<UINT>(dpi));
  }
  return GetSystemMetrics(index);
}

SIZE OuterSizeAt(int width, int height, DWORD style, DWORD exStyle, int dpi) {
  RECT outer{0, 0, width, height};
  if (Functions().adjustWindowRectForDpi != nullptr) {
    Functions().adjustWindowRectForDpi(&outer, style, FALSE, exStyle, static_cast<UINT>(dpi));
  } else {
    AdjustWindowRectEx(&outer, style, FALSE, exStyle);
  }
  return SIZE{outer.right - outer.left, outer.bottom - outer.top};
}

RECT ScaledRect(int x, int y, int width, int height, int dpi) {
  const PixelSpan across = ScaleSpan(x, width, dpi);
  const PixelSpan down = ScaleSpan(y, height, dpi);
  return RECT{across.start, down.start, across.start + across.length, down.start + down.length};
}

RECT DesignedRect(const RECT& pixels, int dpi) {
  return RECT{UnscaleFromDpi(pixels.left, dpi), UnscaleFromDpi(pixels.top, dpi),
              UnscaleFromDpi(pixels.right, dpi), UnscaleFromDpi(pixels.bottom, dpi)};
}
