// The block calculator's splits ("/P" or "N") and go-to targets of both
// families, to the last of 2^128 rows, with indexes worked out by hand.
#include <gtest/gtest.h>

#include <string>
#include <variant>

#include "net/block_calculator.hpp"
#include "net/decimal.hpp"

namespace {

TEST(BlockCalculator, SplitsAndFindsOrSaysWhyNot) {
  const struct {
    const char* block;
    const char* split;
    const char* typed;   // a go-to target; none: the last row's cells
    const char* result;  // the row or the index, or the message box
  } cases[] = {
      // 6 sub-networks take 8 of /19; the last starts 7 * 32 * 256 addresses in.
      {" 10.0.0.0/16 ", " 6 ", nullptr, "7 10.0.224.0 10.0.224.1 10.0.255.254 10.0.255.255"},
      {"::/0", "/128", "340282366920938463463374607431768211455",
       "340282366920938463463374607431768211455"},
      // 10.200.3.77 lies 200 * 65536 + 3 * 256 + 77 addresses in, in blocks of 2.
      {"10.0.0.0/8", "/31", "10.200.3.77", "6554022"},
      {"2001:db8::/32", "/64", "4294967296",
       "No such sub-network: There is no sub-network 4294967296: the indexes run from 0 to "
       "4294967295."},
      {"10.0.0.0/8", "/31", "::1",
       "Invalid sub-network: Type a sub-network index from 0 to 8388607, or an address such as "
       "10.0.0.0."},
      {"10.0.0.0/16", "x", nullptr,
       "Invalid split: The split 'x' cannot be used: type /P for sub-networks of prefix P, or N "
       "for at least N sub-networks."},
  };
  for (const auto& c : cases) {
    const SplitOutcome outcome = RunBlockSplit(c.block, c.split);
    std::string result = outcome.refusal.title + ": " + outcome.refusal.text;
    if (outcome.refusal.title.empty()) {
      result = std::visit(
          [&](const auto& split) {
            if (c.typed == nullptr) return SplitRowText(split, SplitLastIndex(split));
            const IndexTarget target = FindSplitTarget(split, c.typed);
            return target.refusal.title.empty() ? DecimalText(target.index)
                                                : target.refusal.title + ": " + target.refusal.text;
          },
          outcome.split);
    }
    for (char& at : result)
      at = at == '\n' ? ' ' : at;
    EXPECT_EQ(result, c.result) << c.block << " " << c.split;
  }
}

}  // namespace
