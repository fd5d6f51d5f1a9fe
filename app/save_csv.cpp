// Saving every sub-network of a plan as CSV, written exactly as velkor's
// "--list --all --format csv" writes it. The file is written beside the target
// under a temporary name and only then put in its place, so a failed save
// never leaves half a file nor damages the one it would replace.
#include <cstdio>
#include <string>

#include "app/secondary_windows.hpp"
#include "calc/listing.hpp"
#include "toolkit/controls.hpp"
#include "toolkit/files.hpp"
#include "base/text.hpp"
#include "toolkit/windows.hpp"
#include "toolkit/message_box.hpp"

namespace {

constexpr char CsvFilter[] = "CSV files (*.csv)\0*.csv\0All files (*.*)\0*.*\0";
constexpr const char* DefaultFileName = "subnets.csv";
constexpr const char* SaveFailedTitle = "Could not save";

// Shows "Saving nn%" in the label and keeps the windows painted.
void ReportProgress(int label, int64_t written, int64_t total) {
  const std::string text = "Saving " + FormatInteger(written * 100 / total) + "%";
  ControlSetText(label, text.c_str());
  PaintPendingWindows();
}

bool WriteCsv(const SubnetPlan& plan, const std::string& path, int progressLabel) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const ListingProgress progress = [progressLabel](int64_t written, int64_t total) {
    ReportProgress(progressLabel, written, total);
  };
  const bool written = WriteListing(WholePlan(plan), ListFormat::Csv, file, progress);
  return std::fclose(file) == 0 && written;
}

// Writes under a temporary name beside `target`, then replaces `target`.
bool SaveThroughTemporaryFile(const SubnetPlan& plan, const std::string& target,
                              int progressLabel) {
  const std::string temporary = CreateFileBeside(target);
  if (temporary.empty()) return false;
  if (WriteCsv(plan, temporary, progressLabel) && ReplaceFileWith(temporary, target) != 0) {
    return true;
  }
  DeleteFileNamed(temporary);
  return false;
}

}  // namespace

void SaveSubnetsAsCsv(NativeHandle owner, const SubnetPlan& plan, int progressLabel) {
  const SaveFileChoice choice = ChooseSaveFile(owner, DefaultFileName, CsvFilter, "csv");
  if (choice.failure != 0) {
    const std::string text = "The Save As dialog could not be shown (error " +
                             FormatInteger(static_cast<int64_t>(choice.failure)) + ").";
    ShowMessageBox(SaveFailedTitle, text.c_str(), MessageBoxInformation);
  }
  const std::string& target = choice.path;
  if (target.empty()) return;
  ShowWaitCursor(1);
  const bool saved = SaveThroughTemporaryFile(plan, target, progressLabel);
  ShowWaitCursor(0);
  if (!saved) {
    const std::string text = "The sub-networks could not be saved to " + target +
                             ". Check that the folder can be written and has room.";
    ShowMessageBox(SaveFailedTitle, text.c_str(), MessageBoxInformation);
  }
}
