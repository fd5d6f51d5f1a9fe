// The start-up benchmark's baseline: the least a Win32 program does to show a
// window like the main window. One window class, one window of the main
// window's outer size with a caption, one message loop and default painting.
//
//   scripts/with-wine-display.sh build/win64 wine build/win64/bench/app/bare_window.exe
#include <windows.h>

namespace {

constexpr const char* ClassName = "BareWindow";
// The main window's client size and styles.
constexpr int InnerWidth = 450;
constexpr int InnerHeight = 432;
constexpr DWORD Style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  windowClass.lpszClassName = ClassName;
  if (RegisterClassA(&windowClass) == 0) return 1;
  RECT outer{0, 0, InnerWidth, InnerHeight};
  AdjustWindowRect(&outer, Style, FALSE);
  HWND window = CreateWindowA(ClassName, "Bare window", Style, CW_USEDEFAULT, CW_USEDEFAULT,
                              outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                              instance, nullptr);
  if (window == nullptr) return 1;
  ShowWindow(window, SW_SHOWNORMAL);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
