#include "calc/summarize.hpp"

#include <algorithm>
#include <cstring>

#include "calc/output_buffer.hpp"

namespace {

bool IsSeparator(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ',';
}

std::string ReadSpan(const char* at, const char* end, AddressSpan& span) {
  const char* dash =
      static_cast<const char*>(std::memchr(at, '-', static_cast<std::size_t>(end - at)));
  if (dash == nullptr) {
    CidrBlock block;
    const std::string problem = ReadNetworkBlock(at, end, block);
    span = AddressSpan{block.network, BroadcastOf(block)};
    return problem;
  }
  if (!ReadDottedAddress(at, dash, span.first) || !ReadDottedAddress(dash + 1, end, span.last)) {
    return "not a range of two IPv4 addresses";
  }
  return span.first <= span.last ? "" : "the range ends before it starts";
}

}  // namespace

std::string ReadSummaryTokens(const std::string& text, std::vector<AddressSpan>& spans) {
  int64_t line = 1;
  const char* end = text.data() + text.size();
  for (const char* at = text.data(); at != end;) {
    if (IsSeparator(*at)) {
      line += *at++ == '\n' ? 1 : 0;
      continue;
    }
    const char* tokenEnd = at;
    while (tokenEnd != end && !IsSeparator(*tokenEnd))
      ++tokenEnd;
    AddressSpan span;
    const std::string problem = ReadSpan(at, tokenEnd, span);
    if (!problem.empty()) return TokenRefusal("line", line, std::string(at, tokenEnd), problem);
    spans.push_back(span);
    at = tokenEnd;
  }
  return std::string();
}

std::vector<CidrBlock> Summarize(std::vector<AddressSpan> spans) {
  std::sort(spans.begin(), spans.end(),
            [](const AddressSpan& a, const AddressSpan& b) { return a.first < b.first; });
  std::vector<CidrBlock> blocks;
  for (std::size_t i = 0; i < spans.size();) {
    // Merge every span that overlaps or touches the one being grown.
    const HostOrderAddress first = spans[i].first;
    uint64_t last = spans[i].last;
    for (++i; i < spans.size() && spans[i].first <= last + 1; ++i)
      last = std::max<uint64_t>(last, spans[i].last);
    AppendRangeBlocks(first, static_cast<HostOrderAddress>(last), blocks);
  }
  return blocks;
}

bool WriteSummary(const std::vector<CidrBlock>& blocks, ListFormat format, TextSink sink) {
  static const char* const names[] = {"network", "prefix", "first", "last", "addresses"};
  OutputBuffer out(sink);
  if (format == ListFormat::Text) {
    for (const CidrBlock& block : blocks) {
      char* at = WriteCell(Reserve(out, CellRoom + 1), BlockCell(block.network, block.prefix));
      *at++ = '\n';
      Commit(out, at);
    }
    return Finish(out);
  }
  BeginTable(out, names, 5, format);
  for (const CidrBlock& block : blocks) {
    const RecordCell cells[] = {AddressCell(block.network),
                                NumberCell(static_cast<uint64_t>(block.prefix)),
                                AddressCell(block.network), AddressCell(BroadcastOf(block)),
                                NumberCell(BlockAddresses(block.prefix))};
    TableRow(out, names, cells, 5, format, &block == blocks.data());
  }
  EndTable(out, format, !blocks.empty());
  return Finish(out);
}
