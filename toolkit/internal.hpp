// Shared private declarations of the Win32 toolkit: window records, the event
// stream's internal entry points, the container stack and the shared brushes.
// Included only by toolkit/*.cpp (the control framework has its own header).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "toolkit/controls.hpp"
#include "base/ids.hpp"
#include "imaging/image_codecs.hpp"
#include "toolkit/win32_holders.hpp"

// ---------------------------------------------------------------------------
// Events

// Window id recorded as the working event's window while a message is handled.
void RecordMessageWindow(int window);
// The result of the current dispatch (a WM_COMMAND turned into an event). When
// no EventWait dispatch is running, or one event was already recorded, the
// event is queued instead so that it is never lost.
void RecordDirectEvent(int kind, int source, int window, int detail);
// Drops the undelivered events of a window (any kind) or of a control
// (ControlEvents whose source is the control), releasing their data.
void DropWindowEvents(int window);
void DropControlEvents(int control);

// ---------------------------------------------------------------------------
// Windows

struct ShortcutEntry {
  BYTE fVirt;
  WORD key;
  WORD command;
};

struct WindowRecord {
  HWND handle = nullptr;  // null once destroyed other than by WindowClose
  std::string className;
  std::vector<ShortcutEntry> shortcuts;
  AcceleratorHolder accelerators;
  HWND focus = nullptr;  // focused control when the window was last deactivated
};

constexpr WORD FocusForwardCommand = 64001;
constexpr WORD FocusBackwardCommand = 64002;

IdTable<WindowRecord>& WindowTable();
// The id of the toolkit window `window` itself (its property), or -1.
int OwnWindowId(HWND window);
// The id of the toolkit window that `handle` or one of its parents is, or -1.
int ContainingWindowId(HWND handle);
HINSTANCE ProgramInstance();
// Loads the icon and cursor every window class uses.
void StartWindowService();
// Closes every open window.
void StopWindowService();
LRESULT CALLBACK SharedWindowProcedure(HWND window, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;
// Moves the focus among the tab stops of `window`, wrapping around.
void MoveFocus(HWND window, bool forward);

// The per-thread current container for new controls (a window or a panel).
HWND CurrentContainer();
// A newly opened window becomes the current container; enclosing ones are forgotten.
void SetCurrentContainer(HWND container);
// A panel becomes current; PopContainer returns to the enclosing container.
void PushContainer(HWND panel);
void PopContainer();
// Called when a window closes so that no control is placed in a dead window.
void ForgetContainer(HWND window);

// ---------------------------------------------------------------------------
// Colour brushes shared between controls

// One reference to the shared solid brush of a colour; the brush is deleted
// when its last reference goes. Thread-safe.
class SharedBrush {
 public:
  SharedBrush() = default;
  explicit SharedBrush(COLORREF colour);
  SharedBrush(SharedBrush&& other) noexcept;
  SharedBrush& operator=(SharedBrush&& other) noexcept;
  SharedBrush(const SharedBrush&) = delete;
  SharedBrush& operator=(const SharedBrush&) = delete;
  ~SharedBrush();
  HBRUSH Get() const { return brush_; }

 private:
  void Drop();
  HBRUSH brush_ = nullptr;
  COLORREF colour_ = 0;
};
// Number of distinct colour brushes alive.
int SharedBrushCount();

// ---------------------------------------------------------------------------
// Images

using AlphaBlendFunction = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int,
                                         BLENDFUNCTION);
// Registers the decoders and looks up AlphaBlend in msimg32.
void StartImageService();
// Unloads msimg32 and frees every image still alive.
void StopImageService();
// msimg32's AlphaBlend, or null where it does not exist.
AlphaBlendFunction AlphaBlender();
// A width x height bitmap section of `depth` bits per pixel, bottom-up for a
// positive height, top-down for a negative one; null when it cannot be made.
// `bits`, when given, receives the address of its pixels.
HBITMAP CreateBitmapSection(int width, int height, int depth, void** bits = nullptr);
// The pixels of a bitmap section, top row first; rows with a null firstRow
// for any other bitmap.
PixelRows SectionRows(HBITMAP bitmap);

// Destroys every popup menu still alive (teardown).
void ReleaseAllPopupMenus();

// Text of a window (the whole text, no limit).
std::string WindowText(HWND window);
