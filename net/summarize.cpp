#include "net/summarize.hpp"

#include "net/block.hpp"
#include "net/output_buffer.hpp"

namespace {

template <class F>
void WriteTextLines(OutputBuffer& out, const std::vector<Block<F>>& blocks) {
  for (const Block<F>& block : blocks) {
    char* at = WriteBlock(Reserve(out, CellRoom + 1), block);
    *at++ = '\n';
    Commit(out, at);
  }
}

template <class F>
void WriteRows(OutputBuffer& out, const std::vector<Block<F>>& blocks, ListFormat format,
               bool& firstRow) {
  static const char* const names[] = {"network", "prefix", "first", "last", "addresses"};
  for (const Block<F>& block : blocks) {
    const RecordCell cells[] = {AddressCell(block.network),
                                NumberCell(static_cast<uint64_t>(block.prefix)),
                                AddressCell(block.network), AddressCell(LastOf(block)),
                                NumberCell(AddressesIn<F>(block.prefix))};
    TableRow(out, names, cells, 5, format, firstRow);
    firstRow = false;
  }
}

}  // namespace

BlockLists Summarize(AddressSpans& spans) {
  MergeSpans(spans.ipv4);
  MergeSpans(spans.ipv6);
  return BlockLists{BlocksOfSpans(spans.ipv4), BlocksOfSpans(spans.ipv6)};
}

bool WriteSummary(const BlockLists& blocks, ListFormat format, TextSink sink) {
  static const char* const names[] = {"network", "prefix", "first", "last", "addresses"};
  OutputBuffer out(sink);
  if (format == ListFormat::Text) {
    WriteTextLines(out, blocks.ipv4);
    WriteTextLines(out, blocks.ipv6);
    return Finish(out);
  }
  BeginTable(out, names, 5, format);
  bool firstRow = true;
  WriteRows(out, blocks.ipv4, format, firstRow);
  WriteRows(out, blocks.ipv6, format, firstRow);
  EndTable(out, format, !firstRow);
  return Finish(out);
}
