// Classless blocks, equal splits, VLSM and summaries: one table per behaviour.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "net/address_list.hpp"
#include "net/block.hpp"
#include "net/listing.hpp"
#include "net/plan_file.hpp"
#include "net/planner.hpp"
#include "net/split.hpp"
#include "net/summarize.hpp"
#include "net/vlsm.hpp"

namespace {

// "a.b.c.d/n" of each block, joined by blanks.
template <class F>
std::string BlocksText(const std::vector<Block<F>>& blocks) {
  std::string text;
  for (const Block<F>& block : blocks)
    text += (text.empty() ? "" : " ") + FormatBlock(block);
  return text;
}

// Lines joined by blanks.
std::string Joined(std::string lines) {
  for (char& c : lines)
    c = c == '\n' ? ' ' : c;
  if (!lines.empty() && lines.back() == ' ') lines.pop_back();
  return lines;
}

CidrBlock Network(const std::string& text) {
  CidrBlock block;
  EXPECT_EQ(ReadNetwork(text, block), "") << text;
  return block;
}

TEST(ReadNetwork, ReadsPrefixesAndMasksAndSaysWhyNot) {
  const struct {
    const char* text;
    const char* block;  // or the problem
  } cases[] = {
      {"10.1.0.0/16", "10.1.0.0/16"},
      {"10.1.0.0/255.255.0.0", "10.1.0.0/16"},
      {"0.0.0.0/0", "0.0.0.0/0"},
      {"1.2.3.4", "1.2.3.4/32"},
      {"10.1.2.3/16", "host bits set: the network is 10.1.0.0/16"},
      {"10.0.0.300/24", "not an IPv4 address"},
      {"10.0.0.0/33", "the prefix must be a number from 0 to 32"},
      {"10.0.0.0/", "the prefix must be a number from 0 to 32"},
      {"10.0.0.0/255.0.255.0", "the mask is not contiguous"},
      {"10.0.0.0/24/24", "the prefix must be a number from 0 to 32"},
      {"192.168.001.000/24", "leading zeros are not allowed"},
      {"192.168.0001.0/24", "not an IPv4 address"},
  };
  for (const auto& c : cases) {
    CidrBlock block;
    const std::string problem = ReadNetwork(c.text, block);
    EXPECT_EQ(problem.empty() ? FormatBlock(block) : problem, c.block) << c.text;
  }
}

TEST(MakeSplit, SizesSubnetworksOrSaysWhyNot) {
  const struct {
    const char* block;
    SplitBy by;
    const char* value;
    const char* result;  // the sub-networks' prefix and count, or the problem
  } cases[] = {
      {"10.0.0.0/16", SplitBy::Subnets, "1", "/16 x1"},
      {"10.0.0.0/16", SplitBy::Subnets, "4", "/18 x4"},
      {"10.0.0.0/16", SplitBy::Subnets, "5", "/19 x8"},
      {"10.0.0.0/16", SplitBy::Subnets, "65536", "/32 x65536"},
      {"10.0.0.0/16", SplitBy::Subnets, "65537", "a /16 block holds at most 65536 sub-networks"},
      {"10.0.0.0/16", SplitBy::Hosts, "2", "/30 x16384"},
      {"10.0.0.0/16", SplitBy::Hosts, "65534", "/16 x1"},
      {"10.0.0.0/16", SplitBy::Hosts, "65535",
       "a /15 sub-network is larger than the block 10.0.0.0/16"},
      {"10.0.0.0/16", SplitBy::Hosts, "0", "not a whole number of at least 1"},
      {"10.0.0.0/16", SplitBy::Prefix, "32", "/32 x65536"},
      {"10.0.0.0/16", SplitBy::Prefix, "15",
       "a /15 sub-network is larger than the block 10.0.0.0/16"},
      {"10.0.0.0/16", SplitBy::Prefix, "255.255.255.0", "not a prefix"},
      {"10.0.0.0/16", SplitBy::Mask, "255.255.255.0", "/24 x256"},
      {"10.0.0.0/16", SplitBy::Mask, "255.0.255.0", "the mask is not contiguous"},
      {"0.0.0.0/0", SplitBy::Subnets, "4294967296", "/32 x4294967296"},
      {"0.0.0.0/0", SplitBy::Hosts, "4294967294", "/0 x1"},
      {"0.0.0.0/0", SplitBy::Hosts, "4294967295", "more hosts than an IPv4 block holds"},
  };
  for (const auto& c : cases) {
    EqualSplit<Ipv4> split;
    const std::string problem = MakeSplit(Network(c.block), c.by, c.value, split);
    const std::string result = problem.empty() ? "/" + std::to_string(split.subnetPrefix) + " x" +
                                                     std::to_string(SplitLastIndex(split) + 1)
                                               : problem;
    EXPECT_EQ(result, c.result) << c.block << " " << c.value;
  }
}

// Rows and finds at the ends of the largest split, of /31 and of /32 blocks.
TEST(EqualSplit, RowsAndFindsAtTheEdges) {
  const struct {
    const char* block;
    int prefix;
    int64_t index;
    const char* row;    // network first last broadcast
    const char* found;  // an address in the row
  } cases[] = {
      {"0.0.0.0/0", 32, 0, "0.0.0.0 0.0.0.0 0.0.0.0 0.0.0.0", "0.0.0.0"},
      {"0.0.0.0/0", 32, 4294967295,
       "255.255.255.255 255.255.255.255 255.255.255.255 255.255.255.255", "255.255.255.255"},
      {"0.0.0.0/0", 0, 0, "0.0.0.0 0.0.0.1 255.255.255.254 255.255.255.255", "128.0.0.1"},
      {"10.0.0.0/24", 31, 127, "10.0.0.254 10.0.0.254 10.0.0.255 10.0.0.255", "10.0.0.255"},
      {"10.0.0.0/8", 29, 2097151, "10.255.255.248 10.255.255.249 10.255.255.254 10.255.255.255",
       "10.255.255.250"},
  };
  for (const auto& c : cases) {
    const EqualSplit<Ipv4> split{Network(c.block), c.prefix};
    const SubnetRow<Ipv4> row = SplitRow(split, static_cast<uint64_t>(c.index));
    EXPECT_EQ(AddressText(row.network) + " " + AddressText(row.first) + " " +
                  AddressText(row.last) + " " + AddressText(row.broadcast),
              c.row);
    uint32_t address = 0;
    ASSERT_EQ(ReadIpv4(c.found, c.found + std::strlen(c.found), address), nullptr);
    uint64_t index = 0;
    EXPECT_TRUE(SplitIndexOf(split, address, index) && index == static_cast<uint64_t>(c.index))
        << c.found;
  }
  uint64_t index = 0;
  EXPECT_FALSE(SplitIndexOf(EqualSplit<Ipv4>{Network("10.0.0.0/24"), 26}, 0x0A000100u, index));
}

struct VlsmCase {
  const char* block;
  const char* items;
  const char* result;  // placed blocks | free blocks | status, or the problem
};

TEST(Vlsm, PlacesLargestFirstAndReportsTheFreeSpace) {
  const VlsmCase cases[] = {
      {"192.168.0.0/22", "a:200,b:/25,100,c:50",
       "192.168.0.0/24 192.168.1.0/25 192.168.1.128/25 192.168.2.0/26 | 192.168.2.64/26 "
       "192.168.2.128/25 192.168.3.0/24 | Used 576 of 1,024 addresses (56%), 3 free blocks"},
      {"10.0.0.0/24", " a:126 , b:126 ",
       "10.0.0.0/25 10.0.0.128/25 |  | Used 256 of 256 addresses (100%), 0 free blocks"},
      {"10.0.0.0/24", "", " | 10.0.0.0/24 | Used 0 of 256 addresses (0%), 1 free block"},
      {"10.0.0.0/30", "p:/31,h:/32",
       "10.0.0.0/31 10.0.0.2/32 | 10.0.0.3/32 | Used 3 of 4 addresses (75%), 1 free block"},
      // 254 of 256 is 99.2%: rounded down.
      {"10.0.0.0/24", "/25,/26,/27,/28,/29,/30,/31",
       "10.0.0.0/25 10.0.0.128/26 10.0.0.192/27 10.0.0.224/28 10.0.0.240/29 10.0.0.248/30 "
       "10.0.0.252/31 | 10.0.0.254/31 | Used 254 of 256 addresses (99%), 1 free block"},
      // 255 of 256 is 99.6%: 100 to the nearest, still 99 rounded down.
      {"10.0.0.0/24", "/25,/26,/27,/28,/29,/30,/31,/32",
       "10.0.0.0/25 10.0.0.128/26 10.0.0.192/27 10.0.0.224/28 10.0.0.240/29 10.0.0.248/30 "
       "10.0.0.252/31 10.0.0.254/32 | 10.0.0.255/32 | "
       "Used 255 of 256 addresses (99%), 1 free block"},
      {"0.0.0.0/0", "all:4294967294",
       "0.0.0.0/0 |  | Used 4,294,967,296 of 4,294,967,296 addresses (100%), 0 free blocks"},
      {"10.0.0.0/24", "a:300", "needs 512 addresses, the block holds 256"},
      {"10.0.0.0/24", "a:3,a:4", "item 2: 'a:4': the name 'a' is used on item 1"},
      {"10.0.0.0/24", "a:abc", "item 1: 'a:abc': hosts must be a number from 1 to 4294967294"},
      {"10.0.0.0/24", "a:0", "item 1: 'a:0': hosts must be a number from 1 to 4294967294"},
      {"10.0.0.0/24", "a:/33", "item 1: 'a:/33': the prefix must be /0 to /32"},
      {"10.0.0.0/24", "a:/255.255.255.0",
       "item 1: 'a:/255.255.255.0': the prefix must be /0 to /32"},
      {"10.0.0.0/24", "1,x y:2",
       "item 2: 'x y:2': a name is 1 to 64 letters, digits, '-', '_' and '.'"},
      {"10.0.0.0/24", "2,", "item 2: '': hosts must be a number from 1 to 4294967294"},
  };
  for (const VlsmCase& c : cases) {
    std::vector<VlsmItem> items;
    VlsmPlan plan;
    std::string result = ReadVlsmItems<Ipv4>(c.items, items);
    if (result.empty()) result = AllocateVlsm(Network(c.block), items, plan);
    if (result.empty())
      result = BlocksText(plan.placed) + " | " + BlocksText(plan.free) + " | " + VlsmStatus(plan);
    EXPECT_EQ(result, c.result) << c.items;
  }
}

TEST(ReadVlsmLines, ReadsNamesAndSizesAndNamesTheBadLine) {
  const struct {
    const char* text;
    const char* result;  // names and prefixes, or the problem
  } cases[] = {
      {"lan 500\n# comment\n\n  wan /30  # uplink\r\nlab\t/24\n", "lan/23 wan/30 lab/24"},
      {"", ""},
      {"a 3\nlan\n", "line 2: 'lan': expected NAME HOSTS or NAME /P"},
      {"a 3\nb 3 4\n", "line 2: 'b 3 4': expected NAME HOSTS or NAME /P"},
      {"a 3\n\nbad/ 4\n", "line 3: 'bad/ 4': a name is 1 to 64 letters, digits, '-', '_' and '.'"},
      {"a 3\nb 2\na /24", "line 3: 'a /24': the name 'a' is used on line 1"},
      {"# sites\na 3\n\nb 2  # lab\na /24\n", "line 5: 'a /24': the name 'a' is used on line 2"},
  };
  for (const auto& c : cases) {
    std::vector<VlsmItem> items;
    std::string result = ReadVlsmLines<Ipv4>(c.text, items);
    for (const VlsmItem& item : items)
      result += (result.empty() ? "" : " ") + item.name + "/" + std::to_string(item.prefix);
    EXPECT_EQ(result, c.result) << c.text;
  }
}

TEST(ReadVlsmItems, NamesHaveOneTo64Characters) {
  std::vector<VlsmItem> items;
  EXPECT_EQ(ReadVlsmItems<Ipv4>(std::string(64, 'n') + ":3", items), "");
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].name, std::string(64, 'n'));
  const std::string longer = std::string(65, 'n') + ":3";
  EXPECT_EQ(ReadVlsmItems<Ipv4>(longer, items),
            "item 1: '" + longer + "': a name is 1 to 64 letters, digits, '-', '_' and '.'");
}

// The planned blocks ("placed | free"), or the message box's title and text.
std::string PlanText(const PlannerOutcome& outcome) {
  const Refusal& box = outcome.refusal;
  if (!box.title.empty())
    return box.title + ": " + box.text + (outcome.items.empty() ? "" : " items left");
  return std::visit(
      [&](const auto& plan) {
        const bool each = plan.placed.size() == outcome.items.size();
        return BlocksText(plan.placed) + " | " + BlocksText(plan.free) + (each ? "" : " items?");
      },
      outcome.plan);
}

// The planner's Plan click: the block as typed in its field (Enter may leave a
// line break), then the lines, then the allocation, each with its message box.
TEST(RunPlanner, PlansOrNamesTheMessageBox) {
  const struct {
    const char* block;
    const char* lines;
    const char* result;  // placed | free, or the box's title and text
  } cases[] = {
      {" 10.0.0.0/24\r\n", "a 100\n# uplink\nb /26\n", "10.0.0.0/25 10.0.0.128/26 | 10.0.0.192/26"},
      {"10.0.0.0/24", "", " | 10.0.0.0/24"},
      {"10.0.0.1/24\n", "a 3",
       "Invalid address block: The address block '10.0.0.1/24' cannot be used: "
       "host bits set: the network is 10.0.0.0/24."},
      {"10.0.0.0/24", "a 3\nb\n",
       "Invalid sub-network line: Line 2: 'b': expected NAME HOSTS or NAME /P."},
      {"10.0.0.0/24", "a 100\nb 200",
       "Sub-networks do not fit: The list needs 384 addresses, the block holds 256."},
      // An IPv6 block reads its lines as IPv6's: 2 hosts are a /127, /128 is a prefix.
      {"2001:db8::/126", "a 2\nb /128", "2001:db8::/127 2001:db8::2/128 | 2001:db8::3/128"},
      {"2001:db8::/120", "a /129",
       "Invalid sub-network line: Line 1: 'a /129': the prefix must be /0 to /128."},
      {"10.0.0.0/24", "a /33",
       "Invalid sub-network line: Line 1: 'a /33': the prefix must be /0 to /32."},
  };
  for (const auto& c : cases) {
    const PlannerOutcome outcome = RunPlanner(c.block, c.lines);
    EXPECT_EQ(PlanText(outcome), c.result) << c.block << " " << c.lines;
  }
}

// A plan file opened in the planner, its block line or the block shown.
TEST(OpenPlan, PlansTheFileOrRefusesItNamingTheFile) {
  const struct {
    const char* text;
    const char* shown;
    const char* result;  // block field | list field | line end | the plan, or the box
  } cases[] = {
      {"block 10.0.0.0/24\r\na 100\r\n", "192.168.1.0/24",
       "10.0.0.0/24 | a 100\r\n | \r\n | 10.0.0.0/25 | 10.0.0.128/25"},
      {"a 3\n", " 10.1.0.0/29\r\n", "10.1.0.0/29 | a 3\n | \n | 10.1.0.0/29 | "},
      {"block 2001:db8::/126\nx 1\nbad\n", "10.0.0.0/8",
       "Not a plan file: plan.txt: line 3: 'bad': expected NAME HOSTS or NAME /P."},
      {"block 10.0.0.300/24", "10.0.0.0/8",
       "Not a plan file: plan.txt: line 1: 'block 10.0.0.300/24': not an IPv4 address."},
      {"a 300", "10.0.0.0/24",
       "Not a plan file: plan.txt: the list needs 512 addresses, the block holds 256."},
      {"a 3", "nonsense",
       "Not a plan file: plan.txt: no block line, and 'nonsense': not an IPv4 address."},
  };
  for (const auto& c : cases) {
    const OpenedPlan opened = OpenPlan("plan.txt", c.text, c.shown);
    const std::string fields = opened.block + " | " + opened.list + " | " + opened.lineEnd + " | ";
    EXPECT_EQ((opened.outcome.refusal.title.empty() ? fields : "") + PlanText(opened.outcome),
              c.result)
        << c.text;
  }
}

TEST(PlanFile, LineEndsAreReadAndMade) {
  EXPECT_EQ(LineEndOf("a\r\nb\n"), "\r\n");
  EXPECT_EQ(LineEndOf("a\nb\r\n"), "\n");
  EXPECT_EQ(LineEndOf("\n"), "\n");
  EXPECT_EQ(LineEndOf(""), "\n");
  EXPECT_EQ(WithLineEnds("a\r\nb\nc\rd\r", "\n"), "a\nb\nc\nd\n");
  EXPECT_EQ(WithLineEnds("a\r\n\r\nb\n", "\r\n"), "a\r\n\r\nb\r\n");
}

TEST(Summarize, CoversTheUnionWithTheFewestBlocks) {
  const struct {
    const char* text;
    const char* result;
  } cases[] = {
      {"10.0.0.128/25 10.0.0.0/25", "10.0.0.0/24"},
      {"10.0.1.0-10.0.1.9", "10.0.1.0/29 10.0.1.8/31"},
      {"10.0.0.5-10.0.0.5", "10.0.0.5/32"},
      {"10.0.0.5-10.0.0.4", "line 1: '10.0.0.5-10.0.0.4': the range ends before it starts"},
      {"10.0.0.0/8,10.1.0.0/16 10.255.255.255", "10.0.0.0/8"},
      {"0.0.0.0-255.255.255.255", "0.0.0.0/0"},
      {"255.255.255.255 0.0.0.0", "0.0.0.0/32 255.255.255.255/32"},
      {"  \n ,", ""},
      {"10.0.0.0/25\n10.0.0.300/24", "line 2: '10.0.0.300/24': not an IPv4 address"},
      {"\n\n10.0.0.9-10.0.0.1", "line 3: '10.0.0.9-10.0.0.1': the range ends before it starts"},
      {"10.0.0.1-10.0.0", "line 1: '10.0.0.1-10.0.0': not a range of two IPv4 addresses"},
      {"10.1.2.3/16", "line 1: '10.1.2.3/16': host bits set: the network is 10.1.0.0/16"},
  };
  for (const auto& c : cases) {
    AddressSpans spans;
    std::string result = ReadAddressList(c.text, spans);
    MergeSpans(spans);
    if (result.empty()) {
      EXPECT_TRUE(WriteSummary(spans, ListFormat::Text, result));
    }
    EXPECT_EQ(Joined(result), c.result) << c.text;
  }
}

// A string receives the same bytes as a file in every format, across many
// buffer flushes, so the planner's copy matches velkor's output.
TEST(TextSink, StringAndFileGetTheSameBytes) {
  std::string list;
  for (int i = 0; i < 20000; ++i)
    list += (i ? ",n" : "n") + std::to_string(i) + ":" + std::to_string(i % 1000 + 1);
  std::vector<VlsmItem> items;
  VlsmPlan plan;
  ASSERT_EQ(ReadVlsmItems<Ipv4>(list, items), "");
  ASSERT_EQ(AllocateVlsm(Network("10.0.0.0/8"), items, plan), "");
  for (ListFormat format : {ListFormat::Text, ListFormat::Tsv, ListFormat::Csv, ListFormat::Json}) {
    std::string text;
    ASSERT_TRUE(WriteVlsm(plan, items, format, text));
    std::FILE* file = std::tmpfile();
    ASSERT_TRUE(WriteVlsm(plan, items, format, file));
    std::string written(text.size() + 1, '\0');
    std::rewind(file);
    written.resize(std::fread(&written[0], 1, written.size(), file));
    std::fclose(file);
    EXPECT_EQ(written, text);
    EXPECT_GT(text.size(), std::size_t{1} << 20);
  }
}

// A listing whose progress says stop writes no further row and fails.
TEST(WriteListing, StopsWhenItsProgressSaysSo) {
  ListingRange range;
  range.last = 4 * ListingProgressStep - 1;
  std::vector<int64_t> told;
  std::string csv;
  EXPECT_FALSE(WriteListing(range, ListFormat::Csv, csv, [&](int64_t written, int64_t) {
    told.push_back(written);
    return written < 2 * ListingProgressStep;
  }));
  EXPECT_EQ(told, (std::vector<int64_t>{ListingProgressStep, 2 * ListingProgressStep}));
  EXPECT_LE(std::count(csv.begin(), csv.end(), '\n'), 2 * ListingProgressStep + 1);
}

}  // namespace

namespace {

// A plan file's optional block line, and the plan written and read back.
TEST(PlanFile, FindsTheBlockLineAndKeepsTheLineNumbers) {
  const struct {
    const char* text;
    const char* result;  // block | numbered lines | list, or the refusal
  } cases[] = {
      {"block 10.0.0.0/24\na 3\n", "10.0.0.0/24 | \na 3\n | a 3\n"},
      {"\xEF\xBB\xBF# sites\r\nblock\t2001:db8::/48  # hq\r\nlan /56\r\n",
       "2001:db8::/48 | # sites\r\n\nlan /56\r\n | # sites\r\nlan /56\r\n"},
      {"block 100\nb /30", " | block 100\nb /30 | block 100\nb /30"},  // an item named block
      {"block /24", " | block /24 | block /24"},
      {"a 3\nblock 10.0.0.0/24", " | a 3\nblock 10.0.0.0/24 | a 3\nblock 10.0.0.0/24"},
      {"", " |  | "},
      {"block 10.0.0.300/24\n", "line 1: 'block 10.0.0.300/24': not an IPv4 address"},
      {"\n# c\nblock 10.0.0.1/24",
       "line 3: 'block 10.0.0.1/24': host bits set: the network is "
       "10.0.0.0/24"},
      {"block 10.0.0.0/8 a", "line 1: 'block 10.0.0.0/8 a': expected block BLOCK"},
  };
  for (const auto& c : cases) {
    PlanFile plan;
    std::string result = SplitPlanFile(c.text, plan);
    if (result.empty()) {
      const std::string block =
          std::visit([](const auto& b) { return FormatBlock(b); }, plan.network);
      result = (plan.named ? block : "") + " | " + plan.lines + " | " + plan.list;
    }
    EXPECT_EQ(result, c.result) << c.text;
  }
  PlanFile plan, again;
  ASSERT_EQ(SplitPlanFile(PlanFileText("2001:db8::/48", "# hq\r\nlan /56"), plan), "");
  EXPECT_TRUE(plan.named && plan.block == "2001:db8::/48" && plan.list == "# hq\r\nlan /56\r\n");
  ASSERT_EQ(SplitPlanFile(PlanFileText(plan.block, plan.list), again), "");
  EXPECT_EQ(again.list, plan.list);
}

}  // namespace
