// Summarizing: the fewest CIDR blocks that cover exactly the union of a list
// of blocks, addresses and ranges.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "calc/cidr.hpp"
#include "calc/output.hpp"

// The addresses first .. last, both inclusive.
struct AddressSpan {
  HostOrderAddress first = 0;
  HostOrderAddress last = 0;
};

// Reads the tokens of `text`, separated by white space or commas: networks
// ("a.b.c.d/n" or "a.b.c.d/m.m.m.m", no host bits set), single addresses and
// inclusive ranges "a.b.c.d-e.f.g.h". Appends one span per token. Returns the
// empty text, or the refusal of the first bad token with its line ("line 3:
// '10.0.0.300/24': not an IPv4 address").
std::string ReadSummaryTokens(const std::string& text, std::vector<AddressSpan>& spans);

// The fewest blocks that cover exactly the union of the spans, in address
// order. O(n log n).
std::vector<CidrBlock> Summarize(std::vector<AddressSpan> spans);

// Writes the blocks: text as one "a.b.c.d/n" per line; tsv, csv (with a
// header line) and json (an array of objects) with the columns network (a bare
// dotted address), prefix, first, last and addresses. False when a write failed.
bool WriteSummary(const std::vector<CidrBlock>& blocks, ListFormat format, TextSink sink);
