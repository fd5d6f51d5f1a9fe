// The save rules and texts.
#include "app/save_rules.hpp"

#include "base/text.hpp"

namespace {

std::string CountText(SaveCount count) {
  return GroupedDigits(std::to_string(count));
}

}  // namespace

SaveVerdict JudgeSave(const SaveSize& size, std::optional<SaveCount> freeBytes) {
  if (freeBytes && size.bytes > *freeBytes) return SaveVerdict::NoRoom;
  return size.bytes > LargeSaveBytes ? SaveVerdict::Ask : SaveVerdict::Write;
}

std::string RowsText(SaveCount rows) {
  return CountText(rows) + (rows == 1 ? " row" : " rows");
}

std::string LargeSaveQuestion(const SaveSize& size) {
  return "Saving " + RowsText(size.rows) + " writes up to " + CountText(size.bytes) +
         " bytes. Save them all?";
}

std::string NoRoomText(const SaveSize& size, SaveCount freeBytes, const std::string& target) {
  return "Saving " + RowsText(size.rows) + " needs up to " + CountText(size.bytes) +
         " bytes, and the disk of " + target + " has " + CountText(freeBytes) +
         " bytes free. Nothing was written.";
}

std::string SavingText(SaveCount rows) {
  return "Saving " + RowsText(rows) + "...";
}

std::string WrittenText(uint64_t written, SaveCount rows) {
  return CountText(written) + " of " + RowsText(rows) + " written";
}

int PartDone(uint64_t written, SaveCount rows, int steps) {
  if (rows == 0 || written >= rows) return steps;
  return static_cast<int>(static_cast<double>(written) / static_cast<double>(rows) * steps);
}
