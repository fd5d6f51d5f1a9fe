#include "app/save_rules.hpp"

#include <gtest/gtest.h>

#include "net/decimal.hpp"

namespace {

TEST(JudgeSave, RefusesWhatDoesNotFitThenAsksAboutLargeSaves) {
  const struct {
    SaveCount bytes;
    std::optional<SaveCount> freeBytes;
    SaveVerdict verdict;
  } cases[] = {
      {570425379, 570425379, SaveVerdict::Write},
      {570425380, 570425379, SaveVerdict::NoRoom},
      {LargeSaveBytes, std::nullopt, SaveVerdict::Write},
      {LargeSaveBytes + 1, {}, SaveVerdict::Ask},
      {SaveCount::Max(), LargeSaveBytes, SaveVerdict::NoRoom},
  };
  for (const auto& c : cases)
    EXPECT_EQ(JudgeSave(SaveSize{1, c.bytes}, c.freeBytes), c.verdict) << DecimalText(c.bytes);
}

TEST(SaveTexts, SayTheRowsAndBytes) {
  EXPECT_EQ(LargeSaveQuestion(SaveSize{16777216, 1191182337}),
            "Saving 16,777,216 rows writes up to 1,191,182,337 bytes. Save them all?");
  EXPECT_EQ(NoRoomText(SaveSize{1, 96}, 1048576, "Z:\\a.csv"),
            "Saving 1 row needs up to 96 bytes, and the disk of Z:\\a.csv has 1,048,576 bytes "
            "free. Nothing was written.");
  EXPECT_EQ(WrittenText(65536, 8388608), "65,536 of 8,388,608 rows written");
  EXPECT_EQ(PartDone(~uint64_t{0} / 4, SaveCount(~uint64_t{0}), 1000), 250);
  // Every row of ::/0 into /128, counted exactly.
  EXPECT_EQ(SavingText(PowerOfTwo(128)),
            "Saving 340,282,366,920,938,463,463,374,607,431,768,211,456 rows...");
  EXPECT_EQ(PartDone(~uint64_t{0}, PowerOfTwo(128), 1000), 0);
}

}  // namespace
