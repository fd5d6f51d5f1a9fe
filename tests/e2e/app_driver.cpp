// Process, window and input plumbing of the end-to-end tests.
#include "app/window_ids.hpp"
#include "app_driver.hpp"

#include <tlhelp32.h>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace {

constexpr const char* MainClass = "WindowClass_0";
constexpr DWORD StartTimeoutMs = 30000;
constexpr DWORD MessageTimeoutMs = 5000;
constexpr DWORD PointerSettleMs = 50;

struct TopLevelSearch {
  DWORD pid;
  const char* className;
  const char* title;
  HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<TopLevelSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != search->pid || !IsWindowVisible(window)) return TRUE;
  if (search->className != nullptr && ClassNameOf(window) != search->className) return TRUE;
  if (search->title != nullptr && WindowText(window) != search->title) return TRUE;
  search->found = window;
  return FALSE;
}

INPUT KeyInput(WORD vk, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
  bool extended = vk == VK_HOME || vk == VK_END || vk == VK_LEFT || vk == VK_RIGHT || vk == VK_UP ||
                  vk == VK_DOWN || vk == VK_DELETE || vk == VK_INSERT || vk == VK_PRIOR ||
                  vk == VK_NEXT;
  input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
  return input;
}

bool CursorAt(POINT target) {
  POINT now{};
  GetCursorPos(&now);
  return now.x == target.x && now.y == target.y;
}

// A mouse input at `target`, an absolute position on the 0..65535 grid of the
// primary screen.
INPUT MouseAt(POINT target, DWORD buttonFlags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(target.x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
  input.mi.dy = MulDiv(target.y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttonFlags;
  return input;
}

}  // namespace

// Wine: paths come from CMake as Unix paths; drive Z: maps the root.
std::string WindowsPath(const std::string& path) {
  if (path.empty() || path[0] != '/') return path;
  std::string converted = "Z:" + path;
  std::replace(converted.begin(), converted.end(), '/', '\\');
  return converted;
}

std::string ProgramPath() {
  return WindowsPath(VELKOR_APP_EXE);
}

std::string CommandLinePath() {
  return WindowsPath(VELKOR_CLI_EXE);
}

bool StartApp(AppProcess& app, std::string& error) {
  return StartApp(app, error, ProgramPath());
}

bool StartApp(AppProcess& app, std::string& error, const std::string& program) {
  std::string commandLine = "\"" + program + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &app.info)) {
    error = "CreateProcess failed for " + commandLine;
    return false;
  }
  bool shown = WaitUntil(
      [&] {
        app.main = FindTopLevel(app.info.dwProcessId, MainClass, MainTitle);
        return app.main != nullptr;
      },
      StartTimeoutMs);
  if (!shown) error = "the main window did not appear";
  return shown;
}

bool WaitForExit(const AppProcess& app, DWORD timeoutMs, DWORD& exitCode) {
  if (WaitForSingleObject(app.info.hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
  return GetExitCodeProcess(app.info.hProcess, &exitCode) != 0;
}

void StopApp(AppProcess& app) {
  if (app.info.hProcess == nullptr) return;
  if (WaitForSingleObject(app.info.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(app.info.hProcess, 1);
    WaitForSingleObject(app.info.hProcess, MessageTimeoutMs);
  }
  CloseHandle(app.info.hThread);
  CloseHandle(app.info.hProcess);
  app = AppProcess{};
}

namespace {

// A new file that a started process inherits, or INVALID_HANDLE_VALUE.
HANDLE InheritedFile(const std::string& path) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  return CreateFileA(path.c_str(), GENERIC_WRITE, 0, &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                     nullptr);
}

}  // namespace

// Runs velkor.exe with `arguments`, its output going to the file `output`.
bool RunVelkor(const std::string& arguments, const std::string& output, const std::string& errors) {
  HANDLE file = InheritedFile(output);
  if (file == INVALID_HANDLE_VALUE) return false;
  HANDLE errorFile = errors.empty() ? GetStdHandle(STD_ERROR_HANDLE) : InheritedFile(errors);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = file;
  startup.hStdError = errorFile;
  std::string commandLine = "\"" + CommandLinePath() + "\" " + arguments;
  PROCESS_INFORMATION process{};
  bool started = CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                                nullptr, &startup, &process);
  DWORD status = 1;
  if (started) {
    WaitForSingleObject(process.hProcess, 120000);
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  CloseHandle(file);
  if (!errors.empty() && errorFile != INVALID_HANDLE_VALUE) CloseHandle(errorFile);
  return started && status == 0;
}

std::string TempFilePath(const char* name) {
  char folder[MAX_PATH] = "";
  GetTempPathA(MAX_PATH, folder);
  return std::string(folder) + name;
}

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int CountProcessesOf(DWORD pid) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return -1;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  int count = 0;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    if (entry.th32ProcessID == pid || entry.th32ParentProcessID == pid) ++count;
  }
  CloseHandle(snapshot);
  return count;
}

std::vector<DWORD> ThreadsOf(DWORD pid) {
  std::vector<DWORD> threads;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID == pid) threads.push_back(entry.th32ThreadID);
  }
  CloseHandle(snapshot);
  return threads;
}

HANDLE HoldNewThread(DWORD pid, const std::vector<DWORD>& before) {
  HANDLE held = nullptr;
  WaitUntil([&] {
    for (DWORD thread : ThreadsOf(pid)) {
      if (std::find(before.begin(), before.end(), thread) == before.end())
        held = OpenThread(THREAD_SUSPEND_RESUME, FALSE, thread);
    }
    return held != nullptr && SuspendThread(held) != static_cast<DWORD>(-1);
  });
  return held;
}

HWND FindTopLevel(DWORD pid, const char* className, const char* title) {
  TopLevelSearch search{pid, className, title, nullptr};
  EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<ChildInfo> DirectChildren(HWND parent) {
  std::vector<ChildInfo> children;
  for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    ChildInfo info;
    info.handle = child;
    info.className = ClassNameOf(child);
    info.text = WindowText(child);
    GetWindowRect(child, &info.rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&info.rect), 2);
    children.push_back(info);
  }
  return children;
}

std::string WindowText(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, MessageTimeoutMs,
                           &length)) {
    return "";
  }
  std::string text(length + 1, '\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]),
                      SMTO_ABORTIFHUNG, MessageTimeoutMs, &copied);
  text.resize(std::min<size_t>(copied, length));
  // Rich edit controls end their lines with "\r\n" or "\r"; compare with "\n".
  std::string normalised;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      normalised += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      normalised += text[i];
    }
  }
  return normalised;
}

std::string ClassNameOf(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

bool BringToFront(HWND window) {
  // Wine: with no window manager nothing raises windows on its own.
  SetForegroundWindow(window);
  return WaitUntil([&] { return GetForegroundWindow() == window; });
}

void ClickAt(HWND window, int clientX, int clientY, bool right) {
  POINT target{clientX, clientY};
  ClientToScreen(window, &target);
  ClickAtScreen(window, target, right);
}

void MovePointerTo(HWND owner, POINT target) {
  WaitProgramIdle(owner);
  // Wine: the program may still report an older pointer position from X,
  // which moves the pointer back; a button pressed then can turn into a drag.
  // The pointer is put again until it stays where it was put while the
  // program is idle.
  for (int attempt = 0; attempt < 5; ++attempt) {
    INPUT move = MouseAt(target, 0);
    SendInput(1, &move, sizeof(INPUT));
    WaitUntil([&] { return CursorAt(target); });
    WaitProgramIdle(owner);
    Sleep(PointerSettleMs);
    if (CursorAt(target)) break;
  }
}

void ClickAtScreen(HWND owner, POINT target, bool right) {
  MovePointerTo(owner, target);
  INPUT clicks[] = {MouseAt(target, right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN),
                    MouseAt(target, right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP)};
  SendInput(2, clicks, sizeof(INPUT));
}

bool CloseBoxPoint(HWND window, POINT& screen) {
  RECT outer{};
  GetWindowRect(window, &outer);
  POINT clientOrigin{0, 0};
  ClientToScreen(window, &clientOrigin);
  // Wine: with no window manager Wine draws the caption and its buttons itself.
  screen.y = (outer.top + clientOrigin.y) / 2;
  for (screen.x = outer.right - 1; screen.x > outer.right - 100; --screen.x) {
    DWORD_PTR hit = 0;
    if (SendMessageTimeoutA(window, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y),
                            SMTO_ABORTIFHUNG, MessageTimeoutMs, &hit) &&
        hit == HTCLOSE) {
      return true;
    }
  }
  return false;
}

void ClickCentre(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  ClickAt(window, client.right / 2, client.bottom / 2);
}

void PressKey(WORD vk, WORD modifier, WORD secondModifier) {
  std::vector<INPUT> inputs;
  for (WORD held : {modifier, secondModifier}) {
    if (held != 0) inputs.push_back(KeyInput(held, false));
  }
  inputs.push_back(KeyInput(vk, false));
  inputs.push_back(KeyInput(vk, true));
  for (WORD held : {secondModifier, modifier}) {
    if (held != 0) inputs.push_back(KeyInput(held, true));
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void TypeText(const std::string& text) {
  for (char c : text) {
    SHORT key = VkKeyScanA(c);
    PressKey(LOBYTE(key), (HIBYTE(key) & 1) != 0 ? VK_SHIFT : 0);
  }
}

HWND FocusOf(DWORD threadId) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(threadId, &info) ? info.hwndFocus : nullptr;
}

HWND WaitForFocusIn(const AppProcess& app, HWND window) {
  HWND focus = nullptr;
  WaitUntil([&] { return IsChild(window, focus = FocusOf(app.info.dwThreadId)) != FALSE; });
  return IsChild(window, focus) ? focus : nullptr;
}

HWND CaptureOf(DWORD threadId) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(threadId, &info) ? info.hwndCapture : nullptr;
}

void WaitProgramIdle(HWND window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid);
  if (process == nullptr) return;
  WaitForInputIdle(process, MessageTimeoutMs);
  CloseHandle(process);
}

bool WaitWindowIdle(HWND window) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, MessageTimeoutMs, &result) != 0;
}

bool CaptureClientArea(HWND window, ScreenCapture& capture) {
  RECT client{};
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  capture.width = client.right;
  capture.height = client.bottom;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = capture.width;
  info.bmiHeader.biHeight = -capture.height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool copied = false;
  if (bitmap != nullptr) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    copied = BitBlt(memory, 0, 0, capture.width, capture.height, screen, origin.x, origin.y,
                    SRCCOPY) != 0;
    GdiFlush();
    const auto* pixels = static_cast<const uint32_t*>(bits);
    capture.pixels.assign(pixels, pixels + static_cast<size_t>(capture.width) * capture.height);
    for (uint32_t& p : capture.pixels)
      p &= 0xFFFFFF;
    SelectObject(memory, old);
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return copied;
}
