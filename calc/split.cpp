#include "calc/split.hpp"

#include <limits>

#include "base/text.hpp"

namespace {

constexpr const char* NotACount = "not a whole number of at least 1";

// Digits only, at least 1; values beyond 64 bits saturate so they stay too large.
bool ReadCount(const std::string& text, uint64_t& count) {
  constexpr uint64_t largest = std::numeric_limits<uint64_t>::max();
  if (text.empty()) return false;
  count = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    const uint64_t digit = static_cast<uint64_t>(c - '0');
    count = count > (largest - digit) / 10 ? largest : count * 10 + digit;
  }
  return count >= 1;
}

// The smallest s with 2^s >= count (count >= 1).
int BitsFor(uint64_t count) {
  int bits = 0;
  while (bits < 64 && (uint64_t{1} << bits) < count)
    ++bits;
  return bits;
}

std::string SubnetsPrefix(const CidrBlock& block, const std::string& value, int& prefix) {
  uint64_t count = 0;
  if (!ReadCount(value, count)) return NotACount;
  prefix = block.prefix + BitsFor(count);
  if (prefix <= 32) return std::string();
  return "a /" + FormatInteger(block.prefix) + " block holds at most " +
         FormatInteger(static_cast<int64_t>(BlockAddresses(block.prefix))) + " sub-networks";
}

std::string HostsPrefix(const std::string& value, int& prefix) {
  uint64_t hosts = 0;
  if (!ReadCount(value, hosts)) return NotACount;
  // Two addresses more for the network and the broadcast, and at least four.
  const int bits = hosts > std::numeric_limits<uint64_t>::max() - 2 ? 64 : BitsFor(hosts + 2);
  prefix = 32 - (bits < 2 ? 2 : bits);
  return prefix >= 0 ? "" : "more hosts than an IPv4 block holds";
}

std::string NumberedPrefix(const std::string& value, int& prefix) {
  const std::string text = "0.0.0.0/" + value;
  TypedBlock typed;
  const std::string problem = ReadTypedBlock(text.data(), text.data() + text.size(), typed);
  prefix = typed.prefix;
  return value.find('.') == std::string::npos ? problem : "not a prefix";
}

std::string MaskedPrefix(const std::string& value, int& prefix) {
  HostOrderAddress mask = 0;
  if (!ReadDottedAddress(value, mask)) return "not a dotted mask";
  prefix = MaskPrefix(mask);
  return prefix < 0 ? "the mask is not contiguous" : "";
}

std::string SubnetPrefix(const CidrBlock& block, SplitBy by, const std::string& value,
                         int& prefix) {
  switch (by) {
    case SplitBy::Subnets:
      return SubnetsPrefix(block, value, prefix);
    case SplitBy::Hosts:
      return HostsPrefix(value, prefix);
    case SplitBy::Prefix:
      return NumberedPrefix(value, prefix);
    case SplitBy::Mask:
      break;
  }
  return MaskedPrefix(value, prefix);
}

}  // namespace

std::string MakeSplit(const CidrBlock& block, SplitBy by, const std::string& value,
                      EqualSplit& split) {
  int prefix = 32;
  const std::string problem = SubnetPrefix(block, by, value, prefix);
  if (!problem.empty()) return problem;
  if (prefix < block.prefix) {
    return "a /" + FormatInteger(prefix) + " sub-network is larger than the block " +
           FormatBlock(block);
  }
  split = EqualSplit{block, prefix};
  return std::string();
}

int64_t SplitCount(const EqualSplit& split) {
  return int64_t{1} << (split.subnetPrefix - split.block.prefix);
}

ListingRange SplitRange(const EqualSplit& split) {
  ListingRange range;
  range.network = split.block.network;
  range.blockSize = static_cast<int64_t>(BlockAddresses(split.subnetPrefix));
  range.last = SplitCount(split) - 1;
  return range;
}

SubnetAddresses SplitRow(const EqualSplit& split, int64_t index) {
  return SubnetAddressesOf(split.block.network,
                           static_cast<int64_t>(BlockAddresses(split.subnetPrefix)), index);
}

int64_t SplitIndexOf(const EqualSplit& split, HostOrderAddress address) {
  if ((address & PrefixMask(split.block.prefix)) != split.block.network) return -1;
  // 64-bit, so a /0 sub-network shifts by all 32 bits.
  return static_cast<int64_t>(uint64_t{address - split.block.network} >> (32 - split.subnetPrefix));
}

bool WriteSplitReport(const EqualSplit& split, ListFormat format, TextSink sink) {
  static const char* const names[] = {"network",   "subnet_prefix", "subnet_mask",  "subnets",
                                      "addresses", "hosts",         "first_subnet", "last_subnet"};
  const SubnetAddresses last = SplitRow(split, SplitCount(split) - 1);
  const RecordCell cells[] = {BlockCell(split.block.network, split.block.prefix),
                              NumberCell(static_cast<uint64_t>(split.subnetPrefix)),
                              AddressCell(PrefixMask(split.subnetPrefix)),
                              NumberCell(static_cast<uint64_t>(SplitCount(split))),
                              NumberCell(BlockAddresses(split.subnetPrefix)),
                              NumberCell(UsableHosts(split.subnetPrefix)),
                              BlockCell(split.block.network, split.subnetPrefix),
                              BlockCell(last.network, split.subnetPrefix)};
  return WriteRecord(names, cells, 8, format, sink);
}
