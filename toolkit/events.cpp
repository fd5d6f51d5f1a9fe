// The per-thread event stream: the queue of posted events, the current event
// and EventWait, which turns one Win32 message or one queued event into an
// event kind.
#include "toolkit/events.hpp"
#include "toolkit/test_access.hpp"
#include "toolkit/toolkit_state.hpp"

namespace {

EventStream& Stream() {
  return ThisThread().events;
}

// Accelerators of the active toolkit window for this message, or null. Tab
// and Enter stay with an editable rich-edit control so that they can be
// typed there.
HACCEL ActiveAccelerators() {
  WindowRecord* record = WindowTable().Find(OwnWindowId(GetActiveWindow()));
  if (record == nullptr) return nullptr;
  bool typingKey = (GetKeyState(VK_TAB) & 0x8000) != 0 || (GetKeyState(VK_RETURN) & 0x8000) != 0;
  bool plainKey = typingKey && (GetKeyState(VK_CONTROL) & 0x8000) == 0 &&
                  (GetKeyState(VK_SHIFT) & 0x8000) == 0 && (GetKeyState(VK_MENU) & 0x8000) == 0;
  if (plainKey) {
    HWND focus = GetFocus();
    char className[32] = "";
    GetClassNameA(focus, className, sizeof className);
    bool richEdit = _strnicmp(className, "RichEdit", 8) == 0;
    if (richEdit && (GetWindowLongPtrA(focus, GWL_STYLE) & ES_READONLY) == 0) return nullptr;
  }
  return record->accelerators.Get();
}

// Accelerators translate only key presses and typed characters; for any other
// message the active window's table is not even looked up (each look-up asks
// the window server under Wine).
bool IsKeyMessage(UINT message) {
  return message == WM_KEYDOWN || message == WM_SYSKEYDOWN || message == WM_CHAR ||
         message == WM_SYSCHAR;
}

void DispatchOne(EventStream& stream) {
  MSG message{};
  if (GetMessageA(&message, nullptr, 0, 0) < 0) return;  // stays kind 0
  HACCEL accelerators = IsKeyMessage(message.message) ? ActiveAccelerators() : nullptr;
  stream.dispatching = true;
  if (accelerators == nullptr ||
      TranslateAcceleratorA(GetActiveWindow(), accelerators, &message) == 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  stream.dispatching = false;
  if (stream.direct) {
    stream.direct = false;
    stream.working.wParam = 0;
    stream.working.lParam = 0;
  } else {
    // The raw message: its number, wParam and lParam.
    stream.working.kind = static_cast<int>(message.message);
    stream.working.wParam = message.wParam;
    stream.working.lParam = message.lParam;
    stream.working.source = -1;
    stream.working.detail = -1;
  }
}

template <typename Predicate>
void DropEvents(Predicate matches) {
  auto& queue = Stream().queue;
  for (auto it = queue.begin(); it != queue.end();) {
    it = matches(*it) ? queue.erase(it) : it + 1;
  }
}

}  // namespace

int EventWait() {
  EventStream& stream = Stream();
  stream.working = Event{};
  stream.direct = false;
  if (!stream.queue.empty()) {
    stream.working = stream.queue.front();
    stream.queue.pop_front();
  } else {
    DispatchOne(stream);
  }
  stream.current = stream.working;
  return stream.current.kind;
}

int EventSourceWindow() {
  return Stream().current.window;
}
int EventSourceControl() {
  return Stream().current.source;
}
int EventSourceMenuItem() {
  return Stream().current.source;
}
int EventSourceJob() {
  return Stream().current.source;
}
int EventDetail() {
  return Stream().current.detail;
}

void EventPost(int kind, int source, int window, int detail) {
  auto& queue = Stream().queue;
  if (!queue.empty()) {
    const Event& newest = queue.back();
    if (newest.kind == kind && newest.source == source && newest.window == window &&
        newest.detail == detail) {
      return;
    }
  }
  Event event;
  event.kind = kind;
  event.source = source;
  event.window = window;
  event.detail = detail;
  queue.push_back(event);
}

int EventQueueLength() {
  return static_cast<int>(Stream().queue.size());
}

void RecordMessageWindow(int window) {
  Stream().working.window = window;
}

void RecordDirectEvent(int kind, int source, int window, int detail) {
  EventStream& stream = Stream();
  if (!stream.dispatching || stream.direct) {
    EventPost(kind, source, window, detail);
    return;
  }
  stream.direct = true;
  stream.working.kind = kind;
  stream.working.source = source;
  stream.working.window = window;
  stream.working.detail = detail;
}

void DropWindowEvents(int window) {
  DropEvents([window](const Event& event) { return event.window == window; });
}

void DropControlEvents(int control) {
  DropEvents([control](const Event& event) {
    return event.kind == ControlEvent && event.source == control;
  });
}
