// Writing a save off the window thread, with its progress shown when it takes
// long, and Cancel.
#pragma once

#include <cstdint>
#include <functional>

#include "app/save_rules.hpp"
#include "toolkit/windows.hpp"

// Told the rows written so far; false once the user has cancelled, and the
// writer should stop.
using SaveProgress = std::function<bool(uint64_t written)>;

enum class SaveOutcome { Written, Failed, Cancelled };
// Runs `write` on a thread of its own while `owner` takes no input. When it
// runs longer than about half a second, a window over `owner` shows the rows
// written of `rows` and a bar, and Cancel (or Escape) asks it to stop. Returns
// once `write` has returned: Cancelled after a cancel, whatever it returned.
SaveOutcome WriteWithProgress(NativeHandle owner, SaveCount rows,
                              const std::function<bool(const SaveProgress& progress)>& write);
