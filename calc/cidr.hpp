// Classless blocks: reading "a.b.c.d/n" and "a.b.c.d/m.m.m.m", their numbers,
// and the facts velkor prints for one block.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "calc/address.hpp"
#include "calc/output.hpp"

// A network and its prefix length (0 to 32); the bits below the prefix are zero.
struct CidrBlock {
  HostOrderAddress network = 0;
  int prefix = 32;
};

// An address as typed with a prefix: "10.1.2.3/20" keeps 10.1.2.3.
struct TypedBlock {
  HostOrderAddress address = 0;
  int prefix = 32;
};

// The mask of a prefix 0..32 (0 for /0).
HostOrderAddress PrefixMask(int prefix);
// The prefix of a contiguous mask, or -1 for any other value.
int MaskPrefix(HostOrderAddress mask);
// Addresses in a block of the prefix: 2^(32 - prefix), up to 2^32.
uint64_t BlockAddresses(int prefix);
// Host addresses in a block of the prefix: 2^h - 2, but both addresses of a
// /31 (RFC 3021) and the one address of a /32.
uint64_t UsableHosts(int prefix);
// The last address of the block.
HostOrderAddress BroadcastOf(const CidrBlock& block);
// The block of the prefix that holds the typed address.
CidrBlock BlockOf(const TypedBlock& typed);
// "a.b.c.d/n".
std::string FormatBlock(const CidrBlock& block);
// Appends the fewest blocks that cover the addresses first .. last (inclusive,
// first <= last), in address order.
void AppendRangeBlocks(HostOrderAddress first, HostOrderAddress last,
                       std::vector<CidrBlock>& blocks);

// Reads [at, end): "a.b.c.d/n", "a.b.c.d/m.m.m.m" (a contiguous mask) or a
// bare "a.b.c.d" (a /32). Returns the empty text, or why the token is no block
// ("not an IPv4 address", ...).
std::string ReadTypedBlock(const char* at, const char* end, TypedBlock& typed);
// The same for a network: a token with host bits set is refused with the
// network it would be ("host bits set: the network is 10.1.0.0/16").
std::string ReadNetworkBlock(const char* at, const char* end, CidrBlock& block);
std::string ReadNetworkBlock(const std::string& text, CidrBlock& block);

// The refusal of one token of a list, as velkor and the planner show it:
// "line 3: '10.0.0.300/24': not an IPv4 address" (`where` is "line" or "item").
std::string TokenRefusal(const char* where, int64_t number, const std::string& token,
                         const std::string& problem);

// Writes the facts of the block holding the typed address: address,
// network/prefix, mask, wildcard, broadcast, first, last, hosts, addresses,
// class (of the first octet), kind (private, shared, loopback, link-local,
// multicast, documentation, reserved, public, or mixed for a block that holds
// more than one kind) and the address and mask in dotted binary.
bool WriteBlockFacts(const TypedBlock& typed, ListFormat format, TextSink sink);
