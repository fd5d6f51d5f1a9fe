#include "tests/toolkit/toolkit_test_support.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "toolkit/events.hpp"
#include "toolkit/menus.hpp"
#include "toolkit/toolkit_start.hpp"
#include "toolkit/windows.hpp"

namespace {

// Starts the toolkit once for the whole test program.
class ToolkitEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { ASSERT_TRUE(ToolkitStart()); }
  void TearDown() override { ToolkitStop(); }
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new ToolkitEnvironment);

// A thread timer that keeps EventWait from blocking past a deadline.
class WakeTimer {
 public:
  WakeTimer() : timer_(SetTimer(nullptr, 0, 15, nullptr)) {}
  WakeTimer(const WakeTimer&) = delete;
  WakeTimer& operator=(const WakeTimer&) = delete;
  ~WakeTimer() { KillTimer(nullptr, timer_); }

 private:
  UINT_PTR timer_;
};

INPUT KeyInput(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, 0));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

BOOL CALLBACK CountWindow(HWND window, LPARAM lParam) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != GetCurrentProcessId()) return TRUE;
  ++*reinterpret_cast<long*>(lParam);
  EnumChildWindows(window, CountWindow, lParam);
  return TRUE;
}

// Wine: GetGuiResources is a stub that returns 0, so the objects are counted
// by probing Wine's handle tables, which accept a handle's bare index.
GuiCounts ProbedCounts() {
  GuiCounts counts{0, 0, 0};
  for (UINT_PTR index = 0x20; index <= 0xFFFF; ++index) {
    auto handle = reinterpret_cast<HANDLE>(index);
    const DWORD type = GetObjectType(handle);
    if (type != 0) ++counts.gdi;
    if (type == OBJ_DC || type == OBJ_REGION) ++counts.contexts;
    // USER handles are even offsets from 0x20; the low bit is ignored.
    bool userHandle = (index & 1) == 0;
    if (userHandle && (IsMenu(static_cast<HMENU>(handle)) ||
                       CopyAcceleratorTableA(static_cast<HACCEL>(handle), nullptr, 0) > 0)) {
      ++counts.user;
    }
  }
  EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&counts.user));
  return counts;
}

}  // namespace

bool RunningOnWine() {
  return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

GuiCounts CurrentGuiCounts() {
  GuiCounts counts{static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)),
                   static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)), 0};
  if (counts.gdi == 0 && counts.user == 0 && RunningOnWine()) return ProbedCounts();
  return counts;
}

bool WaitForEvent(int kind, int milliseconds) {
  WakeTimer timer;
  ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
  while (GetTickCount64() < deadline) {
    if (EventWait() == kind) return true;
  }
  return false;
}

int CountEvents(int kind, int source, int milliseconds) {
  WakeTimer timer;
  ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
  int count = 0;
  while (GetTickCount64() < deadline) {
    if (EventWait() == kind && (source == -1 || EventSourceControl() == source)) ++count;
  }
  return count;
}

void PumpEvents(int milliseconds) {
  PumpUntil([] { return false; }, milliseconds);
}

bool PumpUntil(const std::function<bool()>& done, int milliseconds) {
  WakeTimer timer;
  ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
  while (!done() && GetTickCount64() < deadline)
    EventWait();
  return done();
}

bool MakeForeground(HWND window) {
  // Wine: with no window manager, activation follows these calls directly.
  SetForegroundWindow(window);
  SetActiveWindow(window);
  return PumpUntil(
      [window] { return GetForegroundWindow() == window && GetActiveWindow() == window; }, 2000);
}

void PressKey(WORD key, bool shift, bool ctrl, bool alt) {
  INPUT inputs[8];
  UINT count = 0;
  if (shift) inputs[count++] = KeyInput(VK_SHIFT, false);
  if (ctrl) inputs[count++] = KeyInput(VK_CONTROL, false);
  if (alt) inputs[count++] = KeyInput(VK_MENU, false);
  inputs[count++] = KeyInput(key, false);
  inputs[count++] = KeyInput(key, true);
  if (alt) inputs[count++] = KeyInput(VK_MENU, true);
  if (ctrl) inputs[count++] = KeyInput(VK_CONTROL, true);
  if (shift) inputs[count++] = KeyInput(VK_SHIFT, true);
  SendInput(count, inputs, sizeof(INPUT));
}

void ClickAt(POINT screen, bool right) {
  int width = GetSystemMetrics(SM_CXSCREEN);
  int height = GetSystemMetrics(SM_CYSCREEN);
  INPUT inputs[3]{};
  for (INPUT& input : inputs) {
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(screen.x, 65535, width - 1);
    input.mi.dy = MulDiv(screen.y, 65535, height - 1);
  }
  inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  inputs[1].mi.dwFlags =
      (right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN) | MOUSEEVENTF_ABSOLUTE;
  inputs[2].mi.dwFlags = (right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP) | MOUSEEVENTF_ABSOLUTE;
  SendInput(3, inputs, sizeof(INPUT));
}

POINT CentreOf(HWND window) {
  RECT area;
  GetWindowRect(window, &area);
  return POINT{(area.left + area.right) / 2, (area.top + area.bottom) / 2};
}

void MovePointerTo(POINT screen) {
  INPUT move{};
  move.type = INPUT_MOUSE;
  move.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  move.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &move, sizeof(INPUT));
}

HelperThread::HelperThread(std::function<void()> body) : body_(std::move(body)) {
  thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

HelperThread::~HelperThread() {
  if (thread_ == nullptr) return;
  // A thread still running would go on using this object: stop loudly instead.
  if (!Join()) {
    std::fputs("helper thread did not finish\n", stderr);
    std::abort();
  }
  CloseHandle(thread_);
}

bool HelperThread::Join(int milliseconds) {
  return thread_ != nullptr &&
         WaitForSingleObject(thread_, static_cast<DWORD>(milliseconds)) == WAIT_OBJECT_0;
}

DWORD WINAPI HelperThread::Run(LPVOID self) {
  static_cast<HelperThread*>(self)->body_();
  return 0;
}

bool PollFor(const std::function<bool()>& found, int milliseconds) {
  ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
  while (!found()) {
    if (GetTickCount64() >= deadline) return false;
    Sleep(10);
  }
  return true;
}
