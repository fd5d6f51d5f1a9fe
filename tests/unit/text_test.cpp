#include "base/text.hpp"

#include <cstdint>
#include <limits>
#include <string>

#include <gtest/gtest.h>

namespace {

constexpr int64_t Int64Min = std::numeric_limits<int64_t>::min();
constexpr int64_t Int64Max = std::numeric_limits<int64_t>::max();

TEST(FormatInteger, WritesPlainSignedDecimal) {
  const struct {
    int64_t value;
    const char* text;
  } cases[] = {
      {0, "0"},
      {-1, "-1"},
      {7, "7"},
      {1000, "1000"},
      {4294967296, "4294967296"},
      {Int64Max, "9223372036854775807"},
      {Int64Min, "-9223372036854775808"},
      // A 32-bit value after sign extension.
      {int64_t{std::numeric_limits<int32_t>::min()}, "-2147483648"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatInteger(c.value), c.text) << c.value;
}

struct ParseCase {
  const char* text;
  int64_t value;
  bool overflowed;
};

const ParseCase ParseCases[] = {
    {nullptr, 0, false},
    {"", 0, false},
    {"  42", 42, false},
    {"\t7", 7, false},
    {"\n5", 0, false},  // only blanks and tabs are skipped
    {"-5", -5, false},
    {"+5", 5, false},
    {"- 5", 0, false},
    {"12abc", 12, false},
    {"abc", 0, false},
    {"$ff", 255, false},
    {"$FF", 255, false},
    {"$fg", 15, false},
    {"-$10", -16, false},
    {"%101", 5, false},
    {"%102", 2, false},
    {"0x10", 0, false},
    {"4294967296", 4294967296, false},
    {"000000000000000000000000042", 42, false},
    {"9223372036854775807", Int64Max, false},
    {"-9223372036854775808", Int64Min, false},
    // Past the signed range: the value wraps, and the checked parse says so.
    {"9223372036854775808", Int64Min, true},
    {"-9223372036854775809", Int64Max, true},
    {"18446744073709551616", 0, true},
    {"18446744073709551666", 50, true},
    {"$7fffffffffffffff", Int64Max, false},
    {"$8000000000000000", Int64Min, true},
    {"$ffffffffffffffff", -1, true},
    {"%10000000000000000000000000000000000000000000000000000000000000011", 3, true},
};

TEST(ParseInteger, FollowsTheConversionRules) {
  for (const ParseCase& c : ParseCases) {
    EXPECT_EQ(ParseInteger(c.text), c.value) << (c.text ? c.text : "(null)");
  }
  EXPECT_EQ(ParseInteger(std::string("  -17 and more")), -17);
}

TEST(ParseIntegerChecked, ReportsOverflowAndKeepsTheWrappedValue) {
  for (const ParseCase& c : ParseCases) {
    const ParsedInteger parsed = ParseIntegerChecked(c.text);
    const char* shown = c.text ? c.text : "(null)";
    EXPECT_EQ(parsed.value, c.value) << shown;
    EXPECT_EQ(parsed.overflowed, c.overflowed) << shown;
  }
}

TEST(TextField, SplitsAtTheFirstDelimiterCharacter) {
  const struct {
    const char* text;
    int field;
    const char* delimiter;
    const char* expected;
  } cases[] = {
      {"192.168.1.0", 1, ".", "192"},
      {"192.168.1.0", 2, ".", "168"},
      {"192.168.1.0", 4, ".", "0"},
      {"192.168.1.0", 5, ".", ""},
      {"192.168.1.0", 0, ".", ""},
      {"192.168.1.0", -1, ".", ""},
      {"1..2", 2, ".", ""},
      {"1..2", 3, ".", "2"},
      {"a.", 2, ".", ""},
      {"a.", 3, ".", ""},
      {"", 1, ".", ""},
      {"a.b;c", 2, ".;", "b;c"},
      {"a.b", 1, "", "a.b"},
      {"a.b", 2, "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TextField(c.text, c.field, c.delimiter), c.expected)
        << c.text << " field " << c.field << " delimiter '" << c.delimiter << "'";
  }
}

TEST(PadRight, FillsOrCutsToTheWidth) {
  const std::string label = "Subnetmask: ";  // 12 characters
  EXPECT_EQ(PadRight(label, 30), label + std::string(18, ' '));
  const std::string longText(35, 'x');
  EXPECT_EQ(PadRight(longText, 30), std::string(30, 'x'));
  EXPECT_EQ(PadRight("abc", 3), "abc");
  EXPECT_EQ(PadRight("abc", 0), "");
  EXPECT_EQ(PadRight("abc", -4), "");
  EXPECT_EQ(PadRight("", 2), "  ");
}

TEST(RoundReal, AppliesTheMode) {
  const struct {
    float value;
    int mode;
    float expected;
  } cases[] = {
      {2.25f, RoundUp, 3.0f},
      {3.0f, RoundUp, 3.0f},
      {-2.5f, RoundUp, -2.0f},
      {63.5f, RoundUp, 64.0f},
      {2.5f, RoundNearest, 3.0f},
      {-2.5f, RoundNearest, -3.0f},
      {2.4f, RoundNearest, 2.0f},
      {-2.4f, RoundNearest, -2.0f},
      {0.5f, RoundNearest, 1.0f},
      {-0.5f, RoundNearest, -1.0f},
      {-3.5f, RoundNearest, -4.0f},
      {-2.5f, RoundDown, -3.0f},
      {2.75f, RoundDown, 2.0f},
      {-2.25f, RoundDown, -3.0f},
      {2.75f, 7, 2.0f},
      {2.75f, -1, 2.0f},
      {4194304.0f, RoundUp, 4194304.0f},
      // In single precision 0.49999997 + 0.5 would round up to 1 before the floor.
      {0.49999997f, RoundNearest, 0.0f},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RoundReal(c.value, c.mode), c.expected) << c.value << " mode " << c.mode;
  }
}

TEST(PowerReal, IsExactForPowersOfTwo) {
  for (int k = 0; k <= 24; ++k) {
    EXPECT_EQ(PowerReal(2.0f, static_cast<float>(k)), static_cast<float>(int32_t{1} << k)) << k;
  }
  EXPECT_EQ(PowerReal(2.0f, -1.0f), 0.5f);
  EXPECT_EQ(PowerReal(10.0f, 3.0f), 1000.0f);
}

}  // namespace
