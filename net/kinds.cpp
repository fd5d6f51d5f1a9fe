#include "net/kinds.hpp"

#include <cstddef>
#include <string_view>

namespace {

// What a range is for; the most specific entry holding an address says what
// the address is, and an address in none has the family's default kind.
template <class F>
struct KindEntry {
  Block<F> block;
  const char* kind;
};

constexpr Uint128 V6(uint64_t high, uint64_t low = 0) {
  return Uint128(high, low);
}

// IANA IPv4 Special-Purpose Address Registry, by what the ranges are for.
constexpr KindEntry<Ipv4> Ipv4Kinds[] = {
    {{0x00000000u, 8}, "reserved"},        // "this network"
    {{0x0A000000u, 8}, "private"},         // RFC 1918
    {{0x64400000u, 10}, "shared"},         // RFC 6598
    {{0x7F000000u, 8}, "loopback"},        //
    {{0xA9FE0000u, 16}, "link-local"},     //
    {{0xAC100000u, 12}, "private"},        // RFC 1918
    {{0xC0000000u, 24}, "reserved"},       // IETF protocol assignments
    {{0xC0000009u, 32}, "public"},         // PCP anycast, globally reachable
    {{0xC000000Au, 32}, "public"},         // TURN anycast, globally reachable
    {{0xC0000200u, 24}, "documentation"},  // TEST-NET-1
    {{0xC0A80000u, 16}, "private"},        // RFC 1918
    {{0xC6120000u, 15}, "reserved"},       // benchmarking
    {{0xC6336400u, 24}, "documentation"},  // TEST-NET-2
    {{0xCB007100u, 24}, "documentation"},  // TEST-NET-3
    {{0xE0000000u, 4}, "multicast"},       //
    {{0xF0000000u, 4}, "reserved"},        // future use and the limited broadcast
};

// IANA IPv6 Special-Purpose Address Registry, and the global unicast space
// around it.
constexpr KindEntry<Ipv6> Ipv6Kinds[] = {
    {{V6(0), 128}, "unspecified"},
    {{V6(0, 1), 128}, "loopback"},
    {{V6(0, 0xFFFF00000000u), 96}, "ipv4-mapped"},
    {{V6(0x0064FF9B00000000u), 96}, "ipv4-translation"},
    {{V6(0x0064FF9B00010000u), 48}, "ipv4-translation"},
    {{V6(0x0100000000000000u), 64}, "discard"},
    {{V6(0x2000000000000000u), 3}, "global-unicast"},
    {{V6(0x2001000000000000u), 32}, "teredo"},
    {{V6(0x2001000200000000u), 48}, "benchmarking"},
    {{V6(0x2001002000000000u), 28}, "orchid"},
    {{V6(0x20010DB800000000u), 32}, "documentation"},
    {{V6(0x3FFF000000000000u), 20}, "documentation"},
    {{V6(0x2002000000000000u), 16}, "6to4"},
    {{V6(0x5F00000000000000u), 16}, "segment-routing"},
    {{V6(0xFC00000000000000u), 7}, "unique-local"},
    {{V6(0xFE80000000000000u), 10}, "link-local"},
    {{V6(0xFF00000000000000u), 8}, "multicast"},
};

template <class F, std::size_t N>
const char* KindIn(const KindEntry<F> (&entries)[N], const char* outside, const Block<F>& block) {
  // The kind of the block's own addresses: the most specific entry holding it.
  const KindEntry<F>* holder = nullptr;
  for (const KindEntry<F>& entry : entries) {
    if (Contains(entry.block, block) &&
        (holder == nullptr || entry.block.prefix > holder->block.prefix)) {
      holder = &entry;
    }
  }
  const char* kind = holder == nullptr ? outside : holder->kind;
  // Any entry of another kind inside the block makes it mixed.
  for (const KindEntry<F>& entry : entries) {
    const bool inside = entry.block.prefix > block.prefix && Contains(block, entry.block);
    if (inside && std::string_view(entry.kind) != kind) return "mixed";
  }
  return kind;
}

}  // namespace

const char* BlockKind(const Block<Ipv4>& block) {
  return KindIn(Ipv4Kinds, "public", block);
}

const char* BlockKind(const Block<Ipv6>& block) {
  return KindIn(Ipv6Kinds, "reserved", block);
}
