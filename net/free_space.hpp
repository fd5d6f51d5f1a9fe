// The free space of a block: what a list of blocks, addresses and ranges
// leaves of it. The address sets write it; the block calculator shows it.
#pragma once

#include <string>

#include "net/family.hpp"
#include "net/output.hpp"

// Writes the parts of `block` that no entry of `listText` covers (entries as
// ReadAddressList reads them; those of the other family cover nothing), as
// the fewest blocks in address order, in `format` as velkor prints free
// space: tsv and csv a header line (network, prefix, first, last, addresses)
// and a line per block. `useLine` gets the block's use as the window's status
// shows it: "Used 196 of 256 addresses (76%), 4 free blocks". Returns the
// empty text, or the refusal of the list's first bad entry ("line 3:
// '10.0.0.300/24': not an IPv4 address").
std::string WriteFreeSpace(const AnyBlock& block, const std::string& listText, ListFormat format,
                           TextSink sink, std::string& useLine);
