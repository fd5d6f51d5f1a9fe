#include "calc/output.hpp"

#include <algorithm>
#include <cstring>

#include "calc/dotted.hpp"
#include "calc/output_buffer.hpp"

namespace {

// Room for one name and the punctuation around it in a record or a header.
constexpr std::size_t NameRoom = 96;

bool IsQuoted(const RecordCell& cell) {
  return cell.kind != CellKind::Number;
}

char Separator(ListFormat format) {
  return format == ListFormat::Tsv ? '\t' : ',';
}

// text: each value in the column after the longest name and two blanks.
void RecordLines(OutputBuffer& out, const char* const names[], const RecordCell cells[],
                 int count) {
  std::size_t width = 0;
  for (int i = 0; i < count; ++i)
    width = std::max(width, std::strlen(names[i]));
  for (int i = 0; i < count; ++i) {
    char* at = Reserve(out, width + 2 + CellRoom + 1);
    const std::size_t length = std::strlen(names[i]);
    std::memcpy(at, names[i], length);
    std::memset(at + length, ' ', width + 2 - length);
    at = WriteCell(at + width + 2, cells[i]);
    *at++ = '\n';
    Commit(out, at);
  }
}

// json: one object; `close` ends it.
void RecordObject(OutputBuffer& out, const char* const names[], const RecordCell cells[], int count,
                  const char* close) {
  for (int i = 0; i < count; ++i) {
    char* at = Reserve(out, NameRoom + CellRoom);
    at = Append(at, i == 0 ? "{\"" : ", \"");
    at = Append(at, names[i]);
    at = Append(at, IsQuoted(cells[i]) ? "\": \"" : "\": ");
    at = WriteCell(at, cells[i]);
    if (IsQuoted(cells[i])) *at++ = '"';
    Commit(out, at);
  }
  Commit(out, Append(Reserve(out, 2), close));
}

}  // namespace

OutputBuffer::OutputBuffer(TextSink target)
    : sink(target), block(new char[OutputBufferSize]), data(block.get()) {}

void FlushOutput(OutputBuffer& out) {
  if (out.used == 0) return;
  if (out.sink.file == nullptr) {
    out.sink.text->append(out.data, out.used);
  } else if (std::fwrite(out.data, 1, out.used, out.sink.file) != out.used) {
    out.failed = true;
  }
  out.used = 0;
}

void Put(OutputBuffer& out, const std::string& text) {
  for (std::size_t done = 0; done < text.size();) {
    const std::size_t part = std::min<std::size_t>(text.size() - done, 4096);
    char* at = Reserve(out, part);
    std::memcpy(at, text.data() + done, part);
    Commit(out, at + part);
    done += part;
  }
}

bool Finish(OutputBuffer& out) {
  FlushOutput(out);
  return !out.failed && (out.sink.file == nullptr || std::fflush(out.sink.file) == 0);
}

char* WriteCell(char* at, const RecordCell& cell) {
  switch (cell.kind) {
    case CellKind::Address:
      return WriteDotted(at, cell.address);
    case CellKind::Block:
      at = WriteDotted(at, cell.address);
      *at++ = '/';
      return WriteDecimal(at, cell.number);
    case CellKind::Word: {
      // Words are short names; one longer than a cell is cut, never overrun.
      const std::size_t length = std::min(std::strlen(cell.word), CellRoom);
      std::memcpy(at, cell.word, length);
      return at + length;
    }
    case CellKind::Number:
      break;
  }
  return WriteDecimal(at, cell.number);
}

RecordCell NumberCell(uint64_t number) {
  RecordCell cell;
  cell.number = number;
  return cell;
}

RecordCell AddressCell(HostOrderAddress address) {
  RecordCell cell;
  cell.kind = CellKind::Address;
  cell.address = address;
  return cell;
}

RecordCell BlockCell(HostOrderAddress network, int prefix) {
  RecordCell cell;
  cell.kind = CellKind::Block;
  cell.address = network;
  cell.number = static_cast<uint64_t>(prefix);
  return cell;
}

RecordCell WordCell(const char* word) {
  RecordCell cell;
  cell.kind = CellKind::Word;
  cell.word = word;
  return cell;
}

void BeginTable(OutputBuffer& out, const char* const names[], int count, ListFormat format) {
  if (format == ListFormat::Json) {
    Commit(out, Append(Reserve(out, 2), "[\n"));
    return;
  }
  for (int i = 0; i < count; ++i) {
    char* at = Reserve(out, NameRoom);
    if (i > 0) *at++ = Separator(format);
    Commit(out, Append(at, names[i]));
  }
  Commit(out, Append(Reserve(out, 1), "\n"));
}

void TableRow(OutputBuffer& out, const char* const names[], const RecordCell cells[], int count,
              ListFormat format, bool firstRow) {
  if (format != ListFormat::Json) {
    for (int i = 0; i < count; ++i) {
      char* at = Reserve(out, CellRoom + 2);
      if (i > 0) *at++ = Separator(format);
      Commit(out, WriteCell(at, cells[i]));
    }
    Commit(out, Append(Reserve(out, 1), "\n"));
    return;
  }
  // One object per line; the comma goes before every object but the first.
  Commit(out, Append(Reserve(out, 4), firstRow ? "  " : ",\n  "));
  RecordObject(out, names, cells, count, "}");
}

void EndTable(OutputBuffer& out, ListFormat format, bool anyRow) {
  if (format == ListFormat::Json) Commit(out, Append(Reserve(out, 3), anyRow ? "\n]\n" : "]\n"));
}

bool WriteRecord(const char* const names[], const RecordCell cells[], int count, ListFormat format,
                 TextSink sink) {
  OutputBuffer out(sink);
  switch (format) {
    case ListFormat::Tsv:
    case ListFormat::Csv:
      BeginTable(out, names, count, format);
      TableRow(out, names, cells, count, format, true);
      break;
    case ListFormat::Json:
      RecordObject(out, names, cells, count, "}\n");
      break;
    case ListFormat::Text:
      RecordLines(out, names, cells, count);
      break;
  }
  return Finish(out);
}
