#include "net/output.hpp"

#include <algorithm>
#include <cstring>

#include "net/address_text.hpp"
#include "net/block.hpp"
#include "net/decimal.hpp"
#include "net/output_buffer.hpp"

namespace {

// Room for one name and the punctuation around it in a record or a header.
constexpr std::size_t NameRoom = 96;

char Separator(ListFormat format) {
  return format == ListFormat::Tsv ? '\t' : ',';
}

// json: Words as ["a", "b"].
void PutWordArray(OutputBuffer& out, const char* words) {
  Commit(out, Append(Reserve(out, 1), "["));
  for (const char* at = words; *at != '\0';) {
    const char* end = std::strchr(at, ' ');
    if (end == nullptr) end = at + std::strlen(at);
    Commit(out, Append(Reserve(out, 3), at == words ? "\"" : ", \""));
    Put(out, std::string(at, end));
    Commit(out, Append(Reserve(out, 1), "\""));
    at = *end == ' ' ? end + 1 : end;
  }
  Commit(out, Append(Reserve(out, 1), "]"));
}

// text: each value in the column after the longest name and two blanks; an
// empty value leaves the name alone on its line.
void RecordLines(OutputBuffer& out, const char* const names[], const RecordCell cells[],
                 int count) {
  std::size_t width = 0;
  for (int i = 0; i < count; ++i)
    width = std::max(width, std::strlen(names[i]));
  for (int i = 0; i < count; ++i) {
    const bool empty = cells[i].kind == CellKind::Empty;
    char* at = Reserve(out, width + 2);
    const std::size_t length = std::strlen(names[i]);
    std::memcpy(at, names[i], length);
    std::memset(at + length, ' ', width + 2 - length);
    Commit(out, empty ? at + length : at + width + 2);
    PutCell(out, cells[i], ListFormat::Text);
    Commit(out, Append(Reserve(out, 1), "\n"));
  }
}

// json: one object; `close` ends it.
void RecordObject(OutputBuffer& out, const char* const names[], const RecordCell cells[], int count,
                  const char* close) {
  for (int i = 0; i < count; ++i) {
    char* at = Reserve(out, NameRoom);
    at = Append(at, i == 0 ? "{\"" : ", \"");
    at = Append(at, names[i]);
    Commit(out, Append(at, "\": "));
    PutCell(out, cells[i], ListFormat::Json);
  }
  Commit(out, Append(Reserve(out, 2), close));
}

RecordCell CellOf(CellKind kind) {
  RecordCell cell;
  cell.kind = kind;
  return cell;
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
    case CellKind::Ipv4Address:
      return WriteDotted(at, static_cast<uint32_t>(cell.address));
    case CellKind::Ipv6Address:
      return WriteIpv6(at, cell.address);
    case CellKind::Ipv4Block:
      return WriteBlock(at, Block<Ipv4>{static_cast<uint32_t>(cell.address), cell.prefix});
    case CellKind::Ipv6Block:
      return WriteBlock(at, Block<Ipv6>{cell.address, cell.prefix});
    case CellKind::Word:
    case CellKind::Words: {
      // Words are short names; one longer than a cell is cut, never overrun.
      const std::size_t length = std::min(std::strlen(cell.word), CellRoom);
      std::memcpy(at, cell.word, length);
      return at + length;
    }
    case CellKind::Empty:
      return at;
    case CellKind::Number:
      break;
  }
  return WriteDecimal(at, cell.number);
}

void PutCell(OutputBuffer& out, const RecordCell& cell, ListFormat format) {
  const bool json = format == ListFormat::Json;
  if (cell.kind == CellKind::Words) {
    if (json) return PutWordArray(out, cell.word);
    return Put(out, cell.word);
  }
  if (json && cell.kind == CellKind::Empty) return Commit(out, Append(Reserve(out, 4), "null"));
  const bool quoted = json && cell.kind != CellKind::Number;
  char* at = Reserve(out, CellRoom + 2);
  if (quoted) *at++ = '"';
  at = WriteCell(at, cell);
  if (quoted) *at++ = '"';
  Commit(out, at);
}

RecordCell NumberCell(const AddressCount& number) {
  RecordCell cell;
  cell.number = number;
  return cell;
}

RecordCell AddressCell(uint32_t address) {
  RecordCell cell = CellOf(CellKind::Ipv4Address);
  cell.address = address;
  return cell;
}

RecordCell AddressCell(const Uint128& address) {
  RecordCell cell = CellOf(CellKind::Ipv6Address);
  cell.address = address;
  return cell;
}

RecordCell BlockCell(const Block<Ipv4>& block) {
  RecordCell cell = CellOf(CellKind::Ipv4Block);
  cell.address = block.network;
  cell.prefix = block.prefix;
  return cell;
}

RecordCell BlockCell(const Block<Ipv6>& block) {
  RecordCell cell = CellOf(CellKind::Ipv6Block);
  cell.address = block.network;
  cell.prefix = block.prefix;
  return cell;
}

RecordCell WordCell(const char* word) {
  RecordCell cell = CellOf(CellKind::Word);
  cell.word = word;
  return cell;
}

RecordCell WordsCell(const char* words) {
  RecordCell cell = CellOf(CellKind::Words);
  cell.word = words;
  return cell;
}

RecordCell EmptyCell() {
  return CellOf(CellKind::Empty);
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
      if (i > 0) Commit(out, Append(Reserve(out, 1), format == ListFormat::Tsv ? "\t" : ","));
      PutCell(out, cells[i], format);
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

std::string UsedLine(const AddressCount& used, int hostBits) {
  return "used " + DecimalText(used) + " of " + DecimalText(PowerOfTwo(hostBits)) + " addresses (" +
         std::to_string(PercentOf(used, hostBits)) + "%)";
}

std::string UseStatus(const AddressCount& used, int hostBits, uint64_t freeBlocks) {
  return "Used " + GroupedDecimal(used) + " of " + GroupedDecimal(PowerOfTwo(hostBits)) +
         " addresses (" + std::to_string(PercentOf(used, hostBits)) + "%), " +
         std::to_string(freeBlocks) + (freeBlocks == 1 ? " free block" : " free blocks");
}
