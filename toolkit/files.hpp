// Files the user saves: the system's Save As dialog, a temporary file beside
// the target, and replacing the target with it in one step.
#pragma once

#include <cstdint>
#include <string>

#include "toolkit/windows.hpp"

// What the Save As dialog gave: a path, a cancel (both empty), or a failure.
struct SaveFileChoice {
  std::string path;           // "" when cancelled or failed
  unsigned long failure = 0;  // the dialog's extended error when it failed, else 0
};
// Shows the Save As dialog owned by `owner`, proposing `defaultName` and
// filtering on `filter` (pairs of description and pattern, each ended by a
// NUL, the list by a second NUL).
SaveFileChoice ChooseSaveFile(NativeHandle owner, const char* defaultName, const char* filter,
                              const char* defaultExtension);
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
