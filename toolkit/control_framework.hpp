// The control framework inside the toolkit: the control record, the per-kind
// operation tables, the shared creation steps and the colour handling that
// several kinds share. Included by controls.cpp, the kind_*.cpp files and the
// window procedure.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>
#include <utility>

#include "base/ids.hpp"
#include "toolkit/brushes.hpp"
#include "toolkit/controls.hpp"
#include "toolkit/event_stream.hpp"
#include "toolkit/events.hpp"
#include "toolkit/late_library.hpp"
#include "toolkit/window_records.hpp"

enum class ControlKind {
  FrameBox,
  Label,
  DropDownList,
  TextEntry,
  AddressEntry,
  PushButton,
  TextArea,
  ImageView,
  LinkLabel,
  ReportList,
  Panel,
  ProgressBar,
  BlockMap,
};

// What a kind keeps beyond the common record: a struct private to the kind's
// file, created on first use and destroyed with the record.
using KindStateHolder = std::unique_ptr<void, void (*)(void*)>;

struct ControlRecord {
  int id = 0;
  HWND handle = nullptr;
  ControlKind kind = ControlKind::FrameBox;
  WNDPROC originalProcedure = nullptr;
  HFONT font =
      nullptr;  // as designed (96 DPI); the control draws with its variant for its window's DPI
  int textColour = DefaultColour;
  int backgroundColour = DefaultColour;
  SharedBrush backgroundBrush;  // for a set background colour
  KindStateHolder state{nullptr, [](void*) {}};
};

// The kind state of `control`, of the type its kind uses. Only the kind's own
// file calls this, always with the same type.
template <typename State>
State& KindState(ControlRecord& control) {
  if (control.state == nullptr) {
    control.state =
        KindStateHolder(new State(), [](void* state) { delete static_cast<State*>(state); });
  }
  return *static_cast<State*>(control.state.get());
}

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
  // Finishing steps after creation; `height` is the requested outer height in pixels.
  void (*finish)(ControlRecord& control, int height) = nullptr;
  // Messages to the control itself, before its own procedure sees them.
  bool (*message)(ControlRecord& control, UINT message, WPARAM wParam, LPARAM lParam,
                  LRESULT* result) = nullptr;
  // After a DPI change has put the control at `pixels` (in its parent) and
  // given it its font for `toDpi`: what else the kind sizes in pixels.
  void (*rescale)(ControlRecord& control, const RECT& pixels, int fromDpi, int toDpi) = nullptr;
};

extern const KindOperations FrameBoxOperations;
extern const KindOperations LabelOperations;
extern const KindOperations DropDownListOperations;
extern const KindOperations TextEntryOperations;
extern const KindOperations AddressEntryOperations;
extern const KindOperations PushButtonOperations;
extern const KindOperations TextAreaOperations;
extern const KindOperations ImageViewOperations;
extern const KindOperations LinkLabelOperations;
extern const KindOperations ReportListOperations;
extern const KindOperations PanelOperations;
extern const KindOperations ProgressBarOperations;
extern const KindOperations BlockMapOperations;

// What the toolkit keeps for its controls: their records, and what some kinds
// load or register when the first of them is made. Closing the service
// destroys every control still alive.
struct ControlRegistry {
  ControlRegistry();
  ControlRegistry(const ControlRegistry&) = delete;
  ControlRegistry& operator=(const ControlRegistry&) = delete;
  ~ControlRegistry();
  IdTable<ControlRecord> table;
  LateLibrary richEdit20{"RICHED20.DLL"};
  LateLibrary richEdit10{"RICHED32.DLL"};
  LateLibrary uxtheme{"uxtheme.dll"};
  bool panelClassRegistered = false;
  bool blockMapClassRegistered = false;
  bool runningOnWine = false;
};

const KindOperations& OperationsOf(ControlKind kind);
IdTable<ControlRecord>& ControlTable();
// The record of a toolkit control whose property and control id agree, or null.
ControlRecord* ControlOfHandle(HWND handle);

// Runs the kind operation `entry` of a live control with `arguments`. A dead
// id or a kind without the operation gives the result type's zero (0, the
// empty text) and does nothing.
template <typename Operation, typename... Arguments>
auto CallKind(ControlRecord* control, Operation KindOperations::*entry, Arguments&&... arguments) {
  Operation operation = control != nullptr ? OperationsOf(control->kind).*entry : nullptr;
  using Result = decltype(operation(*control, std::forward<Arguments>(arguments)...));
  if constexpr (std::is_void_v<Result>) {
    if (operation != nullptr) operation(*control, std::forward<Arguments>(arguments)...);
  } else {
    return operation != nullptr ? operation(*control, std::forward<Arguments>(arguments)...)
                                : Result{};
  }
}

// What a kind's creation passes to the shared creation steps.
struct ControlCreation {
  ControlKind kind;
  const char* className;
  DWORD style;
  DWORD exStyle;
  const char* text;
  int nativeHeight = 0;  // designed height the native window is created with; 0 = the requested one
};
// The shared creation steps: the designed rectangle and heights become pixels
// at the container's DPI, and the kind's finishing steps get the height in pixels.
intptr_t CreateControl(int id, int x, int y, int w, int h, const ControlCreation& creation);
// The outer rectangle of a native window in its parent's client coordinates.
RECT ParentRect(HWND window);

// Colour handling of Label and TextEntry: answers WM_CTLCOLOR* with the stored
// colours, using `systemBackground` (a COLOR_* index) when only a text colour is set.
bool AnswerControlColour(ControlRecord& control, HDC dc, int systemBackground, LRESULT* result);
// Stores a colour of a Label or TextEntry and redraws the control.
void StoreControlColour(ControlRecord& control, int attribute, int colour);
int StoredControlColour(ControlRecord& control, int attribute);
// The brush the control's parent answers to WM_CTLCOLORSTATIC (the button
// face when it answers none), for kinds that paint their own background.
HBRUSH ParentBackgroundBrush(HWND control, HDC dc);
// The record of a control just made by CreateControl, or null when it failed.
ControlRecord* CreatedControl(int id, intptr_t created);
// Text of a window (the whole text, no limit).
std::string WindowText(HWND window);
