#include "net/summarize.hpp"

#include "net/block.hpp"
#include "net/output_buffer.hpp"

namespace {

const char* const Names[] = {"network", "prefix", "first", "last", "addresses"};
constexpr int Columns = 5;

}  // namespace

BlockWriter::BlockWriter(ListFormat format, TextSink sink)
    : out_(new OutputBuffer(sink)), format_(format) {
  if (format != ListFormat::Text) BeginTable(*out_, Names, Columns, format);
}

BlockWriter::~BlockWriter() = default;

template <class F>
void BlockWriter::AddBlock(const Block<F>& block) {
  OutputBuffer& out = *out_;
  ++rows_;
  if (format_ == ListFormat::Text) {
    char* at = WriteBlock(Reserve(out, CellRoom + 1), block);
    *at++ = '\n';
    Commit(out, at);
    return;
  }
  const RecordCell cells[] = {AddressCell(block.network),
                              NumberCell(static_cast<uint64_t>(block.prefix)),
                              AddressCell(block.network), AddressCell(LastOf(block)),
                              NumberCell(AddressesIn<F>(block.prefix))};
  TableRow(out, Names, cells, Columns, format_, firstRow_);
  firstRow_ = false;
}

template <class F>
void BlockWriter::AddSpan(const Span<F>& span) {
  // At most two blocks a bit: the vector stops growing after the first spans.
  std::vector<Block<F>>& blocks = std::get<std::vector<Block<F>>>(blocks_);
  blocks.clear();
  AppendRangeBlocks<F>(span.first, span.last, blocks);
  for (const Block<F>& block : blocks)
    AddBlock(block);
}

bool BlockWriter::Finish(const std::string& textLine) {
  if (format_ != ListFormat::Text) {
    EndTable(*out_, format_, !firstRow_);
  } else if (!textLine.empty()) {
    Put(*out_, textLine + "\n");
  }
  return ::Finish(*out_);
}

template void BlockWriter::AddSpan<Ipv4>(const Span<Ipv4>&);
template void BlockWriter::AddSpan<Ipv6>(const Span<Ipv6>&);
template void BlockWriter::AddBlock<Ipv4>(const Block<Ipv4>&);
template void BlockWriter::AddBlock<Ipv6>(const Block<Ipv6>&);

bool WriteSummary(const AddressSpans& merged, ListFormat format, TextSink sink,
                  BlockCounts* counts) {
  BlockWriter writer(format, sink);
  for (const Span<Ipv4>& span : merged.ipv4)
    writer.AddSpan(span);
  const uint64_t ipv4 = writer.Rows();
  for (const Span<Ipv6>& span : merged.ipv6)
    writer.AddSpan(span);
  if (counts != nullptr) *counts = BlockCounts{ipv4, writer.Rows() - ipv4};
  return writer.Finish();
}
