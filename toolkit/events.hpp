// The event stream: callers never see a window procedure; they wait for
// numbered events and compare ids.
#pragma once

// Event kinds that EventWait returns and applications compare.
constexpr int CloseRequest = 16;
constexpr int ControlEvent = 13100;
constexpr int MenuEvent = 13101;
// A running job's news (toolkit/jobs.hpp); its detail says which.
constexpr int JobEvent = 13103;
constexpr int JobTick = 0;   // it still runs
constexpr int JobEnded = 1;  // its work has returned
// Files dropped on a window that accepts them (toolkit/files.hpp); the
// detail is how many.
constexpr int FileDropEvent = 13104;
// Kinds applications ignore.
constexpr int ActivateEvent = 13102;

// Blocks until a queued event or one dispatched message; returns its kind
// (one of the codes above or a raw Win32 message number).
int EventWait();
int EventSourceWindow();    // window id of the current event
int EventSourceControl();   // control id of the current ControlEvent
int EventSourceMenuItem();  // item id of the current MenuEvent
int EventSourceJob();       // job id of the current JobEvent
int EventDetail();          // detail of the current ControlEvent or JobEvent
// Queues an event for a later EventWait; an event equal to the newest queued
// one (kind, source, window, detail) is dropped.
void EventPost(int kind, int source, int window, int detail);
