// Files the user saves, opens and drops: the system's Save As and Open
// dialogs, a temporary file beside the target and replacing the target with
// it in one step, and files dropped on a window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/windows.hpp"

// What the Save As or Open dialog gave: a path, a cancel (both empty), or a failure.
struct FileChoice {
  std::string path;           // "" when cancelled or failed
  unsigned long failure = 0;  // the dialog's extended error when it failed, else 0
};
// Shows the Save As dialog owned by `owner`, proposing `defaultName` and
// filtering on `filter` (pairs of description and pattern, each ended by a
// NUL, the list by a second NUL).
FileChoice ChooseSaveFile(NativeHandle owner, const char* defaultName, const char* filter,
                          const char* defaultExtension);
// Shows the Open dialog owned by `owner` for an existing file, filtering as
// ChooseSaveFile does.
FileChoice ChooseOpenFile(NativeHandle owner, const char* filter);
// Creates a new, empty file with a unique name in the folder of `target` and
// returns its path; "" when the folder cannot be written.
std::string CreateFileBeside(const std::string& target);
// The bytes this user may still write on the disk that holds the folder of
// `target` in `bytes`; false when the system cannot tell.
bool FreeSpaceBeside(const std::string& target, uint64_t& bytes);
// Puts the file `from` in the place of `to`, replacing any file there in one
// step. Non-zero on success; on failure both files are as they were.
int ReplaceFileWith(const std::string& from, const std::string& to);
// Deletes a file; non-zero on success.
int DeleteFileNamed(const std::string& path);

// Lets files be dropped on a window (accept != 0) or not. Each drop raises a
// FileDropEvent (toolkit/events.hpp) of the window, whose detail is the
// number of files; WindowDroppedFiles then gives their paths.
void WindowAcceptFiles(int window, int accept);
// The paths of the files dropped last on the window; none for a dead id.
std::vector<std::string> WindowDroppedFiles(int window);
