// Starts the program as a separate process and works it from outside: finds
// its windows, reads their texts and sends real mouse and keyboard input.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// The program under test.
struct AppProcess {
  PROCESS_INFORMATION info{};
  HWND main = nullptr;  // the visible main window once StartApp succeeded
};

// A path from the build (a Unix path under Wine) as a Windows path.
std::string WindowsPath(const std::string& path);
// The program's file, and the command-line program's, as Windows paths.
std::string ProgramPath();
std::string CommandLinePath();
// A Unix path as Wine's drive Z: sees it; other paths unchanged.
std::string WindowsPath(const std::string& path);
// Starts the program and waits until its main window is visible. On failure
// `error` says why; StopApp must still be called.
bool StartApp(AppProcess& app, std::string& error);
// The same with another copy of the program (a Windows path).
bool StartApp(AppProcess& app, std::string& error, const std::string& program);
// Waits up to timeoutMs for the process to end; true with its exit code.
bool WaitForExit(const AppProcess& app, DWORD timeoutMs, DWORD& exitCode);
// Ends the process if it still runs and closes its handles.
void StopApp(AppProcess& app);
// Runs velkor.exe with `arguments`, its output going to the file `output`
// and, when `errors` names one, its errors to that file; true when it ran and
// exited with 0.
bool RunVelkor(const std::string& arguments, const std::string& output,
               const std::string& errors = "");
// A file of this name in the temporary folder.
std::string TempFilePath(const char* name);
// The whole of a file ("" when it cannot be read).
std::string FileText(const std::string& path);
// Processes whose id is `pid` or whose parent is `pid` (Toolhelp snapshot).
int CountProcessesOf(DWORD pid);
// The threads of process `pid`.
std::vector<DWORD> ThreadsOf(DWORD pid);
// Waits for a thread of `pid` not in `before` and suspends it, as a slow disk
// holds a save's writer (here saves take under a second); null if none came.
HANDLE HoldNewThread(DWORD pid, const std::vector<DWORD>& before);

// Polls `condition` every 20 ms; false when it is still false after timeoutMs
// (generous: other builds may share the machine).
template <typename Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs = 10000) {
  DWORD start = GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(20);
  }
}

// A visible top-level window of process `pid` with this class and title (each
// ignored when null), or null.
HWND FindTopLevel(DWORD pid, const char* className, const char* title);

struct ChildInfo {
  HWND handle = nullptr;
  std::string className;
  std::string text;
  RECT rect{};  // outer rectangle in the parent's client coordinates
};
// The direct child windows of `parent`, in no particular order.
std::vector<ChildInfo> DirectChildren(HWND parent);
// The text of a window of another process (WM_GETTEXT), line ends as "\n".
std::string WindowText(HWND window);
std::string ClassNameOf(HWND window);

// Makes `window` the foreground window; false when it did not become so.
bool BringToFront(HWND window);
// Moves the pointer to a point of the window's client area and clicks there
// with the left (or right) button.
void ClickAt(HWND window, int clientX, int clientY, bool right = false);
// Moves the pointer to a point of the screen; `owner` is the window whose
// program must be idle first.
void MovePointerTo(HWND owner, POINT screen);
// Clicks a point of the screen, as MovePointerTo reaches it.
void ClickAtScreen(HWND owner, POINT screen, bool right = false);
// A point of the caption's close box of `window` (found by hit-testing), or
// false when the window draws none.
bool CloseBoxPoint(HWND window, POINT& screen);
void ClickCentre(HWND window);
// Presses and releases a key, with up to two modifier keys held down.
void PressKey(WORD vk, WORD modifier = 0, WORD secondModifier = 0);
// Types printable ASCII text key by key.
void TypeText(const std::string& text);
// The window that has the keyboard focus in the thread `threadId`.
HWND FocusOf(DWORD threadId);
// Waits until a control of `window` has the keyboard focus (a dialog is shown
// before its controls exist) and returns it, or null.
HWND WaitForFocusIn(const AppProcess& app, HWND window);
// The window that holds the mouse capture in the thread `threadId`, or null.
HWND CaptureOf(DWORD threadId);
// Returns once the program owning `window` waits for input with none queued
// (at most a few seconds).
void WaitProgramIdle(HWND window);
// Returns once the thread that owns `window` has handled everything sent to it.
bool WaitWindowIdle(HWND window);

// 32-bit pixels (0x00RRGGBB) of a window's client area, read from the screen.
struct ScreenCapture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
bool CaptureClientArea(HWND window, ScreenCapture& capture);
