// What a block's addresses are for, from the IANA special-purpose address
// registries of each family; a change to a registry is one edit of its table.
#pragma once

#include "net/family.hpp"

// IPv4: private, shared, loopback, link-local, multicast, documentation,
// reserved or public. IPv6: unspecified, loopback, ipv4-mapped,
// ipv4-translation, discard, teredo, benchmarking, orchid, documentation,
// 6to4, segment-routing, unique-local, link-local, multicast, global-unicast
// or reserved. Either: mixed for a block that holds more than one kind.
const char* BlockKind(const Block<Ipv4>& block);
const char* BlockKind(const Block<Ipv6>& block);
