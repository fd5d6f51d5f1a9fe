#include "net/split.hpp"

#include "net/address_text.hpp"
#include "net/block.hpp"
#include "net/decimal.hpp"

namespace {

constexpr const char* NotACount = "not a whole number of at least 1";

bool ReadCount(const std::string& text, AddressCount& count) {
  return ReadDecimal(text, count) && count >= AddressCount(1);
}

template <class F>
std::string SubnetsPrefix(const Block<F>& block, const std::string& value, int& prefix) {
  AddressCount count;
  if (!ReadCount(value, count)) return NotACount;
  // The smallest s with 2^s >= count.
  prefix = block.prefix + BitLength(count - AddressCount(1));
  if (prefix <= F::Bits) return std::string();
  const bool one = block.prefix == F::Bits;
  return "a /" + std::to_string(block.prefix) + " block holds at most " +
         DecimalText(AddressesIn<F>(block.prefix)) + (one ? " sub-network" : " sub-networks");
}

template <class F>
std::string HostsPrefix(const std::string& value, int& prefix) {
  AddressCount hosts;
  if (!ReadCount(value, hosts)) return NotACount;
  if (F::PrefixForHosts(hosts, prefix)) return std::string();
  return std::string("more hosts than an ") + F::Name + " block holds";
}

template <class F>
std::string NumberedPrefix(const std::string& value, int& prefix) {
  // The prefix as a block of the family reads it, so the same digits pass.
  const std::string text = (F::Bits == 32 ? "0.0.0.0/" : "::/") + value;
  Typed<F> typed;
  const char* problem = ReadTyped(text.data(), text.data() + text.size(), typed);
  prefix = typed.prefix;
  if (value.find('.') != std::string::npos) return "not a prefix";
  return problem == nullptr ? std::string() : problem;
}

template <class F>
std::string MaskedPrefix(const std::string& value, int& prefix);
template <>
std::string MaskedPrefix<Ipv4>(const std::string& value, int& prefix) {
  uint32_t mask = 0;
  if (ReadIpv4(value.data(), value.data() + value.size(), mask) != nullptr) {
    return "not a dotted mask";
  }
  const int ones = __builtin_popcount(mask);
  prefix = ones;
  return PrefixMask<Ipv4>(ones) == mask ? "" : "the mask is not contiguous";
}
template <>
std::string MaskedPrefix<Ipv6>(const std::string&, int&) {
  return "an IPv6 block has no masks: give --prefix";
}

template <class F>
std::string SubnetPrefix(const Block<F>& block, SplitBy by, const std::string& value, int& prefix) {
  switch (by) {
    case SplitBy::Subnets:
      return SubnetsPrefix(block, value, prefix);
    case SplitBy::Hosts:
      return HostsPrefix<F>(value, prefix);
    case SplitBy::Prefix:
      return NumberedPrefix<F>(value, prefix);
    case SplitBy::Mask:
      break;
  }
  return MaskedPrefix<F>(value, prefix);
}

}  // namespace

template <class F>
std::string MakeSplit(const Block<F>& block, SplitBy by, const std::string& value,
                      EqualSplit<F>& split) {
  int prefix = F::Bits;
  const std::string problem = SubnetPrefix(block, by, value, prefix);
  if (!problem.empty()) return problem;
  if (prefix < block.prefix) {
    return "a /" + std::to_string(prefix) + " sub-network is larger than the block " +
           FormatBlock(block);
  }
  split = EqualSplit<F>{block, prefix};
  return std::string();
}

template <class F>
typename F::Index SplitLastIndex(const EqualSplit<F>& split) {
  return typename F::Index(F::LowOnes(split.subnetPrefix - split.block.prefix));
}

template <class F>
Listing<F> SplitRange(const EqualSplit<F>& split) {
  Listing<F> range;
  range.network = split.block.network;
  range.hostBits = F::Bits - split.subnetPrefix;
  range.last = SplitLastIndex(split);
  return range;
}

template <class F>
SubnetRow<F> SplitRow(const EqualSplit<F>& split, const typename F::Index& index) {
  return RowAt<F>(split.block.network, F::Bits - split.subnetPrefix, index);
}

template <class F>
bool SplitIndexOf(const EqualSplit<F>& split, const typename F::Value& address,
                  typename F::Index& index) {
  if ((address & PrefixMask<F>(split.block.prefix)) != split.block.network) return false;
  index = F::IndexOf(address - split.block.network, F::Bits - split.subnetPrefix);
  return true;
}

template <class F>
bool WriteSplitReport(const EqualSplit<F>& split, ListFormat format, TextSink sink) {
  const bool ipv4 = F::Bits == 32;
  static const char* const ipv4Names[] = {"network",      "subnet_prefix", "subnet_mask",
                                          "subnets",      "addresses",     "hosts",
                                          "first_subnet", "last_subnet"};
  static const char* const ipv6Names[] = {"network", "subnet_prefix", "subnets",    "addresses",
                                          "hosts",   "first_subnet",  "last_subnet"};
  const SubnetRow<F> last = SplitRow(split, SplitLastIndex(split));
  const RecordCell mask = AddressCell(PrefixMask<F>(split.subnetPrefix));
  const RecordCell common[] = {NumberCell(PowerOfTwo(split.subnetPrefix - split.block.prefix)),
                               NumberCell(AddressesIn<F>(split.subnetPrefix)),
                               NumberCell(HostCount<F>(split.subnetPrefix)),
                               BlockCell(Block<F>{split.block.network, split.subnetPrefix}),
                               BlockCell(Block<F>{last.network, split.subnetPrefix})};
  RecordCell cells[8] = {BlockCell(split.block),
                         NumberCell(static_cast<uint64_t>(split.subnetPrefix))};
  int count = 2;
  if (ipv4) cells[count++] = mask;
  for (const RecordCell& cell : common)
    cells[count++] = cell;
  return WriteRecord(ipv4 ? ipv4Names : ipv6Names, cells, count, format, sink);
}

#define VELKOR_SPLIT_FUNCTIONS(F)                                                                  \
  template std::string MakeSplit<F>(const Block<F>&, SplitBy, const std::string&, EqualSplit<F>&); \
  template typename F::Index SplitLastIndex<F>(const EqualSplit<F>&);                              \
  template Listing<F> SplitRange<F>(const EqualSplit<F>&);                                         \
  template SubnetRow<F> SplitRow<F>(const EqualSplit<F>&, const typename F::Index&);               \
  template bool SplitIndexOf<F>(const EqualSplit<F>&, const typename F::Value&,                    \
                                typename F::Index&);                                               \
  template bool WriteSplitReport<F>(const EqualSplit<F>&, ListFormat, TextSink);
VELKOR_SPLIT_FUNCTIONS(Ipv4)
VELKOR_SPLIT_FUNCTIONS(Ipv6)
