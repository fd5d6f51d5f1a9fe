#include "net/block.hpp"

#include <algorithm>
#include <cstring>

#include "net/decimal.hpp"

namespace {

constexpr const char* BadMask = "the mask is not contiguous";

template <class F>
const char* BadPrefix();
template <>
const char* BadPrefix<Ipv4>() {
  return "the prefix must be a number from 0 to 32";
}
template <>
const char* BadPrefix<Ipv6>() {
  return "the prefix must be a number from 0 to 128";
}

// The prefix of a contiguous mask or of its inverse (a host mask, as
// "0.0.0.255" for /24), or -1. A mask is tried first, so 0.0.0.0 is /0.
int PrefixOfMask(uint32_t mask) {
  for (const uint32_t bits : {mask, ~mask}) {
    const int ones = __builtin_popcount(bits);
    if (PrefixMask<Ipv4>(ones) == bits) return ones;
  }
  return -1;
}

// A mask after the slash: only IPv4 has them.
template <class F>
const char* ReadMask(const char* at, const char* end, int& prefix);
template <>
const char* ReadMask<Ipv4>(const char* at, const char* end, int& prefix) {
  uint32_t mask = 0;
  const char* problem = ReadIpv4(at, end, mask);
  if (problem != nullptr) return problem;
  prefix = PrefixOfMask(mask);
  return prefix < 0 ? BadMask : nullptr;
}
template <>
const char* ReadMask<Ipv6>(const char*, const char*, int&) {
  return BadPrefix<Ipv6>();
}

// The prefix after the slash: one to three decimal digits up to F::Bits.
template <class F>
const char* ReadPrefix(const char* at, const char* end, int& prefix) {
  if (std::memchr(at, '.', static_cast<std::size_t>(end - at)) != nullptr) {
    return ReadMask<F>(at, end, prefix);
  }
  if (at == end || end - at > 3) return BadPrefix<F>();
  prefix = 0;
  for (; at != end; ++at) {
    if (*at < '0' || *at > '9') return BadPrefix<F>();
    prefix = prefix * 10 + (*at - '0');
  }
  return prefix > F::Bits ? BadPrefix<F>() : nullptr;
}

int BitLengthOf(uint32_t value) {
  return value == 0 ? 0 : 32 - __builtin_clz(value);
}
int BitLengthOf(const Uint128& value) {
  return BitLength(value);
}
int TrailingZerosOf(uint32_t value) {
  return value == 0 ? 32 : __builtin_ctz(value);
}
int TrailingZerosOf(const Uint128& value) {
  return TrailingZeros(value);
}

}  // namespace

template <class F>
const char* ReadTyped(const char* at, const char* end, Typed<F>& typed) {
  const char* slash =
      static_cast<const char*>(std::memchr(at, '/', static_cast<std::size_t>(end - at)));
  const char* problem = ReadAddress(at, slash == nullptr ? end : slash, typed.address);
  if (problem != nullptr) return problem;
  typed.prefix = F::Bits;
  return slash == nullptr ? nullptr : ReadPrefix<F>(slash + 1, end, typed.prefix);
}

std::string ReadAnyTyped(const char* at, const char* end, AnyTyped& typed) {
  const char* slash =
      static_cast<const char*>(std::memchr(at, '/', static_cast<std::size_t>(end - at)));
  const char* problem = nullptr;
  if (LooksLikeIpv6(at, slash == nullptr ? end : slash)) {
    Typed<Ipv6> read;
    problem = ReadTyped(at, end, read);
    typed = read;
  } else {
    Typed<Ipv4> read;
    problem = ReadTyped(at, end, read);
    typed = read;
  }
  return problem == nullptr ? std::string() : std::string(problem);
}

std::string ReadAnyTyped(const std::string& text, AnyTyped& typed) {
  return ReadAnyTyped(text.data(), text.data() + text.size(), typed);
}

template <class F>
std::string NetworkProblem(const Typed<F>& typed) {
  const Block<F> block = BlockOf(typed);
  if (block.network == typed.address) return std::string();
  return "host bits set: the network is " + FormatBlock(block);
}

template <class F>
std::string ReadNetwork(const char* at, const char* end, Block<F>& block) {
  Typed<F> typed;
  const char* problem = ReadTyped(at, end, typed);
  if (problem != nullptr) return problem;
  block = BlockOf(typed);
  return NetworkProblem(typed);
}

template <class F>
std::string ReadNetwork(const std::string& text, Block<F>& block) {
  return ReadNetwork(text.data(), text.data() + text.size(), block);
}

std::string ReadAnyNetwork(const std::string& text, AnyBlock& block) {
  AnyTyped typed;
  const std::string problem = ReadAnyTyped(text, typed);
  if (!problem.empty()) return problem;
  return std::visit(
      [&block](const auto& read) {
        block = BlockOf(read);
        return NetworkProblem(read);
      },
      typed);
}

template <class F>
char* WriteBlock(char* out, const Block<F>& block) {
  out = WriteAddress(out, block.network);
  *out++ = '/';
  return WriteDecimal(out, static_cast<uint64_t>(block.prefix));
}

template <class F>
std::string FormatBlock(const Block<F>& block) {
  char text[MaxIpv6Length + 8];
  return std::string(text, WriteBlock(text, block));
}

template <class F>
void AppendRangeBlocks(typename F::Value first, typename F::Value last,
                       std::vector<Block<F>>& blocks) {
  // Each time the largest block that starts at `at`, is aligned there and
  // ends inside the range; the loop stops at `last`, so nothing wraps past
  // the top of the address space.
  for (typename F::Value at = first;;) {
    const typename F::Value rest = last - at;  // addresses after `at`
    const int fits = rest == F::LowOnes(F::Bits) ? F::Bits : BitLengthOf(rest + 1) - 1;
    const int bits = std::min(TrailingZerosOf(at), fits);
    blocks.push_back(Block<F>{at, F::Bits - bits});
    const typename F::Value blockLast = at + F::LowOnes(bits);
    if (blockLast == last) return;
    at = blockLast + 1;
  }
}

std::string TokenRefusal(const char* where, int64_t number, const std::string& token,
                         const std::string& problem) {
  char digits[MaxDecimal64Length];
  const std::string line(digits, WriteDecimal(digits, static_cast<uint64_t>(number)));
  return std::string(where) + " " + line + ": '" + token + "': " + problem;
}

Refusal BlockRefusal(const std::string& typed, const std::string& problem) {
  return Refusal{"Invalid address block",
                 AsSentence("The address block '" + typed + "' cannot be used: " + problem)};
}

#define VELKOR_BLOCK_FUNCTIONS(F)                                           \
  template const char* ReadTyped<F>(const char*, const char*, Typed<F>&);   \
  template std::string ReadNetwork<F>(const char*, const char*, Block<F>&); \
  template std::string ReadNetwork<F>(const std::string&, Block<F>&);       \
  template std::string NetworkProblem<F>(const Typed<F>&);                  \
  template std::string FormatBlock<F>(const Block<F>&);                     \
  template char* WriteBlock<F>(char*, const Block<F>&);                     \
  template void AppendRangeBlocks<F>(typename F::Value, typename F::Value, std::vector<Block<F>>&);
VELKOR_BLOCK_FUNCTIONS(Ipv4)
VELKOR_BLOCK_FUNCTIONS(Ipv6)
