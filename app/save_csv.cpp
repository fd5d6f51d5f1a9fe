// Saving a CSV file, or a plan file, that the user picks. The file is written beside the target
// under a temporary name and only then put in its place, so a failed or
// cancelled save never leaves half a file nor damages the one it would
// replace. Before anything is written, a save larger than the disk's free
// space is refused and a large one asked about.
#include <cstdio>
#include <optional>
#include <string>

#include "app/save_progress.hpp"
#include "app/secondary_windows.hpp"
#include "base/text.hpp"
#include "toolkit/files.hpp"
#include "toolkit/message_box.hpp"
#include "toolkit/windows.hpp"

namespace {

constexpr char CsvFilter[] = "CSV files (*.csv)\0*.csv\0All files (*.*)\0*.*\0";
constexpr char PlanFilter[] = "Plan files (*.txt)\0*.txt\0All files (*.*)\0*.*\0";
constexpr const char* SaveFailedTitle = "Could not save";
constexpr const char* NoRoomTitle = "Not enough room";
constexpr const char* LargeSaveTitle = "Large save";

// Runs on the save's own thread.
bool WriteFile(const std::string& path, const CsvWriter& write, const SaveProgress& progress) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = write(file, progress);
  return std::fclose(file) == 0 && written;
}

// The dialog's path; "" when cancelled or when the dialog failed (told).
std::string ChosenPath(const FileChoice& choice) {
  if (choice.failure != 0) {
    const std::string text = "The file dialog could not be shown (error " +
                             FormatInteger(static_cast<int64_t>(choice.failure)) + ").";
    ShowMessageBox(SaveFailedTitle, text.c_str(), MessageBoxInformation);
  }
  return choice.path;
}

// Whether the save may start: it fits on the disk, and a large one is wanted.
bool SizeAccepted(const SaveSize& size, const std::string& target) {
  uint64_t free = 0;
  const std::optional<SaveCount> room =
      FreeSpaceBeside(target, free) ? std::optional<SaveCount>(SaveCount(free)) : std::nullopt;
  switch (JudgeSave(size, room)) {
    case SaveVerdict::NoRoom:
      ShowMessageBox(NoRoomTitle, NoRoomText(size, *room, target).c_str(), MessageBoxInformation);
      return false;
    case SaveVerdict::Ask:
      return ShowMessageBox(LargeSaveTitle, LargeSaveQuestion(size).c_str(), MessageBoxQuestion) ==
             MessageBoxYes;
    case SaveVerdict::Write:
      break;
  }
  return true;
}

// Writes under a temporary name beside `target`, then replaces `target`.
SaveOutcome SaveThroughTemporaryFile(NativeHandle owner, const std::string& target,
                                     const CsvSave& save) {
  const std::string temporary = CreateFileBeside(target);
  if (temporary.empty()) return SaveOutcome::Failed;
  const SaveOutcome outcome = WriteWithProgress(
      owner, save.size.rows,
      [&](const SaveProgress& progress) { return WriteFile(temporary, save.write, progress); });
  if (outcome == SaveOutcome::Written && ReplaceFileWith(temporary, target) != 0) return outcome;
  DeleteFileNamed(temporary);
  return outcome == SaveOutcome::Cancelled ? outcome : SaveOutcome::Failed;
}

// Saves to `target` when it fits and is wanted; false, told, unless written.
bool SaveTo(NativeHandle owner, const std::string& target, const CsvSave& save) {
  if (!SizeAccepted(save.size, target)) return false;
  const SaveOutcome outcome = SaveThroughTemporaryFile(owner, target, save);
  if (outcome != SaveOutcome::Failed) return outcome == SaveOutcome::Written;
  const std::string text = std::string(save.contents) + " could not be saved to " + target +
                           ". Check that the folder can be written and has room.";
  ShowMessageBox(SaveFailedTitle, text.c_str(), MessageBoxInformation);
  return false;
}

CsvSave TextSave(const char* defaultName, const char* contents, SaveCount rows,
                 const std::string& text) {
  const CsvWriter write = [&text](std::FILE* file, const SaveProgress&) {
    return std::fwrite(text.data(), 1, text.size(), file) == text.size();
  };
  return CsvSave{defaultName, contents, SaveSize{rows, SaveCount(text.size())}, write};
}

}  // namespace

void SaveAsCsv(NativeHandle owner, const CsvSave& save) {
  const std::string target = ChosenPath(ChooseSaveFile(owner, save.defaultName, CsvFilter, "csv"));
  if (!target.empty()) SaveTo(owner, target, save);
}

void SaveTextAsCsv(NativeHandle owner, const char* defaultName, const char* contents,
                   SaveCount rows, const std::string& csv) {
  SaveAsCsv(owner, TextSave(defaultName, contents, rows, csv));
}

std::string SavePlanFile(NativeHandle owner, const std::string& target, const char* defaultName,
                         SaveCount rows, const std::string& text) {
  const std::string path =
      !target.empty() ? target : ChosenPath(ChooseSaveFile(owner, defaultName, PlanFilter, "txt"));
  const bool saved =
      !path.empty() && SaveTo(owner, path, TextSave(defaultName, "The plan", rows, text));
  return saved ? path : std::string();
}

std::string ChoosePlanFile(NativeHandle owner) {
  return ChosenPath(ChooseOpenFile(owner, PlanFilter));
}
