// Everything the toolkit keeps, in one place. ToolkitStart builds the state
// with its members in start order; ToolkitStop destroys it, so the teardown
// runs in the reverse order and cannot drift from the start. What belongs to
// one thread (its events, its control container, its default control font
// and its current popup menu) is in that thread's own state.
#pragma once

#include <windows.h>

#include "base/ids.hpp"
#include "toolkit/brushes.hpp"
#include "toolkit/control_framework.hpp"
#include "toolkit/dpi.hpp"
#include "toolkit/event_stream.hpp"
#include "toolkit/font_service.hpp"
#include "toolkit/image_service.hpp"
#include "toolkit/job_records.hpp"
#include "toolkit/late_library.hpp"
#include "toolkit/win32_holders.hpp"
#include "toolkit/window_records.hpp"

// COM for the shell's link opening: ole32 is loaded and COM started when the
// first link is opened, not at start-up.
struct ComApartment {
  ComApartment() = default;
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment();
  bool Start();  // true once COM is started on this thread
  LateLibrary ole32{"ole32.dll"};
  bool started = false;
  bool tried = false;
};

struct ToolkitState {
  DpiFunctions dpi;
  FontService fonts;
  ImageService images;
  WindowService windows;
  BrushCache brushes;  // before the controls, whose records hold brushes
  ControlRegistry controls;
  IdTable<MenuHolder> menus;
  IdTable<JobRecord> jobs;      // gone before the windows it ticks; each record joins its thread
  bool commonControls = false;  // the common control classes are registered
  // What only some actions need, loaded when first used: the first window
  // needs none of them.
  LateLibrary comdlg32{"comdlg32.dll"};
  LateLibrary shell32{"shell32.dll"};
  ComApartment com;
};

struct ThreadState {
  EventStream events;
  ContainerStack containers;
  HFONT defaultControlFont = nullptr;  // designed; null: the stock DEFAULT_GUI_FONT
  int currentPopupMenu = -1;           // the popup menu created last; items go to it
};

// The toolkit's state; started by the first use when ToolkitStart has not run.
ToolkitState& Toolkit();
ThreadState& ThisThread();
