// The save rules and texts.
#include "app/save_rules.hpp"

#include "net/decimal.hpp"

namespace {

std::string CountText(const SaveCount& count) {
  return GroupedDecimal(count);
}

// Near enough for a progress bar.
double Approximately(const SaveCount& count) {
  constexpr double half = 18446744073709551616.0;  // 2^64
  return (static_cast<double>(count.high) * half + static_cast<double>(count.low.high)) * half +
         static_cast<double>(count.low.low);
}

}  // namespace

SaveVerdict JudgeSave(const SaveSize& size, std::optional<SaveCount> freeBytes) {
  if (freeBytes && size.bytes > *freeBytes) return SaveVerdict::NoRoom;
  return size.bytes > SaveCount(LargeSaveBytes) ? SaveVerdict::Ask : SaveVerdict::Write;
}

std::string RowsText(SaveCount rows) {
  return CountText(rows) + (rows == SaveCount(1) ? " row" : " rows");
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
  if (rows == SaveCount() || SaveCount(written) >= rows) return steps;
  return static_cast<int>(static_cast<double>(written) / Approximately(rows) * steps);
}
