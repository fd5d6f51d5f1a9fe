#include "base/patterns.hpp"

#include <string>

#include <gtest/gtest.h>

#include "base/ids.hpp"

namespace {

// PCRE's caseless option, to show the options word reaches the library.
constexpr int Caseless = 1;

// Every test starts and ends with no live pattern, so counts are exact.
class PatternTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(LivePatternCount(), 0); }
  void TearDown() override {
    ReleaseAllPatterns();
    EXPECT_EQ(LivePatternCount(), 0);
  }
};

TEST_F(PatternTest, CompiledPatternGetsAnAllocatedIdAndMatchesAnywhere) {
  const int id = CompilePattern(AutoId, "b+", 0);
  EXPECT_GE(id, FirstAllocatedId);
  EXPECT_EQ(LivePatternCount(), 1);
  EXPECT_EQ(MatchPattern(id, "abbc"), 1);
  EXPECT_EQ(MatchPattern(id, "ac"), 0);
  EXPECT_EQ(MatchPattern(id, ""), 0);
  EXPECT_EQ(MatchPattern(id, nullptr), 0);
  ReleasePattern(id);
  EXPECT_EQ(LivePatternCount(), 0);
}

TEST_F(PatternTest, DeadIdsMatchNothingAndReleaseHarmlessly) {
  const int kept = CompilePattern(AutoId, "x", 0);
  const int released = CompilePattern(AutoId, "x", 0);
  ASSERT_NE(kept, released);
  ReleasePattern(released);
  EXPECT_EQ(MatchPattern(released, "x"), 0);
  ReleasePattern(released);
  ReleasePattern(0);
  ReleasePattern(12345);
  EXPECT_EQ(LivePatternCount(), 1);
  EXPECT_EQ(MatchPattern(kept, "x"), 1);
  EXPECT_EQ(MatchPattern(0, "x"), 0);
}

TEST_F(PatternTest, RefusedPatternsLeaveNothingAlive) {
  EXPECT_EQ(CompilePattern(AutoId, "([", 0), 0);
  EXPECT_EQ(CompilePattern(AutoId, nullptr, 0), 0);
  // 0 is "no pattern", so it cannot be an explicit id either.
  EXPECT_EQ(CompilePattern(0, "a", 0), 0);
  EXPECT_EQ(CompilePattern(MaxExplicitId + 1, "a", 0), 0);
  EXPECT_EQ(LivePatternCount(), 0);
}

TEST_F(PatternTest, ExplicitIdIsUsedOnce) {
  EXPECT_EQ(CompilePattern(5, "a", 0), 5);
  EXPECT_EQ(CompilePattern(5, "b", 0), 0);
  EXPECT_EQ(LivePatternCount(), 1);
  EXPECT_EQ(MatchPattern(5, "a"), 1);
  EXPECT_EQ(MatchPattern(5, "b"), 0);
}

TEST_F(PatternTest, OptionsWordReachesTheLibrary) {
  const int spaced = CompilePattern(AutoId, "^a b c$", PatternExtended);
  const int literal = CompilePattern(AutoId, "^a b c$", 0);
  EXPECT_EQ(MatchPattern(spaced, "abc"), 1);
  EXPECT_EQ(MatchPattern(literal, "abc"), 0);
  EXPECT_EQ(MatchPattern(literal, "a b c"), 1);
  EXPECT_EQ(MatchPattern(CompilePattern(AutoId, "abc", Caseless), "ABC"), 1);
  EXPECT_EQ(MatchPattern(CompilePattern(AutoId, "abc", 0), "ABC"), 0);
}

TEST_F(PatternTest, LibraryDefaultsApply) {
  const int anchored = CompilePattern(AutoId, "^a$", 0);
  EXPECT_EQ(MatchPattern(anchored, "a\n"), 1);
  EXPECT_EQ(MatchPattern(anchored, "a\n\n"), 0);
  EXPECT_EQ(MatchPattern(CompilePattern(AutoId, "a.b", 0), "a\nb"), 0);
  // The subject ends at its first NUL.
  const char withNul[] = "x\0b";
  EXPECT_EQ(MatchPattern(CompilePattern(AutoId, "b", 0), withNul), 0);
}

TEST_F(PatternTest, MatchLimitErrorCountsAsNoMatch) {
  // Nested repeats backtrack far past PCRE's default match limit.
  const int runaway = CompilePattern(AutoId, "^(a+)+$", 0);
  EXPECT_EQ(MatchPattern(runaway, (std::string(26, 'a') + "b").c_str()), 0);
  EXPECT_EQ(MatchPattern(runaway, "aaaa"), 1);
}

TEST_F(PatternTest, ReleaseAllFreesEveryPattern) {
  const int ids[] = {CompilePattern(AutoId, "a", 0), CompilePattern(AutoId, "b", 0),
                     CompilePattern(7, "c", 0)};
  EXPECT_EQ(LivePatternCount(), 3);
  ReleaseAllPatterns();
  EXPECT_EQ(LivePatternCount(), 0);
  for (int id : ids)
    EXPECT_EQ(MatchPattern(id, "abc"), 0) << id;
}

}  // namespace
