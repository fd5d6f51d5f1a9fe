// The facts velkor prints for one block, and the reverse-DNS names in them.
#pragma once

#include <string>

#include "net/family.hpp"
#include "net/output.hpp"

// The in-addr.arpa or ip6.arpa name of an address ("3.2.1.10.in-addr.arpa").
std::string ReversePointer(uint32_t address);
std::string ReversePointer(const Uint128& address);

// The reverse zones that cover the block, separated by single blanks. IPv4:
// /0, /8, /16 and /24 have one zone (/0 is in-addr.arpa itself), a shorter
// prefix off an octet boundary has every zone of the next octet, a longer
// one its RFC 2317 zone ("64/26.2.0.192.in-addr.arpa"). IPv6: a prefix on a
// nibble boundary has one zone, any other every zone of the next nibble.
std::string ReverseZones(const Block<Ipv4>& block);
std::string ReverseZones(const Block<Ipv6>& block);

// Writes the facts of the block holding the typed address. IPv4: address,
// network/prefix, mask, wildcard, broadcast, first, last, hosts, addresses,
// class (of the first octet), kind, the address and mask in dotted binary,
// reverse and zones. IPv6: address, network, prefix, expanded, first, last,
// hosts, addresses, count_64 (the /64s it holds), kind, embedded_ipv4 (none:
// empty, json null), reverse and zones. False when a write failed.
bool WriteBlockFacts(const Typed<Ipv4>& typed, ListFormat format, TextSink sink);
bool WriteBlockFacts(const Typed<Ipv6>& typed, ListFormat format, TextSink sink);
