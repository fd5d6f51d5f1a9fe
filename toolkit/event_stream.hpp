// The per-thread event stream as the window procedures see it: the queue of
// posted events and the current one, recording the event a message turns
// into, and dropping the events of what goes away.
#pragma once

#include <windows.h>

#include <deque>

struct Event {
  int kind = 0;
  int source = -1;
  int window = -1;
  int detail = -1;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

struct EventStream {
  std::deque<Event> queue;
  Event current;  // the event EventWait returned last
  Event working;  // the event being built by the running EventWait
  bool dispatching = false;
  bool direct = false;  // `working` holds an event recorded during the dispatch
};

// Window id recorded as the working event's window while a message is handled.
void RecordMessageWindow(int window);
// The result of the current dispatch (a WM_COMMAND turned into an event). When
// no EventWait dispatch is running, or one event was already recorded, the
// event is queued instead so that it is never lost.
void RecordDirectEvent(int kind, int source, int window, int detail);
// Drops the undelivered events of a window (any kind) or of a control
// (ControlEvents whose source is the control).
void DropWindowEvents(int window);
void DropControlEvents(int control);
