// The progress window of a long save. The writing runs as a toolkit job, so
// the windows keep painting and Cancel answers however long each write takes;
// the job shares only the two atomics below with this thread.
#include "app/save_progress.hpp"

#include <windows.h>

#include <atomic>
#include <chrono>

#include "app/modal.hpp"
#include "app/window_ids.hpp"
#include "toolkit/controls.hpp"
#include "toolkit/events.hpp"
#include "toolkit/jobs.hpp"

namespace {

constexpr int Width = 330;
constexpr int Height = 92;
constexpr auto ShownAfter = std::chrono::milliseconds(500);
constexpr const char* CancellingText = "Cancelling...";

struct ProgressView {
  int window = 0;
  int bar = 0;
  int written = 0;
  int cancel = 0;
  int job = 0;
  SaveCount rows = 0;
  bool shown = false;
  std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
  std::atomic<uint64_t> rowsWritten{0};
  std::atomic<bool> cancelled{false};
};

void CreateControls(ProgressView& view) {
  CreateLabel(AutoId, 10, 10, Width - 20, 16, SavingText(view.rows).c_str());
  view.bar = AsId(CreateProgressBar(AutoId, 10, 32, Width - 20, 18));
  view.written =
      AsId(CreateLabel(AutoId, 10, 64, Width - 105, 16, WrittenText(0, view.rows).c_str()));
  view.cancel = AsId(CreatePushButton(AutoId, Width - 85, 60, 75, 22, "Cancel"));
  WindowAddShortcut(view.window, VK_ESCAPE, EscapeCommand);
}

// The window comes up once the save has run for a while, so quick saves show none.
void ShowProgress(ProgressView& view) {
  if (view.cancelled) return;
  const uint64_t written = view.rowsWritten;
  ControlSetState(view.bar, PartDone(written, view.rows, ProgressBarSteps));
  ControlSetText(view.written, WrittenText(written, view.rows).c_str());
  if (view.shown || std::chrono::steady_clock::now() - view.start < ShownAfter) return;
  view.shown = true;
  WindowSetHidden(view.window, 0);
  ControlSetFocus(view.cancel);
}

void Cancel(ProgressView& view) {
  view.cancelled = true;
  ControlSetDisabled(view.cancel, 1);
  ControlSetText(view.written, CancellingText);
}

// Runs until the job has ended; a cancel waits for the writer to stop.
bool OnEvent(ProgressView& view, int kind) {
  if (kind == JobEvent && EventSourceJob() == view.job) {
    if (EventDetail() == JobEnded) return false;
    ShowProgress(view);
  } else if (IsDismissal(kind, view.cancel)) {
    Cancel(view);
  }
  return true;
}

}  // namespace

SaveOutcome WriteWithProgress(NativeHandle owner, SaveCount rows,
                              const std::function<bool(const SaveProgress& progress)>& write) {
  ProgressView view;
  view.rows = rows;
  const SaveProgress progress = [&view](uint64_t written) {
    view.rowsWritten = written;
    return !view.cancelled;
  };
  ModalWindow modal(owner, Width, Height, SavingTitle, StartHidden);
  view.window = modal.Id();
  view.job = JobStart(view.window, [&] { return write(progress); });
  if (view.job == 0) return SaveOutcome::Failed;
  modal.Run([&] { CreateControls(view); }, [&](int kind) { return OnEvent(view, kind); });
  const bool written = JobFinish(view.job);
  if (view.cancelled) return SaveOutcome::Cancelled;
  return written ? SaveOutcome::Written : SaveOutcome::Failed;
}
