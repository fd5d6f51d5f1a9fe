// Shared private declarations of the Win32 toolkit: records, id tables, the
// event stream's internal entry points, the container stack and the control
// kind tables. Included only by toolkit/*.cpp.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "toolkit/controls.hpp"
#include "toolkit/ids.hpp"
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
// Controls

enum class ControlKind {
  FrameBox,
  Label,
  DropDownList,
  TextEntry,
  AddressEntry,
  PushButton,
  TextArea,
  Count
};

struct ControlRecord {
  int id = 0;
  HWND handle = nullptr;
  ControlKind kind = ControlKind::FrameBox;
  WNDPROC originalProcedure = nullptr;
  int textColour = DefaultColour;
  int backgroundColour = DefaultColour;
  SharedBrush backgroundBrush;  // for a set background colour
  int emptyLineMarker = 0;      // TextArea: 1 = an empty first line is pending
  bool themedBorder = false;    // TextArea: paints its own visual-styles border
  HFONT fieldFont = nullptr;    // AddressEntry: its fields' font, when it does not delete it
};

// Per-kind operations; a null entry means the default behaviour (noted), or no
// effect with result 0 / the empty text. Geometry and visibility are the same
// for every kind and are not in the table.
struct KindOperations {
  // WM_COMMAND, WM_NOTIFY and WM_CTLCOLOR* sent to the parent [the window's default].
  bool (*notification)(ControlRecord& control, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT* result) = nullptr;
  void (*destroy)(ControlRecord& control) = nullptr;
  intptr_t (*getState)(ControlRecord& control) = nullptr;
  void (*setState)(ControlRecord& control, intptr_t value) = nullptr;
  std::string (*getText)(ControlRecord& control) = nullptr;             // [GetWindowTextA]
  void (*setText)(ControlRecord& control, const char* text) = nullptr;  // [SetWindowTextA]
  int (*addItem)(ControlRecord& control, int position, const char* text) = nullptr;
  void (*clearItems)(ControlRecord& control) = nullptr;
  int (*countItems)(ControlRecord& control) = nullptr;
  std::string (*itemText)(ControlRecord& control, int item, int column) = nullptr;
  int (*addColumn)(ControlRecord& control, int position, const char* title, int width) = nullptr;
  void (*setColour)(ControlRecord& control, int attribute, int colour) = nullptr;
  int (*getColour)(ControlRecord& control, int attribute) = nullptr;
  // Finishing steps after creation; `height` is the requested outer height.
  void (*finish)(ControlRecord& control, int height) = nullptr;
  // Messages to the control itself, before its own procedure sees them.
  bool (*message)(ControlRecord& control, UINT message, WPARAM wParam, LPARAM lParam,
                  LRESULT* result) = nullptr;
};

extern const KindOperations FrameBoxOperations;
extern const KindOperations LabelOperations;
extern const KindOperations DropDownListOperations;
extern const KindOperations TextEntryOperations;
extern const KindOperations AddressEntryOperations;
extern const KindOperations PushButtonOperations;
extern const KindOperations TextAreaOperations;

const KindOperations& OperationsOf(ControlKind kind);
IdTable<ControlRecord>& ControlTable();
// The record of a toolkit control whose property and control id agree, or null.
ControlRecord* ControlOfHandle(HWND handle);

// What a kind's creation passes to the shared creation steps.
struct ControlCreation {
  ControlKind kind;
  const char* className;
  DWORD style;
  DWORD exStyle;
  const char* text;
  int nativeHeight = 0;  // height the native window is created with; 0 = the requested one
};
// The shared creation steps; the kind's finishing steps get the requested height.
intptr_t CreateControl(int id, int x, int y, int w, int h, const ControlCreation& creation);

// Colour handling of Label and TextEntry: answers WM_CTLCOLOR* with the stored
// colours, using `systemBackground` (a COLOR_* index) when only a text colour is set.
bool AnswerControlColour(ControlRecord& control, HDC dc, int systemBackground, LRESULT* result);
// Stores a colour of a Label or TextEntry and redraws the control.
void StoreControlColour(ControlRecord& control, int attribute, int colour);
int StoredControlColour(ControlRecord& control, int attribute);

// Destroys every popup menu still alive (teardown).
void ReleaseAllPopupMenus();

// Text of a window (the whole text, no limit).
std::string WindowText(HWND window);
