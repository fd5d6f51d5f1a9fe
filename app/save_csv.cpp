// Saving a CSV file the user picks. The file is written beside the target
// under a temporary name and only then put in its place, so a failed save
// never leaves half a file nor damages the one it would replace.
#include <cstdio>
#include <string>

#include "app/secondary_windows.hpp"
#include "base/text.hpp"
#include "toolkit/files.hpp"
#include "toolkit/message_box.hpp"
#include "toolkit/windows.hpp"

namespace {

constexpr char CsvFilter[] = "CSV files (*.csv)\0*.csv\0All files (*.*)\0*.*\0";
constexpr const char* SaveFailedTitle = "Could not save";

bool WriteFile(const std::string& path, const CsvWriter& write) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = write(file);
  return std::fclose(file) == 0 && written;
}

// Writes under a temporary name beside `target`, then replaces `target`.
bool SaveThroughTemporaryFile(const std::string& target, const CsvWriter& write) {
  const std::string temporary = CreateFileBeside(target);
  if (temporary.empty()) return false;
  if (WriteFile(temporary, write) && ReplaceFileWith(temporary, target) != 0) return true;
  DeleteFileNamed(temporary);
  return false;
}

}  // namespace

void SaveAsCsv(NativeHandle owner, const char* defaultName, const char* contents,
               const CsvWriter& write) {
  const SaveFileChoice choice = ChooseSaveFile(owner, defaultName, CsvFilter, "csv");
  if (choice.failure != 0) {
    const std::string text = "The Save As dialog could not be shown (error " +
                             FormatInteger(static_cast<int64_t>(choice.failure)) + ").";
    ShowMessageBox(SaveFailedTitle, text.c_str(), MessageBoxInformation);
  }
  const std::string& target = choice.path;
  if (target.empty()) return;
  ShowWaitCursor(1);
  const bool saved = SaveThroughTemporaryFile(target, write);
  ShowWaitCursor(0);
  if (!saved) {
    const std::string text = std::string(contents) + " could not be saved to " + target +
                             ". Check that the folder can be written and has room.";
    ShowMessageBox(SaveFailedTitle, text.c_str(), MessageBoxInformation);
  }
}
